#include "session/core/CommandLine.h"

#include <cmath>

#include "platform/Gbk.h"

namespace sorvik {

std::optional<int16_t> ToInt16(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int16_t>(r);
}

double LeadingValue(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == '+' || t[end] == '-')) ++end;
    bool digits = false, point = false;
    while (end < t.size()) {
        if (t[end].isDigit() && t[end].unicode() < 0x80) {
            digits = true;
        } else if (t[end] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++end;
    }
    if (!digits) return 0.0;
    return t.left(end).toDouble();
}

std::optional<StartupParameters> ParseCommandLine(const QString& line,
                                                  QString* lobbyTitleRead) {
    QString rest = line.trimmed();
    auto next = [&rest](QString& field) {
        const qsizetype dollar = rest.indexOf('$');
        if (dollar < 0) return false;
        field = rest.left(dollar);
        rest = rest.mid(dollar + 1);
        return true;
    };
    auto number = [&next](int16_t& out) {
        QString field;
        if (!next(field)) return false;
        const auto value = ToInt16(field);
        if (!value) return false;
        out = *value;
        return true;
    };
    StartupParameters p;
    QString flag;
    if (!next(p.UserName) || !next(p.LoginKey) || !next(p.ServerHost) || !number(p.ServerPort) ||
        !next(p.LocationText) || !number(p.ProxyType) || !next(p.ProxyHost) ||
        !number(p.ProxyPort) || !next(p.ProxyUser) || !next(p.ProxyPassword))
        return std::nullopt;
    // Lengths are kept as unsigned bytes, as the proxy's authentication message carries them;
    // a longer text cannot be sent and fails the start.
    if (p.ProxyUser.size() > 255 || p.ProxyPassword.size() > 255) return std::nullopt;
    p.ProxyUserLength = static_cast<uint8_t>(p.ProxyUser.size());
    p.ProxyPasswordLength = static_cast<uint8_t>(p.ProxyPassword.size());
    if (!next(flag)) return std::nullopt;
    p.CustomTitles = LeadingValue(flag) == 1.0;
    if (!next(p.LobbyTitle)) return std::nullopt;
    if (lobbyTitleRead) *lobbyTitleRead = p.LobbyTitle;
    if (!next(p.TableCaption)) return std::nullopt;
    if (!rest.isEmpty()) return std::nullopt;
    return p;
}

std::optional<PacketFrame> BuildLoginFrame(const QString& userName, const QString& key) {
    if (userName.size() > 16 || key.size() > 240) return std::nullopt;
    PacketFrame frame{};
    frame[2] = 0;
    frame[3] = kLogin;
    for (int i = 0; i < userName.size(); ++i) {
        if (!gbk::IsSingleByte(userName[i])) return std::nullopt;
        frame[16 + i] = static_cast<uint8_t>(gbk::CodeOf(userName[i]));
    }
    for (int i = 0; i < key.size(); ++i) {
        if (!gbk::IsSingleByte(key[i])) return std::nullopt;
        frame[32 + i] = static_cast<uint8_t>(gbk::CodeOf(key[i]));
    }
    return frame;
}

}  // namespace sorvik
