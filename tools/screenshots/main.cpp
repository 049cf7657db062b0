// Draws the table in the situations a player sees and writes them as PNG files:
// sorvik-screenshots OUTPUT_FOLDER. The client runs in virtual time against a scripted
// server, with the real pictures, at 1280 × 1024 and at 800 × 600.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "ClientHarness.h"
#include "chat/ChatWindows.h"
#include "video/QtCameraCapture.h"
#include "video/VideoWindow.h"
#include "results/ResultWindows.h"
#include "table/InformationWindow.h"
#include "table/MainForm.h"
#include "table/PictureLibrary.h"
#include "table/SettingsWindow.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

QString outFolder;

// A camera picture stand-in: a lit background with a head and shoulders, one colour a seat.
QByteArray TestCard(int seat) {
    const QColor tones[4] = {QColor(70, 110, 160), QColor(150, 90, 60), QColor(60, 130, 90), QColor(120, 80, 140)};
    QImage image(160, 120, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient back(0, 0, 0, 120);
    back.setColorAt(0, tones[seat].lighter(150));
    back.setColorAt(1, tones[seat].darker(130));
    p.fillRect(image.rect(), back);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(235, 200, 170));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(80, 50), 22, 27);
    p.setBrush(tones[(seat + 1) % 4].darker(150));
    p.drawEllipse(QRectF(38, 82, 84, 70));
    p.end();
    return BitmapFrame(image);
}

// The table window with the visible windows above it, as the screen shows them.
void Shoot(ClientHarness& h, const QString& name, std::initializer_list<QWidget*> windows = {}) {
    MainForm& f = h.client->form();
    QImage image = f.grab().toImage();
    QPainter p(&image);
    for (QWidget* w : windows) {
        if (!w || !w->isVisible()) continue;
        p.drawPixmap(w->pos() - f.pos(), w->grab());
    }
    p.end();
    const QString path = outFolder + "/" + name + ".png";
    std::printf("%s %s\n", image.save(path) ? "wrote" : "could not write", qPrintable(path));
}

// Every element of the table shown at once, filled by a fixture, to check the layout.
void LayoutSheet(const PictureLibrary& pictures, QSize screen, const QString& suffix) {
    ClientHarness h(&pictures);
    h.desktop.screen = screen;
    h.Start();
    h.LogIn();
    MainForm& f = h.client->form();
    const PictureTables& t = h.client->pictureTables();
    for (int p = 0; p < 4; ++p) {
        f.Tou[p]->SetPicture(t.AvatarPictures[p * 5 + 2]);
        f.Nid[p]->SetCaption(QString::fromUtf8("[称号] 昵称很长的玩家%1").arg(p));
        f.Cash[p]->SetCaption(p == 0 ? QString::fromUtf8("1234567金币") : QString::fromUtf8("********金币"));
        f.Level[p]->SetCaption(QString::fromUtf8("第二十三级"));
        for (TextLabel* l : {f.Nid[p], f.Cash[p], f.Level[p]}) l->adjustSize();
        f.OK[p]->SetPicture(t.ReadyPictures[p % 3]);
        f.OK[p]->show();
        f.Speak[p]->SetPicture(p % 2 ? t.LookBubblePictures[p % 3] : t.GiveUpBubblePictures[p % 3]);
        f.Speak[p]->show();
        f.StakeLabel[p]->SetCaption(QStringLiteral("1%1%1").arg(p));
        f.StakeLabel[p]->adjustSize();
        f.StakeLabel[p]->show();
    }
    const double fan[4][2] = {{460, 552}, {40, 312}, {460, 112}, {860, 312}};
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < 3; ++i) {
            PictureBox* c = f.cardImage[p][i];
            c->SetPicture(t.CardPictures[16 * ((p + i) % 4) + 3 + 4 * i + p]);
            c->MoveTo((fan[p][0] + 20 * i) * h.client->scale().ScaleX, fan[p][1] * h.client->scale().ScaleY);
            c->show();
            c->raise();
        }
    for (int k = 0; k < 9; ++k) h.client->OfferAction(k);
    for (PictureBox* b : f.bipai) {
        b->SetPicture(t.CompareButtonPictures[1]);
        b->show();
    }
    for (int p = 0; p < 4; ++p) h.client->AnimateBet(p, 185);
    f.Time_Img->show();
    f.Number->SetCaption(QStringLiteral("15"));
    f.Number->show();
    f.Location->SetCaption(QString::fromUtf8("上海"));
    f.Sysmsg[0]->AddItem(QString::fromUtf8("请点击【继续】按钮继续游戏！"));
    f.Chat->setText(QString::fromUtf8("大家好"));
    Shoot(h, "layout-sheet" + suffix);
}

