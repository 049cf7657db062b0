#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include "ClientHarness.h"
#include "E2eSupport.h"
#include "Relay.h"
#include "platform/QtEventLoop.h"
#include "table/MainForm.h"
#include "video/QtCameraCapture.h"
#include "video/VideoDisplay.h"
#include "video/VideoWindow.h"
#include "video/core/RelayPeerTransport.h"
#include "video/core/RelayProtocol.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

QByteArray Frame(QRgb colour, int w = 16, int h = 12) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return BitmapFrame(image);
}

// Logged in as alice at seat 1; players join at seats 2, 4, 8 (positions 1, 2, 3).
struct VideoTable : ClientHarness {
    VideoTable() {
        EXPECT_TRUE(Start());
        LogIn();
        Join(1, "alice");
    }
    void Join(uint8_t seat, const char* account) {
        EXPECT_TRUE(Call([&] { client->DispatchFrame(UserInfoFrame(1, {seat, account, account, "m1"})); }));
    }
    PeerVideo& v() { return client->video(); }
    MainForm& f() { return client->form(); }
    std::vector<int> SlotsSentTo() {
        std::vector<int> targets;
        for (const auto& [slot, data] : peers.sent) targets.push_back(slot);
        return targets;
    }
};

}  // namespace

TEST(RelayProtocol, MessagesSurviveAnyChunking) {
    using relay::Message;
    const Message sent[] = {{relay::kLogin, 0, 0, 0, QString::fromUtf8("玩家"), {}},
                            {relay::kRequest, 3, 0, 0, "ben", {}},
                            {relay::kSend, 2, relay::kFrame, 0, {}, QByteArray(5000, '\x7f')},
                            {relay::kSlotState, 1, 0, 15, {}, {}},
                            {relay::kRelayState, 0, 0, 2, {}, {}}};
    QByteArray stream;
    for (const Message& m : sent) stream += Encode(m);
    relay::Reader r;
    std::vector<Message> got;
    for (char c : stream) {  // one byte at a time
        r.Append(QByteArray(1, c));
        while (auto m = r.Next()) got.push_back(*m);
    }
    ASSERT_EQ(got.size(), std::size(sent));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].type, sent[i].type);
        EXPECT_EQ(got[i].slot, sent[i].slot);
        EXPECT_EQ(got[i].account, sent[i].account);
        EXPECT_EQ(got[i].bytes, sent[i].bytes);
        EXPECT_EQ(got[i].state, sent[i].state);
    }
    EXPECT_FALSE(r.Bad());
}

TEST(RelayProtocol, ABrokenStreamStaysBroken) {
    const QByteArray bad[] = {
        QByteArray("\0\0\0\0", 4),                            // empty message
        QByteArray("\x7f\xff\xff\xff", 4),                    // far too long
        QByteArray("\0\0\0\2\x04\x09", 6),                    // close of slot 9
        QByteArray("\0\0\0\1\x63", 5),                        // unknown type
        QByteArray("\0\0\0\1\x01", 5),                        // login without a name
        QByteArray("\0\0\0\2\x03\x01", 6),                    // request without a name
        QByteArray("\0\0\0\4\x05\x01\x07x", 8),               // unknown kind
        QByteArray("\0\0\0\x14\x05\x01\x00", 7) + QByteArray(17, '9'),  // a format of 17 bytes
        QByteArray("\0\0\0\4\x01" "a\nb", 8),                  // a name with a line break
    };
    for (const QByteArray& b : bad) {
        relay::Reader r;
        r.Append(b + relay::Encode({relay::kLogout, 0, 0, 0, {}, {}}));
        EXPECT_FALSE(r.Next().has_value()) << b.toHex().toStdString();
        EXPECT_TRUE(r.Bad()) << b.toHex().toStdString();
        EXPECT_FALSE(r.Next().has_value());
    }
}

