#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "ClientHarness.h"
#include "chat/ChatWindows.h"
#include "platform/Gbk.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Logged in as seat 4 ("我"); "左" at seat 8 (position 1), "上" at 1 (2), "右" at 2 (3).
struct ChatTable : ClientHarness {
    explicit ChatTable(const char* phraseFile = nullptr) {
        desktop.folder = dir.path();
        if (phraseFile) {
            QFile f(dir.filePath("chat.ini"));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(gbk::Encode(U(phraseFile))));
        }
        EXPECT_TRUE(Start());
        LogIn();
        for (const Player& p : {Player{4, "me", U("我"), "m2"}, Player{8, "left", U("左"), "w3"},
                                Player{1, "top", U("上"), "m10"}, Player{2, "right", U("右"), "m11"}})
            EXPECT_TRUE(Call([&] { client->DispatchFrame(UserInfoFrame(4, p)); }));
        Run(0.2);
        sentBefore = socket.FramesOfType(kChat).size();
    }
    MainForm& f() { return client->form(); }
    void Key(QWidget* w, int key, const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &e);
    }
    void Type(const QString& text) {
        for (QChar c : text) Key(f().Chat, 0, QString(c));
    }
    void Enter() { Key(f().Chat, Qt::Key_Return); }
    // The chat frames sent since the table filled, after the pump has sent them.
    std::vector<PacketFrame> Sent() {
        Run(0.3);
        auto all = socket.FramesOfType(kChat);
        return {all.begin() + static_cast<long>(sentBefore), all.end()};
    }
    static QString Text(const PacketFrame& fr) { return ReadFrameText(fr, 16, 200, TextKind::Mixed); }
    // A relayed chat frame as the server sends it.
    static PacketFrame Relay(uint8_t from, uint8_t to, const QString& text) {
        PacketFrame fr = ServerFrame(kChat);
        fr[6] = from;
        fr[11] = to;
        WriteFrameText(fr, 16, text);
        return fr;
    }
    void Receive(const PacketFrame& fr) { EXPECT_TRUE(Call([&] { client->DispatchFrame(fr); })); }
    QStringList History() { return client->Talk().Text1->Items(); }
    QTemporaryDir dir;
    size_t sentBefore = 0;
};

}  // namespace

TEST(ChatSending, EnterIsLimitedToOneLineIn800MsAndTheButtonIsNot) {
    ChatTable h;
    h.Type("hi");
    h.Enter();  // at 0 s
    EXPECT_TRUE(h.f().Chat->text().isEmpty());
    auto sent = h.Sent();  // 0.3 s
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ChatTable::Text(sent[0]), U("我说道： hi"));
    EXPECT_EQ(sent[0][6], 4);
    EXPECT_EQ(sent[0][11], 0);
    h.Run(0.2);
    h.Type("again");
    h.Enter();  // 0.5 s: too soon
    EXPECT_EQ(h.History().value(0), U("（发送消息太快！）"));
    EXPECT_TRUE(h.f().Chat->text().isEmpty());  // the typed text is dropped
    EXPECT_EQ(h.Sent().size(), 1u);             // 0.8 s
    // The send button ignores the limit.
    h.Type("btn");
    emit h.f().AnNiu[0]->clicked();
    EXPECT_EQ(h.Sent().size(), 2u);
    // From 0.8 s after the first, Enter sends again.
    h.Type("later");
    h.Enter();
    sent = h.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(ChatTable::Text(sent[2]), U("我说道： later"));
}

TEST(ChatSending, AnEmptyEnterSendsNothingButStillHoldsTheNextOne) {
    ChatTable h;
    h.Enter();
    EXPECT_TRUE(h.client->ChatTimerRunning());
    h.Type("x");
    h.Enter();
    EXPECT_TRUE(h.Sent().empty());
    EXPECT_EQ(h.History(), QStringList{U("（发送消息太快！）")});
    h.Run(0.8);
    EXPECT_TRUE(h.client->chat().ChatAllowed);
    // A box with only the private prefix sends nothing either.
    emit h.f().Tou[1]->clicked();
    EXPECT_EQ(h.f().Chat->text(), U("你对左说 ："));
    h.Enter();
    EXPECT_TRUE(h.Sent().empty());
    // The button empties the box even when nothing is sent.
    emit h.f().AnNiu[0]->clicked();
    EXPECT_TRUE(h.f().Chat->text().isEmpty());
    EXPECT_TRUE(h.Sent().empty());
}

