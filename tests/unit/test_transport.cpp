#include <gtest/gtest.h>

#include <iconv.h>

#include "platform/Gbk.h"
#include "session/core/Transport.h"

using namespace sorvik;

namespace {

PacketFrame Frame(uint8_t type) {
    PacketFrame f{};
    f[3] = type;
    return f;
}

std::string ViaIconv(const QString& text) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    QByteArray in = text.toUtf8();
    char* src = in.data();
    size_t left = static_cast<size_t>(in.size());
    std::string out(64, '\0');
    char* dst = out.data();
    size_t room = out.size();
    iconv(cd, &src, &left, &dst, &room);
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

}  // namespace

TEST(GbkCodec, AgreesWithIconvAndReplacesWhatGbkLacks) {
    for (const char* s : {"中", "金币不够，退出游戏！", "Morvel山庄", "abc"}) {
        const QString text = QString::fromUtf8(s);
        EXPECT_EQ(gbk::Encode(text), ViaIconv(text)) << s;
        EXPECT_EQ(gbk::Decode(gbk::Encode(text)), text) << s;
    }
    EXPECT_EQ(gbk::CodeOf(QChar(0x4E2D)), 0xD6D0);  // 中
    // Characters the code page lacks become its default character.
    EXPECT_EQ(gbk::Encode(QString::fromUtf8("a\u0E01b")), "a?b");
    EXPECT_EQ(gbk::Encode(QString::fromUtf8("\U0001F600")), "??");
    EXPECT_FALSE(gbk::IsSingleByte(QChar(0x4E2D)));
    EXPECT_TRUE(gbk::IsSingleByte(QChar('z')));
    // A bad sequence does not stop decoding.
    EXPECT_EQ(gbk::Decode(std::string("\xFF" "A", 2)), QString(QChar(0xFFFD)) + "A");
}

TEST(FrameText, ThreeInboundKinds) {
    PacketFrame f{};
    const std::string zhong = "\xD6\xD0";
    // Mixed: ASCII bytes and double-byte characters, a lead byte at the field's end alone.
    std::copy(zhong.begin(), zhong.end(), f.begin() + 16);
    f[18] = 'x';
    f[19] = 0xD6;  // last byte of a 4-byte field
    EXPECT_EQ(ReadFrameText(f, 16, 3, TextKind::Mixed), QString::fromUtf8("中x"));
    EXPECT_EQ(ReadFrameText(f, 16, 4, TextKind::Mixed).left(2), QString::fromUtf8("中x"));
    EXPECT_EQ(ReadFrameText(f, 16, 4, TextKind::Mixed).size(), 3);
    // Paired: read two bytes at a time; a zero lead ends the text.
    PacketFrame p{};
    const std::string shanghai = "\xC9\xCF\xBA\xA3";  // 上海
    std::copy(shanghai.begin(), shanghai.end(), p.begin() + 72);
    EXPECT_EQ(ReadFrameText(p, 72, 8, TextKind::Paired), QString::fromUtf8("上海"));
    // Single-byte: stops at the first zero.
    PacketFrame s{};
    s[168] = 'b';
    s[169] = 'o';
    s[170] = 0;
    s[171] = 't';
    EXPECT_EQ(ReadFrameText(s, 168, 16, TextKind::SingleByte), "bo");
}

TEST(FrameNumber, LittleEndian) {
    PacketFrame f{};
    f[80] = 0x10;
    f[81] = 0x27;  // 10000
    f[87] = 0x01;
    EXPECT_EQ(ReadFrameNumber(f, 80, 4), 10000u);
    EXPECT_EQ(ReadFrameNumber(f, 80, 8), 0x0100000000002710ull);
}

TEST(SendRing, ChatTextIsCutAndTheRestZeroed) {
    Transport t;
    PacketFrame chat = Frame(kChat);
    chat.fill(0xEE);
    chat[3] = kChat;
    // 150 characters, double-byte first: 100 of them fit.
    t.PendingChatText = QString(50, QChar(0x4E2D)) + QString(100, 'a');
    ASSERT_TRUE(t.SendFrame(chat));
    EXPECT_TRUE(t.PendingChatText.isEmpty());
    PacketFrame out;
    ASSERT_TRUE(t.TakeOutboundFrame(out));
    EXPECT_EQ(out[16], 0xD6);
    EXPECT_EQ(out[17], 0xD0);  // lead byte first
    for (int i = 116; i < 166; ++i) EXPECT_EQ(out[i], 'a') << i;  // 50 ASCII of the 100 kept
    for (int i = 166; i < kFrameSize; ++i) ASSERT_EQ(out[i], 0) << i;

    t.PendingChatText = QStringLiteral("abc");
    PacketFrame abc = Frame(kChat);
    ASSERT_TRUE(t.SendFrame(abc));
    ASSERT_TRUE(t.TakeOutboundFrame(out));
    EXPECT_EQ(out[16], 'a');
    EXPECT_EQ(out[18], 'c');
    EXPECT_EQ(out[19], 0);
}