TEST(PeerVideo, LogsInAtStartAndAsksForEveryoneAtTheFirstRelayLogin) {
    VideoTable h;
    EXPECT_EQ(h.peers.logins, std::vector<QString>{"alice"});
    EXPECT_EQ(h.peers.RelayHost, "127.0.0.7");
    EXPECT_EQ(h.peers.RelayPort, 8888);
    EXPECT_EQ(h.peers.slotCount, 3);
    h.Join(2, "ann");
    h.Join(4, "ben");
    h.Join(8, "cat");
    EXPECT_TRUE(h.peers.requests.empty());
    h.peers.onRelayStateChanged(2);
    // With every slot free the first player found gets the highest one.
    const std::vector<std::pair<int, QString>> expected = {{3, "ann"}, {2, "ben"}, {1, "cat"}};
    EXPECT_EQ(h.peers.requests, expected);
    // After a relay drop and a new login nothing is asked again.
    h.peers.onRelayStateChanged(0);
    EXPECT_FALSE(h.v().RelayLoggedIn);
    h.peers.onRelayStateChanged(2);
    EXPECT_EQ(h.peers.requests.size(), 3u);
}

TEST(PeerVideo, SlotChoiceForLaterArrivals) {
    VideoTable h;
    h.peers.onRelayStateChanged(2);
    // An account already on slot 2 keeps it; streaming, it is not asked for again.
    h.peers.users[2] = "ben";
    h.peers.states[2] = 15;
    EXPECT_EQ(h.v().ChooseSlot("ben", 1, 3, 1, true), 2);
    h.Join(4, "ben");
    EXPECT_TRUE(h.peers.requests.empty());
    // No free slot and no match: the position's own slot.
    h.peers.users[1] = "x";
    h.peers.states[1] = 3;
    h.peers.users[3] = "y";
    h.peers.states[3] = 3;
    h.peers.states[2] = 3;
    h.Join(2, "ann");  // position 1
    ASSERT_EQ(h.peers.requests.size(), 1u);
    EXPECT_EQ(h.peers.requests[0], std::make_pair(1, QString("ann")));
    // A quit with an empty name closes nothing; a named one closes its slot.
    h.v().DropPlayer("");
    EXPECT_TRUE(h.peers.closes.empty());
    h.v().DropPlayer("ann");
    EXPECT_EQ(h.peers.closes, std::vector<int>{1});
}

TEST(PeerVideo, AReadySlotGetsTheFormatTheModeAndTheNewestFrame) {
    VideoTable h;
    h.capture.onFrameCaptured(Frame(0xff0000));
    h.peers.onSlotStateChanged(2, 9);
    EXPECT_TRUE(h.peers.sent.empty());
    h.peers.onSlotStateChanged(2, 14);
    ASSERT_EQ(h.peers.sent.size(), 3u);
    EXPECT_EQ(h.peers.sent[0], std::make_pair(2, QByteArray("format")));
    EXPECT_EQ(h.peers.sent[1], std::make_pair(2, QByteArray("mode")));
    EXPECT_EQ(h.peers.sent[2], std::make_pair(2, Frame(0xff0000)));
    EXPECT_EQ(h.capture.CaptureMode, 2);
    EXPECT_TRUE(h.capture.OptionA && h.capture.OptionB && !h.capture.OptionC);
}

TEST(PeerVideo, ALimitedConnectionGetsThreeFramesThenOneInTwentyOne) {
    VideoTable h;
    h.peers.states[1] = 12;
    h.peers.states[2] = 15;
    h.peers.states[3] = 9;
    std::vector<int> toSlot1;
    for (int n = 1; n <= 30; ++n) {
        h.peers.sent.clear();
        h.capture.onFrameCaptured(Frame(qRgb(n, 0, 0)));
        const auto targets = h.SlotsSentTo();
        if (std::count(targets.begin(), targets.end(), 1)) toSlot1.push_back(n);
        EXPECT_EQ(std::count(targets.begin(), targets.end(), 2), 1) << n;  // full rate: every frame
        EXPECT_EQ(std::count(targets.begin(), targets.end(), 3), 0) << n;  // not streaming
    }
    EXPECT_EQ(toSlot1, (std::vector<int>{1, 2, 3, 24}));
    // Moving to full rate sends every frame; the counter stays where it was.
    const uint16_t counter = h.v().SendCount[0];
    h.peers.states[1] = 15;
    h.capture.onFrameCaptured(Frame(0));
    EXPECT_EQ(h.v().SendCount[0], counter);
    EXPECT_EQ(h.SlotsSentTo().back(), 2);
}

