#include "table/MainForm.h"
#include "table/WebPanel.h"
#include "video/VideoDisplay.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace sorvik {
namespace {

// 15 twips to the pixel: the framed window is 15600 × 11940 twips, the table inside it
// 120 twips from the sides, 300 from the top and 120 from the bottom.
constexpr int kFramedWidth = 1040;
constexpr int kFramedHeight = 796;
constexpr int kFrameSide = 8;
constexpr int kFrameTop = 20;
constexpr int kFrameBottom = 8;

// A title-bar button drawn in the frame's colours: 0 normal, 1 hover, 2 pressed.
QPixmap ChromeButton(bool close, int state) {
    QPixmap p(17, 15);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QColor fill = state == 0 ? QColor(0x6B, 0x3E, 0x1C)
                        : state == 1 ? (close ? QColor(0xC0, 0x30, 0x20) : QColor(0x9A, 0x62, 0x2E))
                                     : QColor(0x40, 0x22, 0x0E);
    g.setBrush(fill);
    g.setPen(QColor(0xE8, 0xC8, 0x70));
    g.drawRoundedRect(QRectF(0.5, 0.5, 16, 14), 3, 3);
    g.setPen(QPen(Qt::white, 1.6));
    if (close) {
        g.drawLine(QPointF(5, 4), QPointF(12, 11));
        g.drawLine(QPointF(12, 4), QPointF(5, 11));
    } else {
        g.drawLine(QPointF(5, 10.5), QPointF(12, 10.5));
    }
    return p;
}

}  // namespace

LayoutScale MainForm::ScaleForScreen(QSize screen) {
    const bool full = screen.height() >= 768 && screen.width() >= 1024;
    const double s = full ? 1.0 : 0.78125;
    return {s, s};
}

MainForm::MainForm(const PictureSource* pictures, const LayoutScale* scale)
    : pictures_(pictures), scale_(scale) {
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Sorvik"));
    setMouseTracking(true);

    Pic1 = new QWidget(this);
    Pic1->setAutoFillBackground(true);
    QPalette felt = Pic1->palette();
    felt.setColor(QPalette::Window, QColor(0x0B, 0x5D, 0x3A));
    felt.setColor(QPalette::WindowText, Qt::white);
    Pic1->setPalette(felt);
    Pic1->setMouseTracking(true);
    Pic1->setFocusPolicy(Qt::StrongFocus);
    Pic1->installEventFilter(this);
    Background = new QLabel(Pic1);
    Background->setScaledContents(true);
    Background->setAttribute(Qt::WA_TransparentForMouseEvents);

    lcaption = new TextLabel(this, scale);
    lcaption->SetCaption(QStringLiteral("Morvel游戏--Sorvik"));
    lcaption->SetForeColor(0xFFFFFF);
    lcaption->hide();
    LbMove = new QLabel(this);
    LbMove->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImgClose = new PictureBox(this, nullptr, scale);
    ImgMin = new PictureBox(this, nullptr, scale);
    const QPixmap closeSkin = pictures ? pictures->Named(QStringLiteral("close-0")) : QPixmap();
    const QPixmap minSkin = pictures ? pictures->Named(QStringLiteral("min-0")) : QPixmap();
    ImgClose->setPixmap(closeSkin.isNull() ? ChromeButton(true, 0) : closeSkin);
    ImgMin->setPixmap(minSkin.isNull() ? ChromeButton(false, 0) : minSkin);
    ImgClose->adjustSize();
    ImgMin->adjustSize();
    ImgClose->hide();
    ImgMin->hide();
}

PictureBox* MainForm::Picture(double left, double top, int id) {
    auto* p = new PictureBox(Pic1, pictures_, scale_);
    p->Place(left, top);
    if (id) p->SetPicture(id);
    return p;
}

TextLabel* MainForm::Text(double left, double top, unsigned color) {
    auto* t = new TextLabel(Pic1, scale_);
    t->Place(left, top);
    t->SetForeColor(color);
    return t;
}