TEST(SendRing, EmptyChatQueuesNothingAndLeavesTheSlot) {
    Transport t;
    PacketFrame chat = Frame(kChat);
    EXPECT_FALSE(t.SendFrame(chat));
    EXPECT_EQ(t.SendRing.Pending(), 0);
    EXPECT_FALSE(t.Slots.SendSlot.Armed);
}

TEST(SendRing, HoldsAtMost127FramesAndRefusesMore) {
    Transport t;
    for (int i = 0; i < kMaxPendingFrames; ++i) {
        PacketFrame f = Frame(kKeepAlive);
        f[9] = static_cast<uint8_t>(i);
        ASSERT_TRUE(t.SendFrame(f)) << i;
    }
    PacketFrame extra = Frame(kActionFrame);
    EXPECT_FALSE(t.SendFrame(extra));
    PacketFrame out;
    for (int i = 0; i < kMaxPendingFrames; ++i) {
        ASSERT_TRUE(t.TakeOutboundFrame(out));
        ASSERT_EQ(out[9], i);  // nothing was overwritten, order kept
    }
    EXPECT_FALSE(t.TakeOutboundFrame(out));
}

TEST(ReceiveRing, CutsTheStreamEvery272Bytes) {
    Transport t;
    std::vector<uint8_t> block(300);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(t.AppendInbound(block.data(), block.size()), AppendResult::Stored);
    EXPECT_TRUE(t.Slots.ReceiveSlot.Armed);
    ASSERT_TRUE(t.TakeInboundFrame());
    EXPECT_EQ(t.InboundFrame[271], 271 % 256);
    EXPECT_EQ(t.ReceiveRing.Pending(), 28);
    EXPECT_FALSE(t.TakeInboundFrame());
    std::vector<uint8_t> rest(244, 0x5A);
    t.AppendInbound(rest.data(), rest.size());
    ASSERT_TRUE(t.TakeInboundFrame());
    EXPECT_EQ(t.InboundFrame[0], 272 % 256);  // the 28 carried-over bytes come first
    EXPECT_EQ(t.InboundFrame[28], 0x5A);
    EXPECT_EQ(t.ReceiveRing.Pending(), 0);
}

TEST(ReceiveRing, OverflowsWhenTheWriterCatchesTheReader) {
    Transport t;
    std::vector<uint8_t> bytes(kRingSize - 1, 1);
    ASSERT_EQ(t.AppendInbound(bytes.data(), bytes.size()), AppendResult::Stored);
    EXPECT_EQ(t.ReceiveRing.Pending(), 34815);
    const uint8_t one = 2;
    EXPECT_EQ(t.AppendInbound(&one, 1), AppendResult::Overflow);

    Transport h;  // the handshake buffer the same way, at 1024
    h.RingReceive = false;
    std::vector<uint8_t> hs(kHandshakeSize - 1, 1);
    EXPECT_EQ(h.AppendInbound(hs.data(), hs.size()), AppendResult::Stored);
    EXPECT_FALSE(h.Slots.ReceiveSlot.Armed);
    EXPECT_EQ(h.AppendInbound(&one, 1), AppendResult::Overflow);
}

TEST(Rings, ResetAndPartialDrop) {
    Transport t;
    std::vector<uint8_t> bytes(2 * kFrameSize + 100, 7);
    t.AppendInbound(bytes.data(), bytes.size());
    PacketFrame f = Frame(kKeepAlive);
    t.SendFrame(f);
    t.DropPartialInbound();
    EXPECT_EQ(t.ReceiveRing.Pending(), 2 * kFrameSize);  // whole frames stay
    t.ResetRings();
    EXPECT_EQ(t.ReceiveRing.Pending(), 0);
    EXPECT_EQ(t.SendRing.Pending(), 0);
}
