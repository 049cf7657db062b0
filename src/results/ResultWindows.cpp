#include "results/ResultWindows.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>

namespace sorvik {
namespace {

const LayoutScale kUnscaled{};

void Paper(QWidget* w) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor(0xF6, 0xEB, 0xCF));
    p.setColor(QPalette::WindowText, QColor(0x3A, 0x22, 0x10));
    p.setColor(QPalette::Base, QColor(0xFF, 0xFA, 0xEA));
    w->setPalette(p);
}

MessageList* List(QWidget* parent, int left, int top, int width, int height) {
    auto* l = new MessageList(parent, &kUnscaled);
    l->Place(left, top, width, height);
    return l;
}

TextLabel* Label(QWidget* parent, int left, int top, const QString& text = {}) {
    auto* l = new TextLabel(parent, &kUnscaled);
    l->Place(left, top);
    l->SetCaption(text);
    l->setMinimumWidth(100);
    return l;
}

PictureBox* Face(QWidget* parent, const PictureSource* pictures, int left, int top) {
    auto* f = new PictureBox(parent, pictures, &kUnscaled);
    f->Place(left, top, 48, 50);
    f->setScaledContents(true);
    return f;
}

}  // namespace

RecordWindow::RecordWindow(const QString& title, QSize size, QWidget* owner) : QWidget(owner) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowTitle(title);
    setFixedSize(size);
    Paper(this);
    auto* caption = new TextLabel(this, &kUnscaled);
    caption->SetCaption(title);
    QFont f = caption->font();
    f.setBold(true);
    f.setPointSize(12);
    caption->setFont(f);
    caption->Place(12, 6);
    Image1 = new PictureBox(this, nullptr, &kUnscaled);
    Image1->SetFallbackText(QStringLiteral("✕"));
    Image1->Place(size.width() - 26, 4, 20, 20);
    Image1->setStyleSheet(QStringLiteral("border: 1px solid #806020; border-radius: 3px;"));
    connect(Image1, &PictureBox::clicked, this, &QWidget::hide);
}

void RecordWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;  // without a window manager's move: follow the pointer
    offset_ = e->globalPosition().toPoint() - pos();
}

void RecordWindow::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - offset_);
}

void RecordWindow::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

ScoreWindow::ScoreWindow(const PictureSource* pictures, QWidget* owner)
    : RecordWindow(QStringLiteral("战绩板"), QSize(560, 330), owner) {
    for (int k = 0; k < 4; ++k) {
        const int left = 10 + 136 * k;
        Tou[k] = Face(this, pictures, left, 32);
        ID[k] = Label(this, left + 52, 48, QStringLiteral("玩家%1").arg(k));
        State[k] = List(this, left, 88, 130, 196);
        State[k + 4] = List(this, left, 288, 130, 30);
    }
}

HeroWindow::HeroWindow(const PictureSource* pictures, QWidget* owner)
    : RecordWindow(QStringLiteral("英雄榜"), QSize(600, 340), owner) {
    Label1 = Label(this, 14, 84, QStringLiteral("局 数"));
    Num = List(this, 10, 104, 90, 196);
    Label2 = Label(this, 10, 308, QStringLiteral("输赢总分："));
    for (int k = 0; k < 4; ++k) {
        const int left = 106 + 122 * k;
        Tou[k] = Face(this, pictures, left, 32);
        ID[k] = Label(this, left + 52, 48);
        Grade[k] = List(this, left, 104, 116, 196);
        sunScore[k] = Label(this, left, 308);
        sunScore[k]->hide();
    }
    connect(Num, &QListWidget::itemClicked, this, [this] { emit numClicked(); });
    connect(Num, &QListWidget::itemDoubleClicked, this, [this] { emit doubleClicked(Num->currentRow()); });
    for (int k = 0; k < 4; ++k) {
        connect(Grade[k], &QListWidget::itemClicked, this, [this, k] { emit gradeClicked(k); });
        connect(Grade[k], &QListWidget::itemDoubleClicked, this,
                [this, k] { emit doubleClicked(Grade[k]->currentRow()); });
    }
}

SuanfenWindow::SuanfenWindow(QWidget* owner) : QWidget(owner) {
    setWindowFlags(Qt::ToolTip);
    setFixedSize(260, 96);
    Paper(this);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) {
            auto* l = new TextLabel(this, &kUnscaled);
            l->Place(10 + 90 * col, 8 + 21 * row);
            l->setMinimumWidth(80);
            sf[row + 4 * col] = l;
        }
}

}  // namespace sorvik
