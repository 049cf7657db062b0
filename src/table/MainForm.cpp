#include "table/MainForm.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace sorvik {
namespace {

// 15 twips to the pixel: the framed window is 15600 × 11940 twips.
constexpr int kFramedWidth = 1040;
constexpr int kFramedHeight = 796;
constexpr int kFrameSide = 8;
constexpr int kFrameTop = 20;
constexpr int kFrameBottom = 8;

const char* const kToolbarCaptions[9] = {"发送", "聊天", "开始", "设置", "隐藏",
                                         "战绩", "历史", "规则", "退出"};

}  // namespace

LayoutScale MainForm::ScaleForScreen(QSize screen) {
    const bool full = screen.height() >= 768 && screen.width() >= 1024;
    const double s = full ? 1.0 : 0.78125;
    return {s, s};
}

MainForm::MainForm(const PictureSource* pictures, const LayoutScale* scale) {
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

    lcaption = new TextLabel(this, scale);
    lcaption->SetCaption(QStringLiteral("Morvel游戏--Sorvik"));
    lcaption->SetForeColor(0xFFFFFF);
    lcaption->move(20, 2);

    for (int i = 0; i < 2; ++i) {
        Sysmsg[i] = new MessageList(Pic1, scale);
        Sysmsg[i]->Place(300, 646 + 52 * i, 330, 48);
    }
    for (int k = 0; k < 9; ++k) {
        AnNiu[k] = new PictureBox(Pic1, pictures, scale);
        AnNiu[k]->SetFallbackText(QString::fromUtf8(kToolbarCaptions[k]));
        AnNiu[k]->setStyleSheet(QStringLiteral("color: white; border: 1px solid #c8a040;"));
    }
    AnNiu[0]->Place(573, 730, 66, 28);
    for (int k = 1; k <= 8; ++k) {
        const int row = (k - 1) / 4, col = (k - 1) % 4;
        AnNiu[k]->Place(648 + 70 * col, 699 + 32 * row, 66, 28);
    }
    Time_Img = new PictureBox(Pic1, pictures, scale);
    Time_Img->Place(470, 560, 81, 38);
    Time_Img->hide();
    Number = new TextLabel(Pic1, scale);
    Number->Place(518, 565, 24, 24);
    Number->hide();
    Location = new TextLabel(Pic1, scale);
    Location->Place(760, 668);
    Location->SetForeColor(0xFFFFFF);
    img_dizhu = new PictureBox(Pic1, pictures, scale);
    img_dizhu->hide();
    const double speakAt[4][2] = {{94, 513}, {8, 280}, {350 + 0.8 * 70, -1}, {936, 280}};
    for (int p = 0; p < 4; ++p) {
        Speak[p] = new PictureBox(Pic1, pictures, scale);
        if (speakAt[p][1] < 0)
            Speak[p]->MoveTo(speakAt[p][0] * scale->ScaleX, 110);  // this top is not scaled
        else
            Speak[p]->Place(speakAt[p][0], speakAt[p][1]);
        Speak[p]->hide();
    }
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
    lcaption->setVisible(framed_);
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
    p.fillRect(rect(), QColor(0x3A, 0x22, 0x10));
    p.setPen(QColor(0xC8, 0xA0, 0x40));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MainForm::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || e->position().y() >= kFrameTop) return;
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainForm::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton))
        move(e->globalPosition().toPoint() - dragOffset_);
    else
        dragging_ = false;
}

}  // namespace sorvik
