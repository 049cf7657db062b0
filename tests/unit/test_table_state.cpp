#include <gtest/gtest.h>

#include "game/core/TableState.h"
#include "platform/Gbk.h"

using namespace sorvik;

TEST(Seats, PositionsRelativeToTheLocalSeat) {
    TableState s;
    s.Seats[0].SeatBit = 4;
    EXPECT_EQ(s.PositionOfSeat(0x08), 1);
    EXPECT_EQ(s.PositionOfSeat(0x01), 2);
    EXPECT_EQ(s.PositionOfSeat(0x02), 3);
    EXPECT_EQ(s.PositionOfSeat(0x04), 0);
    EXPECT_EQ(s.PositionOfSeat(0x18), 1);  // the high bits are ignored
}

TEST(Seats, BitIndex) {
    const int cases[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {8, 3}, {15, 3}};
    for (const auto& c : cases) EXPECT_EQ(BitIndex(c[0]), c[1]) << c[0];
}

TEST(Cards, PictureNumbersAndValidation) {
    EXPECT_EQ(CardPictureNumber(0x0E04), 46);  // ace of suit bit 4
    EXPECT_EQ(CardPictureNumber(0x0201), 15);  // a two is shown as 15
    EXPECT_EQ(CardPictureNumber(0x0D08), 13 + 48);
    for (int n : {3, 15, 16, 17, 18, 19, 63}) EXPECT_TRUE(IsDrawableCardPicture(n)) << n;
    for (int n : {0, 2, 32, 33, 50, 64, -1}) EXPECT_FALSE(IsDrawableCardPicture(n)) << n;
    PacketFrame f{};
    f[20] = 0x04;
    f[21] = 0x0E;
    EXPECT_EQ(ReadCardCode(f, 20), 0x0E04);
    f[23] = 0x80;
    EXPECT_THROW(ReadCardCode(f, 20), DispatchFault);
}

TEST(Cards, SortHandByRankHighestFirst) {
    auto card = [](int rank, int suit) { return rank << 8 | suit; };
    struct Case {
        std::array<int32_t, 3> in, out;
        unsigned changed;
    };
    const Case cases[] = {
        // 5, K(a), K(b) -> K(a), K(b), 5
        {{card(5, 1), card(13, 1), card(13, 2)}, {card(13, 1), card(13, 2), card(5, 1)}, 7},
        // K(a), K(b), A -> A, K(b), K(a): equal cards change places as the ace moves past
        {{card(13, 1), card(13, 2), card(14, 4)}, {card(14, 4), card(13, 2), card(13, 1)}, 5},
        // A, 2, 9 -> A, 9, 2: only slots 1 and 2 are redrawn
        {{card(14, 1), card(2, 1), card(9, 1)}, {card(14, 1), card(9, 1), card(2, 1)}, 6},
    };
    for (const Case& c : cases) {
        auto codes = c.in;
        EXPECT_EQ(SortHandCodes(codes), c.changed);
        EXPECT_EQ(codes, c.out);
    }
}

TEST(Profile, DecodesEveryFieldAndFaultsOnHugeCounters) {
    PacketFrame f{};
    EXPECT_NO_THROW({
        SeatProfile empty;
        DecodeProfile(empty, f);
        EXPECT_TRUE(empty.NickName.isEmpty());
        EXPECT_EQ(empty.FaceId, "m1");
    });
    const std::string nick = gbk::Encode(QString::fromUtf8("小明Z"));
    std::copy(nick.begin(), nick.end(), f.begin() + 16);
    f[48] = 'w';
    f[49] = '3';
    f[64] = 1;
    const std::string loc = gbk::Encode(QString::fromUtf8("北京"));
    std::copy(loc.begin(), loc.end(), f.begin() + 72);
    f[96] = 0x60;
    f[97] = 0xEA;  // 60000 coins
    f[160] = 7;     // wins
    const char acct[] = "bob";
    std::copy(acct, acct + 3, f.begin() + 168);
    const std::string title = gbk::Encode(QString::fromUtf8("新手"));
    std::copy(title.begin(), title.end(), f.begin() + 184);
    SeatProfile p;
    DecodeProfile(p, f);
    EXPECT_EQ(p.NickName, QString::fromUtf8("小明Z"));
    EXPECT_EQ(p.FaceId, "w3");
    EXPECT_EQ(p.IsMale, 1);
    EXPECT_EQ(p.Location, QString::fromUtf8("北京"));
    EXPECT_EQ(p.Coins, 60000.0);
    EXPECT_EQ(p.Wins, 7);
    EXPECT_EQ(p.Account, "bob");
    EXPECT_EQ(p.Title, QString::fromUtf8("新手"));
    f[167] = 0x80;  // losses above 2^31 - 1
    EXPECT_THROW(DecodeProfile(p, f), DispatchFault);
}

TEST(Texts, PadLeft) {
    EXPECT_EQ(PadLeft("7", 12), QString(11, ' ') + "7");
    EXPECT_EQ(PadLeft("abcdefghijkl", 10), "abcdefghijkl");
    EXPECT_EQ(PadLeft("", 3), "   ");
}

TEST(Texts, WrapIntoList) {
    EXPECT_EQ(WrapIntoList("abcdefgh", 20), QStringList{"abcdefgh"});
    EXPECT_TRUE(WrapIntoList("", 20).isEmpty());
    // The first line holds one character more than the width; later lines start with a space.
    EXPECT_EQ(WrapIntoList("abcdefghij", 4), (QStringList{"abcde", " fgh", " ij"}));
    // A double-byte character counts two columns.
    EXPECT_EQ(WrapIntoList(QString::fromUtf8("中文中文x"), 4), (QStringList{QString::fromUtf8("中文中"), QString::fromUtf8(" 文x")}));
    // Text after a NUL is not shown.
    EXPECT_EQ(WrapIntoList(QString("ab") + QChar(0) + "cd", 20), QStringList{"ab"});
}
