#include "game/core/TableState.h"

#include <cmath>

#include "platform/Gbk.h"

namespace sorvik {

uint8_t BitIndex(int mask) {
    uint8_t steps = 0;
    while (mask > 1) {
        mask /= 2;
        ++steps;
    }
    return steps;
}

int TableState::PositionOfSeat(uint8_t seatByte) const {
    return (BitIndex(seatByte & 0x0F) + 4 - BitIndex(Seats[0].SeatBit)) % 4;
}

void TableState::ClearSeat(int position) {
    Seats.at(position).AccountName.clear();
    SeatProfile& p = Profiles.at(position);
    p.NickName.clear();
    p.FaceId.clear();
    p.Location.clear();
    p.LevelTitle.clear();
    p.IsMale = 0;
    p.Points = p.Credit = p.Coins = p.Extra1 = p.Extra2 = p.Extra3 = p.Extra4 = 0;
    p.Logins = p.Drops = p.Wins = p.Losses = 0;
}

int CardPictureNumber(int32_t code) {
    int rank = CardRank(code);
    if (rank == 2) rank = 15;
    return rank + 16 * BitIndex(code & 0x0F);
}

int32_t ReadCardCode(const PacketFrame& frame, int start) {
    if (frame.at(start + 3) >= 0x80) throw DispatchFault("card code out of range");
    return static_cast<int32_t>(ReadFrameNumber(frame, start, 4));
}

bool IsDrawableCardPicture(int number) {
    if (number == 16 || number == 17 || number == 18) return true;
    return number >= 0 && number <= 63 && (number & 0x0F) >= 3;
}

unsigned SortHandCodes(std::array<int32_t, 3>& codes) {
    const std::array<int32_t, 3> before = codes;
    for (int e = 0; e <= 1; ++e)
        for (int i = 1; i <= 2; ++i)
            if (CardRank(codes[e]) < CardRank(codes[i])) std::swap(codes[e], codes[i]);
    unsigned changed = 0;
    for (int e = 0; e < 3; ++e)
        if (codes[e] != before[e]) changed |= 1u << e;
    return changed;
}

namespace {

double ReadDouble(const PacketFrame& f, int start) {
    return static_cast<double>(ReadFrameNumber(f, start, 8));
}

int32_t ReadCounter(const PacketFrame& f, int start) {
    const uint64_t v = ReadFrameNumber(f, start, 4);
    if (v > 0x7FFFFFFFu) throw DispatchFault("profile counter out of range");
    return static_cast<int32_t>(v);
}

}  // namespace

void DecodeProfile(SeatProfile& p, const PacketFrame& f) {
    p.NickName = ReadFrameText(f, 16, 32, TextKind::Mixed);
    p.FaceId = ReadFrameText(f, 48, 16, TextKind::SingleByte);
    if (p.FaceId.isEmpty()) p.FaceId = QStringLiteral("m1");
    p.IsMale = f[64];
    p.Location = ReadFrameText(f, 72, 8, TextKind::Paired);
    p.Points = ReadDouble(f, 80);
    p.Credit = ReadDouble(f, 88);
    p.Coins = ReadDouble(f, 96);
    p.Extra1 = ReadDouble(f, 104);
    p.LevelTitle = ReadFrameText(f, 112, 16, TextKind::Paired);
    p.Extra2 = ReadDouble(f, 128);
    p.Extra3 = ReadDouble(f, 136);
    p.Extra4 = ReadDouble(f, 144);
    p.Logins = ReadCounter(f, 152);
    p.Drops = ReadCounter(f, 156);
    p.Wins = ReadCounter(f, 160);
    p.Losses = ReadCounter(f, 164);
    p.Account = ReadFrameText(f, 168, 16, TextKind::SingleByte);
    p.Title = ReadFrameText(f, 184, 24, TextKind::Paired);
    p.Extra5 = ReadFrameText(f, 210, 8, TextKind::SingleByte);
    p.Extra6 = ReadFrameText(f, 218, 8, TextKind::SingleByte);
    p.Extra7 = ReadDouble(f, 226);
}

QString PlainAmount(double value) {
    return QString::number(std::trunc(value), 'f', 0);
}

QString PadLeft(const QString& text, int n) {
    if (text.size() >= n) return text;
    return QString(n - text.size(), ' ') + text;
}

QStringList WrapIntoList(const QString& input, int width) {
    QStringList lines;
    QString text = input;
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) text.truncate(nul);
    const int n = static_cast<int>(text.size());
    if (n == 0) return lines;
    // 1-based walk as the list has always wrapped: the line is emitted before character i
    // is counted.
    auto chars = [&](int from, int to) { return text.mid(from - 1, to - from + 1); };
    int w = 0;
    int c = 1;
    for (int i = 1; i <= n; ++i) {
        if (i == n || w >= width) {
            if (c == 1) {
                lines << chars(c, i);
                c = i + 1;
            } else if (i == n) {
                lines << " " + chars(c, n);
                c = i;
            } else {
                lines << " " + chars(c, i - 1);
                c = i;
            }
            w = 0;
        }
        w += gbk::IsSingleByte(text[i - 1]) ? 1 : 2;
    }
    return lines;
}

}  // namespace sorvik