TEST(PeerVideo, ReceivedFramesOpenTheSendersPanelAndAreDrawnAgainAfter30Ms) {
    VideoTable h;
    h.Join(4, "ben");  // position 2
    h.peers.users[1] = "ben";
    h.peers.states[1] = 15;
    h.peers.users[2] = "stranger";
    h.peers.states[2] = 15;
    VideoDisplay* show = h.f().vshow[2];
    h.peers.onDataReceived(2, Frame(0xff));  // not seated: nothing
    EXPECT_TRUE(h.v().FrameBuffer[2].isEmpty());
    h.peers.onDataReceived(1, Frame(0x00ff00));
    EXPECT_TRUE(show->isVisibleTo(h.f().Pic1));
    EXPECT_TRUE(h.f().PicLocal[2]->isVisibleTo(h.f().Pic1));
    EXPECT_EQ(show->FramesShown(), 1);
    EXPECT_EQ(show->Picture().pixelColor(0, 0), QColor(0x00ff00));
    h.Run(0.05);
    EXPECT_EQ(show->FramesShown(), 4);  // three more draws 30 ms later
    // Frames faster than 25 a second are kept but not all drawn.
    h.peers.onDataReceived(1, Frame(0x00fe00));
    h.peers.onDataReceived(1, Frame(0x00fd00));
    EXPECT_EQ(show->Picture().pixelColor(0, 0), QColor(0x00fe00));
    EXPECT_EQ(h.v().FrameBuffer[2], Frame(0x00fd00));
    h.Run(0.05);
    // Something that is not a bitmap leaves the last picture.
    h.peers.onDataReceived(1, QByteArray("BM not really a bitmap at all......"));
    EXPECT_EQ(show->Picture().pixelColor(0, 0), QColor(0x00fe00));
    // A closed video keeps receiving into its buffer but draws nothing.
    h.v().VideoClosed[2] = true;
    h.peers.onDataReceived(1, Frame(0x0000ff));
    EXPECT_EQ(h.v().FrameBuffer[2], Frame(0x0000ff));
    EXPECT_EQ(show->Picture().pixelColor(0, 0), QColor(0x00fe00));
    // The player leaves: the panel's video goes.
    h.v().ClearPositionVideo(2);
    EXPECT_FALSE(show->isVisibleTo(h.f().Pic1));
    EXPECT_TRUE(h.v().FrameBuffer[2].isEmpty());
    EXPECT_FALSE(h.v().FirstFrameShown[2]);
}

TEST(PeerVideo, WithoutACameraTheTableSaysSoAndTriesAgainAtTheNextSeating) {
    ClientHarness h;
    h.capture.present = false;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    EXPECT_FALSE(h.client->video().CaptureOn);
    const int starts = h.capture.starts;
    h.client->DispatchFrame(UserInfoFrame(1, {1, "alice", "alice", "m1"}));
    EXPECT_EQ(h.capture.starts, starts + 1);
    EXPECT_EQ(h.client->form().Sysmsg[1]->Items().value(0), QString::fromUtf8("您没有视频设备或您的视频源正在使用。"));
    EXPECT_FALSE(h.client->form().vcap1->isVisibleTo(h.client->form().Pic1));
    // With a camera the local picture shows over the portrait, and each frame is drawn there.
    VideoTable v;
    EXPECT_TRUE(v.v().CaptureOn);
    EXPECT_TRUE(v.f().vcap1->isVisibleTo(v.f().Pic1));
    EXPECT_EQ(v.f().vcap1->x(), v.f().Tou[0]->x());
    v.capture.onFrameCaptured(Frame(0x123456));
    EXPECT_EQ(v.f().vcap1->FramesShown(), 1);
}