TEST(ChatSending, APrivateMessageAndItsCancelByBackspace) {
    ChatTable h;
    h.Type("abc");
    emit h.f().Tou[1]->clicked();  // the typed text is carried behind the prefix
    EXPECT_EQ(h.f().Chat->text(), U("你对左说 ：abc"));
    emit h.f().Tou[3]->clicked();  // a new addressee replaces the earlier prefix
    EXPECT_EQ(h.f().Chat->text(), U("你对右说 ：abc"));
    EXPECT_EQ(h.f().Chat->cursorPosition(), h.f().Chat->text().size());
    h.Type("d");
    h.Enter();
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ChatTable::Text(sent[0]), "abcd");  // to a seated addressee: the text alone
    EXPECT_EQ(sent[0][11], 2);
    EXPECT_TRUE(h.client->chat().PrivatePrefix.isEmpty());

    // Backspace inside the prefix cancels the private message and keeps what followed.
    emit h.f().Tou[2]->clicked();
    h.Type("xyz");
    h.f().Chat->setCursorPosition(3);
    h.Key(h.f().Chat, Qt::Key_Backspace);
    EXPECT_EQ(h.f().Chat->text(), "xyz");
    EXPECT_TRUE(h.client->chat().PrivatePrefix.isEmpty());
    EXPECT_EQ(h.client->chat().PrivateTarget, 0);
    // A Backspace after the prefix is an ordinary one.
    emit h.f().Tou[2]->clicked();
    h.Key(h.f().Chat, Qt::Key_Backspace);
    EXPECT_EQ(h.f().Chat->text(), U("你对上说 ：xy"));
}

TEST(ChatSending, PrivateToAnAddresseeWithoutASeatGoesToEveryoneWithBothNames) {
    ChatTable h;
    emit h.f().Tou[2]->clicked();
    h.client->chat().PrivateTarget = 0;  // the addressee has no seat bit
    h.Type("hello");
    h.Enter();
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ChatTable::Text(sent[0]), U("我对上说 ：hello"));
    EXPECT_EQ(sent[0][11], 0);
    // Before the login was accepted, or on an empty seat, a head click does nothing.
    PacketFrame quit = ServerFrame(kUserQuit);
    WriteFrameText(quit, 16, "top");
    h.Receive(quit);
    ASSERT_TRUE(h.client->state().Profiles[2].NickName.isEmpty());
    emit h.f().Tou[2]->clicked();
    EXPECT_TRUE(h.f().Chat->text().isEmpty());
}

TEST(ChatDisplay, LinesAsEachSeatSeesThem) {
    struct Case {
        uint8_t from, to;
        const char* text;
        const char* shown;
        bool blinks;
    } cases[] = {
        {8, 0, "左说道： hi", "左说道： hi", true},
        {4, 0, "我说道： 我来了", "你说道： 你来了", false},  // every occurrence of the local name
        {8, 4, "hi", "左对你说道： hi", true},
        {4, 8, "hi", "你对左说道： hi", false},
        {8, 2, "hi", "左对右说道： hi", true},
        {8, 0, "左说道： 他淫妈的shit", "左说道： 他妈的", true},  // filtered
        {0, 0, "系统：他妈的shit", "系统：他妈的shit", false},   // no seat: as it is
    };
    for (const Case& c : cases) {
        ChatTable h;
        h.Receive(ChatTable::Relay(c.from, c.to, U(c.text)));
        EXPECT_EQ(h.History().value(0), U(c.shown)) << c.text;
        EXPECT_EQ(h.f().Sysmsg[1]->Items().value(0), U(c.shown)) << c.text;
        EXPECT_EQ(h.client->transport().Slots.ChatBlinkSlot.Armed, c.blinks) << c.text;
        if (c.blinks) {
            EXPECT_EQ(h.client->state().ChatBlinkCount, 8);
        }
    }
}

TEST(ChatDisplay, LongLinesWrapInTheWindowAndAreCutOnTheMessageLines) {
    ChatTable h;
    QString fifty;
    for (int i = 0; i < 50; ++i) fifty += QChar(0x4E00 + i);
    h.Receive(ChatTable::Relay(0, 0, fifty));
    EXPECT_EQ(h.History(), (QStringList{fifty.left(23), " " + fifty.mid(23, 21), " " + fifty.mid(44)}));
    EXPECT_EQ(h.f().Sysmsg[1]->Items().value(0), fifty.left(45));
    // The two message lines keep the last two messages, the newer below.
    h.Receive(ChatTable::Relay(0, 0, "two"));
    h.Receive(ChatTable::Relay(0, 0, "three"));
    EXPECT_EQ(h.f().Sysmsg[0]->Items(), QStringList{"two"});
    EXPECT_EQ(h.f().Sysmsg[1]->Items(), QStringList{"three"});
    // A line of 44 one-byte characters is one line; the 101st line empties the list at the
    // next key press.
    h.Receive(ChatTable::Relay(0, 0, QString(44, 'a')));
    EXPECT_EQ(h.History().size(), 6);
    for (int i = 0; i < 95; ++i) h.Receive(ChatTable::Relay(0, 0, "x"));
    h.Type("k");
    EXPECT_TRUE(h.History().isEmpty());
    // Without a key press the history keeps its last 1000 lines.
    for (int i = 0; i < 1005; ++i) h.Receive(ChatTable::Relay(0, 0, QString::number(i)));
    EXPECT_EQ(h.History().size(), 1000);
    EXPECT_EQ(h.History().back(), "1004");
}