std::array<MainForm::FramePiece, 8> MainForm::FramePieces(QSize window) {
    // The skin's regions, 15 twips to the pixel: corners 8 wide, the title band 20 high,
    // the bottom band 8 high; edges are stretched.
    const int W = window.width(), H = window.height();
    return {{{{0, 0, 8, 20}, {0, 0, 8, 20}},
             {{8, 0, W - 16, 20}, {8, 0, 8, 20}},
             {{W - 8, 0, 8, 20}, {38, 0, 8, 20}},
             {{0, 20, 8, H - 28}, {0, 20, 8, 192}},
             {{W - 8, 20, 8, H - 28}, {38, 20, 8, 192}},
             {{0, H - 8, 8, 8}, {0, 212, 8, 8}},
             {{8, H - 8, W - 16, 8}, {8, 212, 8, 8}},
             {{W - 8, H - 8, 8, 8}, {38, 212, 8, 8}}}};
}

void MainForm::LayOutTable(const PictureTables& t) {
    const bool small = scale_->ScaleX < 1.0;
    const QString size = small ? QStringLiteral("-small") : QString();
    auto named = [&](const char* name) {
        return pictures_ ? pictures_->Named(QString::fromLatin1(name) + size) : QPixmap();
    };
    SetBackground(false);
    imgDinglan = Picture(0, 0);
    imgDinglan->Place(0, 0, 1024, 110);
    imgDinglan->SetPicture(0);
    imgDinglan->setPixmap(named("bar-top"));
    imgDinglan->setScaledContents(true);
    imgDilan = Picture(0, 640);
    imgDilan->Place(0, 640, 1024, 128);
    imgDilan->setPixmap(named("bar-bottom"));
    imgDilan->setScaledContents(true);

    // Portraits and the opponents' panels.
    const double kuangLeft[4] = {0, 0, 342, 685};
    for (int k = 1; k <= 3; ++k) {
        ImgKuang[k] = new PictureBox(Pic1, pictures_, scale_);
        const double left = k == 1 ? 0 : kuangLeft[k] * scale_->ScaleX;  // the first is not scaled
        ImgKuang[k]->MoveTo(left, 3);                                      // nor is the top
        ImgKuang[k]->resize(static_cast<int>(126 * scale_->ScaleX), static_cast<int>(105 * scale_->ScaleY));
        ImgKuang[k]->setPixmap(named("panel-frame"));
        ImgKuang[k]->setScaledContents(true);
    }
    Tou[0] = Picture(10, 668);
    Tou[0]->Place(10, 668, 85, 90);
    const double touLeft[4] = {10, 7, 350, 693};
    for (int k = 1; k <= 3; ++k) {
        Tou[k] = Picture(touLeft[k], 15);
        Tou[k]->Place(touLeft[k], 15, 70, 62);
    }
    for (auto* tou : Tou) tou->setScaledContents(true);
    const double showLeft[4] = {0, 32, 390, 720};
    for (int k = 1; k <= 3; ++k) {
        ImgShow[k] = Picture(showLeft[k], 80, t.VideoToolIcons[0]);
        ImgShow[k]->Place(showLeft[k], 80, 16, 14);
        ImgShow[k]->hide();
    }
    PicLocal[0] = Picture(9, 742);
    PicLocal[0]->Place(9, 742, 87, 17);
    PicLocal[0]->hide();
    for (int k = 1; k <= 3; ++k) {
        vshow[k] = new VideoDisplay(Pic1);
        vshow[k]->setGeometry(static_cast<int>(ImgKuang[k]->Left() + 5 * scale_->ScaleX),
                              static_cast<int>(ImgKuang[k]->Top() + 5 * scale_->ScaleY),
                              ImgKuang[k]->width() - static_cast<int>(10 * scale_->ScaleX),
                              ImgKuang[k]->height() - static_cast<int>(10 * scale_->ScaleY));
        vshow[k]->ShowOptionB = true;
        vshow[k]->hide();
    }
    vcap1 = new VideoDisplay(Pic1);
    vcap1->hide();
    for (int k = 1; k <= 3; ++k) {
        PicLocal[k] = new PictureBox(Pic1, pictures_, scale_);
        PicLocal[k]->MoveTo(ImgKuang[k]->Left() + ImgKuang[k]->width(), 88 * scale_->ScaleY);
        PicLocal[k]->resize(static_cast<int>(145 * scale_->ScaleX), static_cast<int>(17 * scale_->ScaleY));
        PicLocal[k]->hide();
    }
    // The tools sit on the strips and show and hide with them.
    for (int i = 0; i < 16; ++i) {
        PictureBox* strip = PicLocal[i / 4];
        strip->setStyleSheet(QStringLiteral("background: rgba(0,0,0,110);"));
        ImCmd[i] = new PictureBox(strip, pictures_, scale_);
        ImCmd[i]->Place(2 + 20 * (i % 4), 1.5, 16, 14);
        ImCmd[i]->setStyleSheet(QStringLiteral("background: transparent;"));
        ImCmd[i]->SetPicture(VideoToolPicture(i, false));
        ImCmd[i]->setScaledContents(true);
        ImCmd[i]->setVisible(VideoToolPicture(i, false) != 0);
    }
    Tiplbl = Text(0, 0, 0x000000);
    Tiplbl->setStyleSheet(QStringLiteral("background: #ffffe0; border: 1px solid #808080;"));
    Tiplbl->setAlignment(Qt::AlignCenter);
    Tiplbl->hide();

    // Names, coins and levels.
    Nid[0] = Text(181, 700, 0xFFFF80);
    Cash[0] = Text(181, 724, 0x80FFFF);
    Level[0] = Text(181, 744);
    const double infoLeft[4] = {181, 165, 509, 852};
    for (int k = 1; k <= 3; ++k) {
        Nid[k] = Text(infoLeft[k], 15, 0xFFFF80);
        Cash[k] = Text(infoLeft[k], 40, 0x80FFFF);
        Level[k] = Text(infoLeft[k], 64);
    }
    for (int k = 0; k < 4; ++k)
        for (TextLabel* l : {Nid[k], Cash[k], Level[k]}) l->setMinimumWidth(static_cast<int>(160 * scale_->ScaleX));
    for (TextLabel* l : {Nid[0], Cash[0], Level[0]}) l->setMaximumWidth(static_cast<int>(160 * scale_->ScaleX));
    Location = Text(760, 668);

    // Ready marks, speech bubbles, stake labels.
    const double okAt[4][2] = {{460, 630}, {60, 280}, {460, 110}, {900, 280}};
    for (int k = 0; k < 4; ++k) {
        OK[k] = Picture(okAt[k][0], okAt[k][1], t.ReadyPictures[0]);
        OK[k]->hide();
    }
    const double speakAt[4][2] = {{94, 513}, {8, 280}, {0, 0}, {936, 280}};
    for (int k = 0; k < 4; ++k) {
        Speak[k] = Picture(speakAt[k][0], speakAt[k][1], t.GiveUpBubblePictures[0]);
        Speak[k]->hide();
    }
    Speak[2]->MoveTo(Tou[2]->Left() + 0.8 * Tou[2]->width(), 110);  // this top is not scaled
    const double stakeAt[4][2] = {{505, 505}, {210, 355}, {500, 220}, {790, 358}};
    for (int k = 0; k < 4; ++k) {
        StakeLabel[k] = Text(stakeAt[k][0], stakeAt[k][1], 0xFFFF00);
        QFont f = StakeLabel[k]->font();
        f.setBold(true);
        StakeLabel[k]->setFont(f);
        StakeLabel[k]->setMinimumWidth(40);
        StakeLabel[k]->hide();
    }
    const double shanAt[3][2] = {{10, 260}, {390, 110}, {800, 260}};
    for (int k = 0; k < 3; ++k) {
        shanImage[k] = Picture(shanAt[k][0], shanAt[k][1]);
        shanImage[k]->Place(shanAt[k][0], shanAt[k][1], 200, 200);
        shanImage[k]->hide();
    }

    // Cards: three per position, stacked in the middle until the deal.
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < 3; ++i) {
            PictureBox* c = Picture(480, 312, p == 0 ? kCardBackPicture : t.CardPictures[18]);
            c->Place(480, 312, p == 0 ? 90 : 80, p == 0 ? 120 : 108);
            c->setScaledContents(true);
            c->hide();
            cardImage[p][i] = c;
        }

    // The action buttons, disabled until a turn offers them.
    const double opAt[9][2] = {{923, 507}, {826, 594}, {760, 600}, {886, 562}, {737, 567},
                               {785, 550}, {832, 528}, {874, 500}, {910, 468}};
    for (int k = 0; k < 9; ++k) {
        Operation[k] = Picture(opAt[k][0], opAt[k][1], t.ActionButtonPictures[3 * k + 1]);
        Operation[k]->setEnabled(false);
    }
    const double bipaiAt[3][2] = {{290, 350}, {485, 240}, {720, 350}};
    for (int k = 0; k < 3; ++k) {
        bipai[k] = Picture(bipaiAt[k][0], bipaiAt[k][1], t.CompareButtonPictures[0]);
        bipai[k]->hide();
    }

    // The bottom bar: toolbar, phrase buttons, score icon, messages and the chat line.
    for (int k = 0; k < 9; ++k) {
        const int entry = k <= 1 ? 2 * k : k == 2 ? 4 : 2 * k + 2;  // 2: start, not continue
        AnNiu[k] = Picture(0, 0, t.ToolbarPictures[entry]);
    }
    AnNiu[0]->Place(573, 730);
    for (int k = 1; k <= 8; ++k) AnNiu[k]->Place(648 + 70 * ((k - 1) % 4), 699 + 32 * ((k - 1) / 4));
    imgLocation = Picture(632, 654);
    imgLocation->Place(632, 654, 394, 39);
    imgLocation->setPixmap(named("phrase-strip"));
    imgLocation->setScaledContents(true);
    imgword1 = Picture(640, 659, 506);
    imgword2 = Picture(640, 675, 507);
    imgJishu = Picture(107, 650);
    const QPixmap scoreIcon = named("score-icon");
    if (scoreIcon.isNull()) {
        imgJishu->setText(QStringLiteral("算分"));
        imgJishu->setStyleSheet(QStringLiteral("color: #ffe080;"));
    } else {
        imgJishu->setPixmap(scoreIcon);
        imgJishu->resize(scoreIcon.size());
    }
    for (int i = 0; i < 2; ++i) {
        Sysmsg[i] = new MessageList(Pic1, scale_);
        Sysmsg[i]->Place(346, 660 + 34 * i, 222, 32);
        Sysmsg[i]->setStyleSheet(QStringLiteral(
            "QListWidget { background: rgba(0,0,0,90); color: #fff6d0; border: none; }"));
        Sysmsg[i]->setFocusPolicy(Qt::NoFocus);
    }
    Chat = new ChatLine(Pic1);
    Chat->setGeometry(static_cast<int>(346 * scale_->ScaleX), static_cast<int>(732 * scale_->ScaleY),
                      static_cast<int>(222 * scale_->ScaleX), static_cast<int>(24 * scale_->ScaleY));
    Chat->setMaxLength(200);  // room for a private prefix; the frame carries 100 characters

    Time_Img = Picture(490, 452);
    Time_Img->Place(490, 452, 81, 38);
    Time_Img->setPixmap(named("countdown"));
    Time_Img->setScaledContents(true);
    Time_Img->hide();
    Number = Text(538, 457, 0x00FF00);
    Number->resize(static_cast<int>(30 * scale_->ScaleX), static_cast<int>(26 * scale_->ScaleY));
    QFont nf = Number->font();
    nf.setPointSize(small ? 12 : 14);
    nf.setBold(true);
    Number->setFont(nf);
    Number->hide();
    img_dizhu = Picture(0, 0);
    img_dizhu->setPixmap(named("dealer"));
    img_dizhu->hide();
    Bird = Picture(936, 680);
    Bird->Place(936, 680, 82, 80);
    VsImg = Picture(0, 0, t.VsPicture);
    VsImg->hide();
    WebBrowser1 = new WebPanel(Pic1);
    WebBrowser1->setGeometry(static_cast<int>(938 * scale_->ScaleX), static_cast<int>(682 * scale_->ScaleY),
                             static_cast<int>(78 * scale_->ScaleX), static_cast<int>(76 * scale_->ScaleY));
    WebBrowser1->hide();
    for (QWidget* w : Pic1->findChildren<QWidget*>()) w->setMouseTracking(true);
}