TEST(PeerVideo, LeavingTheTableDropsEveryPeerAndTheEndLogsOut) {
    VideoTable h;
    h.Join(2, "ann");
    h.peers.onRelayStateChanged(2);
    h.peers.states[3] = 15;
    h.peers.onDataReceived(3, Frame(0xff));
    ASSERT_TRUE(h.f().vshow[1]->isVisibleTo(h.f().Pic1));
    h.client->ExitConfirmed();
    EXPECT_EQ(h.peers.closes, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(h.f().vshow[1]->isVisibleTo(h.f().Pic1));
    EXPECT_TRUE(h.v().FrameBuffer[1].isEmpty());
    // A lost link between hands takes the video off the table as well.
    VideoTable lost;
    lost.Join(2, "ann");
    lost.peers.users[3] = "ann";
    lost.peers.states[3] = 15;
    lost.peers.onDataReceived(3, Frame(0xff));
    ASSERT_TRUE(lost.f().vshow[1]->isVisibleTo(lost.f().Pic1));
    lost.client->LeaveToLobby();
    EXPECT_FALSE(lost.f().vshow[1]->isVisibleTo(lost.f().Pic1));
    EXPECT_FALSE(h.Call([&] { h.client->Unload(); }));
    EXPECT_EQ(h.peers.logouts, 1);
    EXPECT_EQ(h.capture.stops, 1);
    EXPECT_EQ(h.capture.closes, 1);
}

TEST(VideoDisplay, ShowsBitmapsOnly) {
    VideoDisplay d(nullptr);
    EXPECT_TRUE(d.ShowFrame(Frame(0xabcdef)));
    EXPECT_EQ(d.Picture().size(), QSize(16, 12));
    QByteArray huge = Frame(0, 4, 4);
    // Width and height in the header claim 60000 × 60000 pixels.
    huge[18] = '\x60'; huge[19] = '\xea'; huge[20] = 0; huge[21] = 0;
    huge[22] = '\x60'; huge[23] = '\xea'; huge[24] = 0; huge[25] = 0;
    for (const QByteArray& bad : {QByteArray(), QByteArray("GIF89a........................"), huge,
                                  Frame(0).left(40)})
        EXPECT_FALSE(d.ShowFrame(bad));
    EXPECT_EQ(d.Picture().pixelColor(0, 0), QColor(0xabcdef));
}

TEST(Relay, PairsTwoPlayersWhoAskedForEachOtherAndCarriesTheirFrames) {
    relay::Relay server;
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0));
    QtEventLoop loop;
    RelayPeerTransport ann(loop), ben(loop);
    std::vector<std::pair<int, int>> annStates, benStates;
    std::vector<std::pair<int, QByteArray>> benGot;
    ann.onSlotStateChanged = [&](int s, int st) { annStates.push_back({s, st}); };
    ben.onSlotStateChanged = [&](int s, int st) { benStates.push_back({s, st}); };
    ben.onDataReceived = [&](int s, const QByteArray& d) { benGot.push_back({s, d}); };
    int annRelay = 0;
    ann.onRelayStateChanged = [&](int st) { annRelay = st; };
    for (RelayPeerTransport* t : {&ann, &ben}) {
        t->RelayHost = "127.0.0.1";
        t->RelayPort = server.Port();
        t->SetSlotCount(3);
    }
    ann.Login("ann");
    ben.Login("ben");
    ASSERT_TRUE(WaitFor([&] { return annRelay == 2 && server.Connections() == 2; }, 5));
    ann.RequestVideo(3, "ben");
    ASSERT_TRUE(WaitFor([&] { return ann.SlotState(3) == relay::kSlotWaiting; }, 5));
    ben.RequestVideo(1, "ann");
    ASSERT_TRUE(WaitFor([&] { return ann.SlotState(3) == 15 && ben.SlotState(1) == 15; }, 5));
    const QByteArray frame = Frame(0x808080, 160, 120);
    ann.SendData(frame, 3);
    ASSERT_TRUE(WaitFor([&] { return !benGot.empty(); }, 5));
    EXPECT_EQ(benGot[0], std::make_pair(1, frame));  // on ben's own slot, byte for byte
    // Ben closes: Ann's slot waits again.
    ben.CloseSlot(1);
    ASSERT_TRUE(WaitFor([&] { return ann.SlotState(3) == relay::kSlotWaiting; }, 5));
    ann.SendData(frame, 3);  // not streaming: nothing goes
    // A link that breaks the format is dropped; the others stay served.
    QTcpSocket rogue;
    rogue.connectToHost("127.0.0.1", server.Port());
    ASSERT_TRUE(rogue.waitForConnected(3000));
    rogue.write(QByteArray("\xff\xff\xff\xff garbage", 12));
    ASSERT_TRUE(WaitFor([&] { return rogue.state() == QAbstractSocket::UnconnectedState; }, 5));
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(benGot.size(), 1u);
}