TEST(ChatDisplay, AVoicePhraseFromAnotherPlayerPlaysItsFileNamedSafely) {
    ChatTable h;
    h.client->state().Profiles[1].Extra5 = "a";
    h.client->state().Profiles[1].Extra6 = "b";
    h.client->state().Profiles[1].IsMale = 1;
    PacketFrame fr = ChatTable::Relay(8, 0, "hi");
    fr[9] = 1;
    fr[13] = 'k';
    fr[15] = 12;
    h.client->sound().SoundOn = false;  // the voice does not ask the effects switch
    h.Receive(fr);
    ASSERT_FALSE(h.sound.played.empty());
    EXPECT_EQ(h.sound.played.back().path, h.dir.path() + "/voice/vab10k12.wav");
    // Profile text that would leave the voice folder plays nothing.
    h.client->state().Profiles[1].Extra5 = "/../../x";
    const size_t played = h.sound.played.size();
    h.Receive(fr);
    EXPECT_EQ(h.sound.played.size(), played);
    // The local player's own voice line is not played back.
    fr[6] = 4;
    h.Receive(fr);
    EXPECT_EQ(h.sound.played.size(), played);
}

TEST(ChatFilter, WordsGoInListOrder) {
    const std::pair<const char*, const char*> cases[] = {
        {"他淫妈的", "他妈的"}, {"色淫情", ""}, {"婊子养的", ""}, {"SHIT Fuck", "SHIT Fuck"},
        {"fuck you", " you"}, {"你好", "你好"}, {"", ""}, {"玩家法轮功说", "玩家说"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(FilterChatText(U(in)), U(out)) << in;
}

TEST(ChatWindows, ThePhrasePagesOpenSwitchCloseAndSend) {
    ChatTable h("[Phrase1]\nnum=3\n1=你好\n2=快点\n3=再见\n");
    emit h.f().imgword1->clicked();
    PhraseWindow& w = h.client->huifu();
    EXPECT_EQ(w.List1->count(), 3);
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.List1->isVisibleTo(&w));
    emit h.f().imgword1->clicked();
    EXPECT_FALSE(w.isVisible());
    emit h.f().imgword1->clicked();
    emit h.f().imgword2->clicked();  // switches pages without closing
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.List2->isVisibleTo(&w));
    EXPECT_FALSE(w.List1->isVisibleTo(&w));
    // A double click sends the phrase, at any rate, and closes the window.
    emit w.List1->itemDoubleClicked(w.List1->item(1));
    emit h.f().imgword1->clicked();
    emit w.List1->itemDoubleClicked(w.List1->item(2));
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(ChatTable::Text(sent[0]), U("我说道： 快点"));
    EXPECT_FALSE(w.isVisible());
    // While a private message to a seat-less addressee is typed: the three-part form.
    emit h.f().Tou[1]->clicked();
    h.client->chat().PrivateTarget = 0;
    w.List2->addItem("yo");
    emit w.List2->itemDoubleClicked(w.List2->item(0));
    sent = h.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(ChatTable::Text(sent[2]), U("我对左说 ：yo"));
    EXPECT_EQ(sent[2][11], 0);
    EXPECT_TRUE(h.f().Chat->text().isEmpty());
}

TEST(ChatWindows, TheChatWindowOpensFromTheToolbarAndAltCAndClosesByAltC) {
    ChatTable h;
    emit h.f().AnNiu[1]->clicked();
    TalkWindow& t = h.client->Talk();
    EXPECT_TRUE(t.isVisible());
    emit h.f().AnNiu[1]->clicked();
    EXPECT_FALSE(t.isVisible());
    // Alt then C on the table shows it.
    h.Key(h.f().Pic1, Qt::Key_Alt);
    h.Key(h.f().Pic1, Qt::Key_C);
    EXPECT_TRUE(t.isVisible());
    // In its list: Alt, X, C does not close it; Alt, C does.
    for (int key : {Qt::Key_Alt, Qt::Key_X, Qt::Key_C}) h.Key(t.Text1, key);
    EXPECT_TRUE(t.isVisible());
    h.Key(t.Text1, Qt::Key_Alt);
    h.Key(t.Text1, Qt::Key_C);
    EXPECT_FALSE(t.isVisible());
    // A click on the table hides both chat windows.
    h.client->ShowTalk();
    emit h.f().imgword1->clicked();  // opening a page hides the chat window
    EXPECT_FALSE(t.isVisible());
    h.client->TablePressed();
    EXPECT_FALSE(h.client->huifu().isVisible());
}

TEST(ChatWindows, KeysInTheChatBoxStayThere) {
    ChatTable h;
    // Esc typed in the chat box does not reach the table; Esc on the table toggles the exit
    // window once per press.
    h.Key(h.f().Chat, Qt::Key_Escape);
    EXPECT_FALSE(h.client->frmExit().isVisible());
    h.Key(h.f().Pic1, Qt::Key_Escape);
    EXPECT_TRUE(h.client->frmExit().isVisible());
    h.client->ExitCancelled();
    // F1 in the chat box is the boss key.
    h.client->ShowTalk();
    h.Key(h.f().Chat, Qt::Key_F1);
    EXPECT_TRUE(h.client->state().BossKeyActive);
    EXPECT_FALSE(h.client->Talk().isVisible());
}