int VideoToolPicture(int icon, bool hover) {
    // The art's icons: album, zoom, snapshot, music, close; the lit ones five further on.
    static const int kRemote[4] = {4, 1, 2, -1};  // close, zoom, snapshot, none
    const int k = icon <= 3 ? icon : kRemote[icon % 4];
    return icon < 0 || icon > 15 || k < 0 ? 0 : 850 + k + (hover ? 5 : 0);
}

void MainForm::SetBackground(bool alternative) {
    QPixmap bg;
    const QString size = scale_->ScaleX < 1.0 ? QStringLiteral("-small") : QString();
    if (pictures_) bg = pictures_->Named((alternative ? "table-blue" : "table-green") + size);
    Background->setPixmap(bg);
    Background->setGeometry(0, 0, Pic1->width(), Pic1->height());
    Background->lower();
}

void MainForm::ApplyWindowSize(QSize screen) {
    int winW, winH, picX, picY, picW, picH;
    framed_ = false;
    if (screen.height() <= 768) {
        winH = screen.height();
        picY = 0;
        picH = winH;
    } else {
        winH = kFramedHeight;
        picY = kFrameTop;
        picH = winH - kFrameTop - kFrameBottom;
        framed_ = true;
    }
    if (screen.width() <= 1024) {
        winW = screen.width();
        picX = 0;
        picW = winW;
    } else {
        winW = kFramedWidth;
        picX = kFrameSide;
        picW = winW - 2 * kFrameSide;
        framed_ = true;
    }
    setGeometry(0, 0, winW, winH);
    setFixedSize(winW, winH);
    Pic1->setGeometry(picX, picY, picW, picH);
    Background->setGeometry(0, 0, picW, picH);
    // The title bar: close and minimise at the right, the drag strip between them and the icon.
    lcaption->setVisible(framed_);
    ImgClose->setVisible(framed_);
    ImgMin->setVisible(framed_);
    if (framed_) {
        ImgClose->move(winW - ImgClose->width() - 5, 2);
        ImgMin->move(ImgClose->x() - ImgMin->width() - 2, 2);
        LbMove->setGeometry(19, 0, ImgMin->x() - 19, ImgClose->height() + 3);
        lcaption->move(20, 2);
    }
}

void MainForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

void MainForm::closeEvent(QCloseEvent* e) {
    // Closing the window is the program's end; the client decides how to get there.
    e->ignore();
    emit closeRequested();
}

void MainForm::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    if (isMinimized())
        emit minimized();
    else
        emit restored();
}

void MainForm::paintEvent(QPaintEvent*) {
    if (!framed_) return;
    QPainter p(this);
    const QPixmap skin = pictures_ ? pictures_->Named(QStringLiteral("skin")) : QPixmap();
    if (skin.isNull()) {
        p.fillRect(rect(), QColor(0x3A, 0x22, 0x10));
        p.setPen(QColor(0xC8, 0xA0, 0x40));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    for (const FramePiece& piece : FramePieces(size())) p.drawPixmap(piece.target, skin, piece.source);
}

void MainForm::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !LbMove->geometry().contains(e->position().toPoint()))
        return;
    emit dragStarted();
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;  // no system move (offscreen, a bare X server): follow the pointer
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainForm::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton))
        move(e->globalPosition().toPoint() - dragOffset_);
}

void MainForm::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void MainForm::keyPressEvent(QKeyEvent* e) { emit tableKey(e->key()); }

bool MainForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Pic1) {
        if (e->type() == QEvent::MouseMove) emit tableMouseMoved(false);
        if (e->type() == QEvent::MouseButtonPress) emit tablePressed();
        if (e->type() == QEvent::KeyPress) {
            // Taken here, so the key does not go on to the window and count twice.
            emit tableKey(static_cast<QKeyEvent*>(e)->key());
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace sorvik
