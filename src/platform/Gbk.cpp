#include "platform/Gbk.h"

#include <cerrno>
#include <iconv.h>

namespace sorvik::gbk {
namespace {

// One pair of conversion handles for the thread, opened on first use.
struct Converters {
    iconv_t toGbk = iconv_open("GBK", "UTF-16LE");
    iconv_t fromGbk = iconv_open("UTF-16LE", "GBK");
    ~Converters() {
        if (toGbk != reinterpret_cast<iconv_t>(-1)) iconv_close(toGbk);
        if (fromGbk != reinterpret_cast<iconv_t>(-1)) iconv_close(fromGbk);
    }
};

Converters& Handles() {
    thread_local Converters converters;
    return converters;
}

constexpr char16_t kReplacement = 0xFFFD;

// Converts one complete GBK sequence (1 or 2 bytes) to one UTF-16 unit; false if invalid.
bool DecodeOne(const uint8_t* in, size_t n, char16_t& out) {
    iconv_t cd = Handles().fromGbk;
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
    size_t srcLeft = n;
    char16_t unit[2] = {0, 0};
    char* dst = reinterpret_cast<char*>(unit);
    size_t dstLeft = sizeof unit;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    if (srcLeft != 0 || dstLeft != sizeof unit - 2) return false;
    out = unit[0];
    return true;
}

}  // namespace

uint16_t CodeOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return u;
    if (c.isSurrogate()) return '?';
    iconv_t cd = Handles().toGbk;
    if (cd == reinterpret_cast<iconv_t>(-1)) return '?';
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t unit = u;
    char* src = reinterpret_cast<char*>(&unit);
    size_t srcLeft = sizeof unit;
    uint8_t bytes[4] = {0, 0, 0, 0};
    char* dst = reinterpret_cast<char*>(bytes);
    size_t dstLeft = sizeof bytes;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return '?';
    const size_t written = sizeof bytes - dstLeft;
    if (written == 1) return bytes[0];
    if (written == 2) return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
    return '?';
}

std::string Encode(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()) * 2);
    for (QChar c : text) {
        const uint16_t code = CodeOf(c);
        if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
    return out;
}

QString DecodeByte(uint8_t byte) {
    if (byte < 0x80) return QString(QChar(byte));
    char16_t u;
    return QString(QChar(DecodeOne(&byte, 1, u) ? u : kReplacement));
}

QString DecodePair(uint8_t lead, uint8_t trail) {
    const uint8_t bytes[2] = {lead, trail};
    char16_t u;
    return QString(QChar(DecodeOne(bytes, 2, u) ? u : kReplacement));
}

QString Decode(const char* bytes, size_t size) {
    QString out;
    out.reserve(static_cast<qsizetype>(size));
    const auto* p = reinterpret_cast<const uint8_t*>(bytes);
    size_t i = 0;
    while (i < size) {
        if (p[i] < 0x80) {
            out.append(QChar(p[i]));
            ++i;
            continue;
        }
        char16_t u;
        if (i + 1 < size && DecodeOne(p + i, 2, u)) {
            out.append(QChar(u));
            i += 2;
        } else {
            out.append(DecodeOne(p + i, 1, u) ? QChar(u) : QChar(kReplacement));
            ++i;
        }
    }
    return out;
}

}  // namespace sorvik::gbk