TEST(VideoTools, SnapshotsGoToThePhotoFolderUnderTheTimeTheyWereTaken) {
    EXPECT_EQ(SnapshotFileName(QDateTime(QDate(2026, 3, 4), QTime(9, 5, 3))), "202634953.bmp");
    EXPECT_EQ(SnapshotFileName(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 0))), "2026123123590.bmp");
    VideoTable h;
    QTemporaryDir dir;
    h.desktop.folder = dir.path();
    h.capture.onFrameCaptured(Frame(0x112233));
    emit h.f().ImCmd[2]->clicked();  // the local snapshot
    const QStringList files = QDir(dir.path() + "/photo").entryList({"*.bmp"});
    ASSERT_EQ(files.size(), 1);
    QFile saved(dir.path() + "/photo/" + files[0]);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), Frame(0x112233));  // the frame's bytes as they are
    EXPECT_EQ(h.f().Sysmsg[1]->Items().value(0), QString::fromUtf8("照相成功,照片保存在本机相册中。"));
    // The album opens the folder through the desktop.
    emit h.f().ImCmd[0]->clicked();
    EXPECT_EQ(h.desktop.opened.value(0), QUrl::fromLocalFile(dir.path() + "/photo").toString());
}

TEST(VideoTools, ToolsLightUpAndTheLocalOnesAreNamed) {
    VideoTable h;
    EXPECT_EQ(h.f().ImCmd[1]->PictureId(), 851);
    EXPECT_EQ(h.f().ImCmd[4]->PictureId(), 854);  // a remote video's close tool
    EXPECT_FALSE(h.f().ImCmd[7]->isVisibleTo(h.f().PicLocal[1]));
    h.v().OnToolHover(3);
    EXPECT_EQ(h.f().ImCmd[3]->PictureId(), 858);
    EXPECT_EQ(h.f().Tiplbl->Caption(), QString::fromUtf8("星河乐匣"));
    EXPECT_TRUE(h.f().Tiplbl->isVisibleTo(h.f().Pic1));
    h.v().OnStripHover();
    EXPECT_EQ(h.f().ImCmd[3]->PictureId(), 853);
    EXPECT_FALSE(h.f().Tiplbl->isVisibleTo(h.f().Pic1));
}

TEST(VideoTools, ClosingAPlayersVideoAndShowingItAgain) {
    VideoTable h;
    h.Join(8, "cat");  // position 3
    h.peers.users[2] = "cat";
    h.peers.states[2] = 15;
    h.peers.onDataReceived(2, Frame(0x00aa00));
    h.Run(0.05);
    VideoDisplay* show = h.f().vshow[3];
    emit h.f().ImCmd[12]->clicked();
    EXPECT_TRUE(h.v().VideoClosed[3]);
    EXPECT_FALSE(show->isVisibleTo(h.f().Pic1));
    EXPECT_TRUE(h.f().ImgShow[3]->isVisibleTo(h.f().Pic1));
    emit h.f().ImCmd[12]->clicked();  // a second close does nothing
    EXPECT_FALSE(show->isVisibleTo(h.f().Pic1));
    const int drawn = show->FramesShown();
    emit h.f().ImgShow[3]->clicked();
    EXPECT_FALSE(h.v().VideoClosed[3]);
    EXPECT_TRUE(show->isVisibleTo(h.f().Pic1));
    h.Run(0.05);
    EXPECT_EQ(show->FramesShown(), drawn + 3);  // the last frame drawn again
}