void Scenes(const PictureLibrary& pictures, QSize screen, const QString& suffix) {
    ClientHarness h(&pictures);
    h.desktop.screen = screen;
    h.desktop.folder = QStringLiteral(SORVIK_PROGRAM_DIR);  // the staged phrase file
    h.Start();
    h.LogIn();
    MainForm& f = h.client->form();
    f.move(0, 0);
    h.loop.RunFor(0.5);
    Shoot(h, "table-empty" + suffix);
    h.client->ToggleSettings();
    Shoot(h, "settings" + suffix, {static_cast<QWidget*>(&h.client->VosSet())});
    h.client->ToggleSettings();

    const struct {
        uint8_t seat;
        const char* account;
        const char* nick;
        const char* face;
        const char* title;
        const char* level;
        double coins;
        bool ready;
    } players[4] = {{1, "me", "小明", "m3", "侠客", "童生", 52300, false},
                    {2, "lan", "兰兰", "w2", "新手", "秀才", 18000, true},
                    {4, "hu", "老胡", "m7", "高手", "举人", 64000, true},
                    {8, "yu", "小雨", "w6", "新手", "童生", 30500, false}};
    for (const auto& p : players) {
        Player info{p.seat, p.account, QString::fromUtf8(p.nick), p.face, QString::fromUtf8(p.title),
                    QString::fromUtf8(p.level), p.coins, p.ready};
        h.client->DispatchFrame(UserInfoFrame(1, info));
    }
    h.client->ShowPlayerInfo(2, false);
    Shoot(h, "table-seated" + suffix, {&h.client->Information()});
    h.client->TableMouseMove(false);

    // Table talk: a few relayed lines, the chat window, then the phrase window.
    const struct {
        uint8_t from, to;
        const char* text;
    } lines[] = {{2, 0, "兰兰说道： 大家好，很高兴见到各位！"},
                 {4, 0, "老胡说道： 快点吧，我等得花儿都谢了。"},
                 {8, 1, "今晚手气怎么样？"},
                 {1, 0, "小明说道： 不要走，决战到天亮！这一句很长很长，要换一行才能看完。"}};
    for (const auto& l : lines) {
        PacketFrame chat = ServerFrame(kChat);
        chat[6] = l.from;
        chat[11] = l.to;
        WriteFrameText(chat, 16, QString::fromUtf8(l.text));
        h.client->DispatchFrame(chat);
    }
    // Video from the three others and the local camera.
    for (int slot = 1; slot <= 3; ++slot) {
        h.peers.users[slot] = h.client->state().Seats[slot].AccountName;
        h.peers.states[slot] = 15;
        h.peers.onDataReceived(slot, TestCard(slot));
    }
    h.capture.onFrameCaptured(TestCard(0));
    h.loop.RunFor(0.1);
    h.client->video().OnToolHover(1);
    Shoot(h, "video" + suffix);
    h.client->video().OnStripHover();
    h.client->video().ToggleVideoWindow(2);
    h.loop.RunFor(0.2);
    Shoot(h, "video-window" + suffix, {h.client->video().Window(2)});
    h.client->video().ToggleVideoWindow(2);

    emit f.Tou[3]->clicked();
    h.client->ShowTalk();
    Shoot(h, "chat" + suffix, {&h.client->Talk()});
    emit f.imgword1->clicked();
    Shoot(h, "phrases" + suffix, {&h.client->huifu()});
    h.client->TablePressed();
    f.Chat->clear();

    // A hand: the deal, a look by the player on the left, the local look, a stake on the right.
    PacketFrame start = ServerFrame(kGameStart);
    start[15] = 10;
    h.client->DispatchFrame(start);
    h.client->DispatchFrame(TurnFrame(2, 2, 2, 0, 10));
    PacketFrame look = TurnFrame(1, 2, 1, 0x0F, 20);
    PutCard(look, 20, 14, 4);
    PutCard(look, 24, 13, 4);
    PutCard(look, 28, 12, 4);
    h.client->DispatchFrame(TurnFrame(8, 4, 1, 0x07, 10, 20));
    h.client->DispatchFrame(look);
    h.client->OnActionHover(2);
    Shoot(h, "hand-turn" + suffix);

    // The face-off, caught in the middle.
    PacketFrame compare = TurnFrame(1, 8, 4, 0, 20, 20);
    compare[16] = 1;
    PutCard(compare, 20, 14, 4);
    PutCard(compare, 24, 13, 4);
    PutCard(compare, 28, 12, 4);
    compare[32] = 2;
    PutCard(compare, 36, 9, 1);
    PutCard(compare, 40, 9, 2);
    PutCard(compare, 44, 4, 8);
    h.loop.SingleShot(900, [&] { Shoot(h, "hand-compare" + suffix); });
    h.client->DispatchFrame(compare);

    // The full pot opens the other hands; the results settle the hand.
    PacketFrame open = TurnFrame(8, 4, 0, 0, 0, 20);
    open[16] = 1;
    PutCard(open, 20, 14, 4);
    PutCard(open, 24, 13, 4);
    PutCard(open, 28, 12, 4);
    open[32] = 4;
    PutCard(open, 36, 11, 2);
    PutCard(open, 40, 11, 8);
    PutCard(open, 44, 3, 1);
    open[48] = 8;
    PutCard(open, 52, 2, 1);
    PutCard(open, 56, 7, 2);
    PutCard(open, 60, 8, 4);
    h.client->DispatchFrame(open);
    PacketFrame first = ResultFrame(1, true, 180, 174, 6);
    first[35] = 1;
    h.client->DispatchFrame(first);
    h.client->DispatchFrame(ResultFrame(2, false, 60, 60, 3));
    h.client->DispatchFrame(ResultFrame(4, false, 60, 60, 8));
    h.client->DispatchFrame(ResultFrame(8, false, 60, 60, 2));
    h.loop.RunFor(3);
    Shoot(h, "hand-settled" + suffix);

    // The record windows after two more games.
    for (int g = 0; g < 2; ++g) {
        h.client->DispatchFrame(ResultFrame(1, g == 1, 50, g == 1 ? 48 : 50, 6));
        h.client->DispatchFrame(ResultFrame(2, g == 0, 50, g == 0 ? 48 : 50, 3));
        h.client->DispatchFrame(ResultFrame(4, false, 0, 0, 8));
        h.client->DispatchFrame(ResultFrame(8, false, 0, 0, 2));
    }
    ScoreWindow& score = h.client->Score();
    HeroWindow& hero = h.client->Hero();
    h.client->OnToolbarClick(5);
    h.client->OnToolbarClick(6);
    score.move(f.pos() + QPoint(f.width() / 2 - score.width() / 2, 60));
    hero.move(f.pos() + QPoint(f.width() / 2 - hero.width() / 2, 60 + score.height() + 10));
    Shoot(h, "records" + suffix, {&score, &hero});
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(outFolder);
    PictureLibrary pictures;
    LayoutSheet(pictures, {1280, 1024}, "");
    LayoutSheet(pictures, {800, 600}, "-800x600");
    Scenes(pictures, {1280, 1024}, "");
    Scenes(pictures, {800, 600}, "-800x600");
    return 0;
}
