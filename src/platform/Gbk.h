#pragma once
// The simplified-Chinese code page (GBK) through iconv. Encoding goes character by
// character, writing "?" for a character the code page lacks; decoding never stops at a
// bad byte.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

namespace sorvik::gbk {

// The GBK code of one character: 0..0xFF for a single byte, lead << 8 | trail for a
// double-byte one; '?' when the code page cannot represent it.
uint16_t CodeOf(QChar c);

// True when the character's code has one byte.
inline bool IsSingleByte(QChar c) { return CodeOf(c) <= 0xFF; }

// Whole text to GBK bytes.
std::string Encode(const QString& text);

// GBK bytes to text; an invalid sequence becomes U+FFFD and decoding goes on.
QString Decode(const char* bytes, size_t size);
inline QString Decode(const std::string& bytes) { return Decode(bytes.data(), bytes.size()); }

// One single-byte character, or one lead/trail pair.
QString DecodeByte(uint8_t byte);
QString DecodePair(uint8_t lead, uint8_t trail);

}  // namespace sorvik::gbk
