#pragma once
// The lobby's command line: thirteen "$"-terminated fields.

#include <QString>
#include <cstdint>
#include <optional>

#include "session/core/Transport.h"

namespace sorvik {

struct StartupParameters {
    QString UserName;
    QString LoginKey;
    QString ServerHost;
    int16_t ServerPort = 0;
    QString LocationText;
    int16_t ProxyType = 0;
    QString ProxyHost;
    int16_t ProxyPort = 0;
    QString ProxyUser;
    QString ProxyPassword;
    uint8_t ProxyUserLength = 0;
    uint8_t ProxyPasswordLength = 0;
    bool CustomTitles = false;
    QString LobbyTitle;
    QString TableCaption;
};

// Reads the fields in order, converting each as it is read; nullopt when the line does not
// hold exactly 13 "$"-terminated fields or a numeric field does not convert. When field 12
// was reached before the failure, `lobbyTitleRead` receives it, so the failure can still
// hand the screen back to the lobby.
std::optional<StartupParameters> ParseCommandLine(const QString& line,
                                                  QString* lobbyTitleRead = nullptr);

// Whole-number conversion of a text as a 16-bit signed value, rounding halves to even;
// nullopt when the text is empty, not a number, or out of range.
std::optional<int16_t> ToInt16(const QString& text);
// The leading numeric value of a text (0 when there is none), as the lenient flag reads it.
double LeadingValue(const QString& text);

// The login frame: byte 3 = 18, the user name from byte 16, the key from byte 32, one
// byte per character; nullopt when a character has no single-byte code or a text does not
// fit its room (16 bytes for the name, 240 for the key).
std::optional<PacketFrame> BuildLoginFrame(const QString& userName, const QString& key);

}  // namespace sorvik
