#pragma once
// The command line the lobby hands to the table client: thirteen fields, each ended by "$",
// passed as one argument. Also the two window titles both programs derive from the fields.
// Header-only so the unit tests can check it against the client's own reader.

#include <QString>
#include <QStringList>
#include <array>

namespace sorvik::lobby {

// The lobby's fixed title; the client looks for it unless custom titles are on.
inline QString DefaultLobbyTitle() { return QStringLiteral("Morvel山庄"); }
// The client's caption unless custom titles are on.
inline QString DefaultClientTitle() { return QStringLiteral("Sorvik"); }

// The fields as text, in command-line order. Numbers stay text so that a tester can also
// hand the client values it must refuse.
struct ClientFields {
    QString userName;
    QString loginKey;
    QString serverHost;
    QString serverPort;
    QString locationText;
    QString proxyType;
    QString proxyHost;
    QString proxyPort;
    QString proxyUser;
    QString proxyPassword;
    bool customTitles = false;
    QString lobbyTitle;
    QString tableCaption;
};

inline constexpr int kFieldCount = 13;

inline const std::array<const char*, kFieldCount>& FieldNames() {
    static const std::array<const char*, kFieldCount> names = {
        "user name",          "login key",   "server host",  "server port", "location text",
        "proxy type",         "proxy host",  "proxy port",   "proxy user",  "proxy password",
        "custom-titles flag", "lobby title", "table caption"};
    return names;
}

// The fields in order. With `masked`, a non-empty login key or proxy password reads "***",
// so the line can be shown or logged.
inline QStringList FieldTexts(const ClientFields& f, bool masked = false) {
    const auto hide = [masked](const QString& secret) {
        return masked && !secret.isEmpty() ? QStringLiteral("***") : secret;
    };
    return {f.userName,
            hide(f.loginKey),
            f.serverHost,
            f.serverPort,
            f.locationText,
            f.proxyType,
            f.proxyHost,
            f.proxyPort,
            f.proxyUser,
            hide(f.proxyPassword),
            f.customTitles ? QStringLiteral("1") : QStringLiteral("0"),
            f.lobbyTitle,
            f.tableCaption};
}

inline QString JoinFields(const QStringList& fields) {
    QString line;
    for (const QString& field : fields) line += field + u'$';
    return line;
}

inline QString BuildClientCommandLine(const ClientFields& f) { return JoinFields(FieldTexts(f)); }

inline QString MaskedClientCommandLine(const ClientFields& f) {
    return JoinFields(FieldTexts(f, true));
}

// The 1-based number of the first field holding a "$" (the line cannot carry it: the client
// would split the field there), or 0 when every field can be sent.
inline int FieldWithTerminator(const ClientFields& f) {
    const QStringList fields = FieldTexts(f);
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].contains(u'$')) return i + 1;
    }
    return 0;
}

// The title the client will look the lobby up by.
inline QString LobbyWindowTitle(const ClientFields& f) {
    return f.customTitles ? f.lobbyTitle : DefaultLobbyTitle();
}

// The title the client registers its table window under.
inline QString ClientWindowTitle(const ClientFields& f) {
    return f.customTitles ? f.tableCaption : DefaultClientTitle();
}

}  // namespace sorvik::lobby
