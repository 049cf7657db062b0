#pragma once
// Readable names of the window messages exchanged with the table client, for the lobby's log.
// The same code means different things in the two directions.

#include <QString>
#include <cstdint>

#include "platform/LobbyLink.h"

namespace sorvik::lobby {

inline QString SystemCommandName(uint32_t wParam) {
    if (wParam == kScRestore) return QStringLiteral("restore");
    if (wParam == kScMinimize) return QStringLiteral("minimise");
    return "0x" + QString::number(wParam, 16).toUpper().rightJustified(4, u'0');
}

// Parameters are shown only when the sender set them; every known message carries zeros.
inline QString WithParameters(QString text, uint32_t wParam, uint32_t lParam) {
    if (wParam != 0 || lParam != 0) {
        text += QStringLiteral(" (wParam %1, lParam %2)").arg(wParam).arg(lParam);
    }
    return text;
}

// A message the client posted to the lobby.
inline QString DescribeReceived(uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (message == kWmSysCommand) {
        return WithParameters("system command " + SystemCommandName(wParam), 0, lParam);
    }
    QString meaning;
    switch (message) {
    case 22: meaning = QStringLiteral("waiting for a connection (or login refused)"); break;
    case 771: meaning = QStringLiteral("connected / login accepted"); break;
    case 1024: meaning = QStringLiteral("not playing, client leaving"); break;
    case 1125: meaning = QStringLiteral("a hand is being played"); break;
    case 1126: meaning = QStringLiteral("connected, login not answered yet"); break;
    case 1127: meaning = QStringLiteral("a hand has started"); break;
    default: meaning = QStringLiteral("unknown message"); break;
    }
    return WithParameters(QString::number(message) + u' ' + meaning, wParam, lParam);
}

// An order the lobby posts to the client (always with zero parameters).
inline QString DescribeOrder(uint32_t message, uint32_t wParam = 0) {
    if (message == kWmSysCommand) return "system command " + SystemCommandName(wParam);
    switch (message) {
    case 22: return QStringLiteral("22 reconnect now");
    case 771: return QStringLiteral("771 status query with implied exit");
    case 1024: return QStringLiteral("1024 exit now");
    case 1125: return QStringLiteral("1125 status query");
    default: return QString::number(message);
    }
}

}  // namespace sorvik::lobby