TEST(VideoTools, EnlargedWindowsOpenGrowShrinkAndClose) {
    VideoTable h;
    h.Join(2, "ann");  // position 1
    h.peers.users[1] = "ann";
    h.peers.states[1] = 15;
    h.peers.onDataReceived(1, Frame(0xaa0000));
    emit h.f().ImCmd[5]->clicked();  // remote 1's enlarged view
    VideoWindow* w = h.v().Window(1);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), QSize(276, 215));  // 4140 × 3225 twips
    EXPECT_EQ(w->Display->geometry(), QRect(10, 16, 256, 192));
    EXPECT_DOUBLE_EQ(w->IconTwips(0).left(), 4140 - 150 - 225);
    h.Run(0.15);  // the zoom timer draws the stored frame
    EXPECT_EQ(w->Display->Picture().pixelColor(0, 0), QColor(0xaa0000));
    // Later frames reach the open window too.
    h.peers.onDataReceived(1, Frame(0x0000aa));
    EXPECT_EQ(w->Display->Picture().pixelColor(0, 0), QColor(0x0000aa));
    emit w->ImgCmd[1]->clicked();
    EXPECT_EQ(w->CurrentSize(), VideoWindow::kLarge);
    EXPECT_EQ(w->size(), QSize(434, 341));
    EXPECT_DOUBLE_EQ(w->IconTwips(0).left(), 6510 - 337.5 - 150);
    emit w->ImgCmd[1]->clicked();  // at large nothing happens
    EXPECT_EQ(w->CurrentSize(), VideoWindow::kLarge);
    emit w->ImgCmd[2]->clicked();
    EXPECT_DOUBLE_EQ(w->IconTwips(1).left(), 3380);
    emit w->ImgCmd[2]->clicked();
    EXPECT_EQ(w->size(), QSize(175, 138));
    emit w->ImgCmd[2]->clicked();  // at small nothing happens
    EXPECT_EQ(w->CurrentSize(), VideoWindow::kSmall);
    emit w->ImgCmd[0]->clicked();
    EXPECT_EQ(h.v().Window(1), nullptr);
    // The local one shows the camera's newest frame.
    h.capture.onFrameCaptured(Frame(0x555555));
    emit h.f().ImCmd[1]->clicked();
    h.Run(0.15);
    ASSERT_NE(h.v().Window(0), nullptr);
    EXPECT_EQ(h.v().Window(0)->Display->Picture().pixelColor(0, 0), QColor(0x555555));
    emit h.f().ImCmd[1]->clicked();  // the same tool closes it
    EXPECT_EQ(h.v().Window(0), nullptr);
    // A window hidden by closing its video opens again with one click.
    emit h.f().ImCmd[5]->clicked();
    emit h.f().ImCmd[4]->clicked();  // close remote 1's video: its window hides
    EXPECT_FALSE(h.v().WindowOpen(1));
    emit h.f().ImCmd[5]->clicked();
    EXPECT_TRUE(h.v().WindowOpen(1));
    emit h.f().ImgShow[1]->clicked();
    emit h.f().ImCmd[5]->clicked();
    EXPECT_FALSE(h.v().WindowOpen(1));
    // A press on a title icon does not start a drag of the window.
    emit h.f().ImCmd[5]->clicked();
    VideoWindow* again = h.v().Window(1);
    const QPoint at = again->pos();
    PictureBox* icon = again->ImgCmd[1];
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), icon->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(icon, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 40), again->mapToGlobal(QPointF(40, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(again, &drag);
    EXPECT_EQ(again->pos(), at);
    // Minimising the table closes the open ones.
    ASSERT_TRUE(h.v().WindowOpen(1));
    h.client->OnWindowMinimized();
    EXPECT_EQ(h.v().Window(1), nullptr);
}
