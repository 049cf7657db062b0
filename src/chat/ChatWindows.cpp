#include "chat/ChatWindows.h"

#include <QKeyEvent>

namespace sorvik {
namespace {

const LayoutScale kUnscaled{};

// A small floating panel over the table: no frame of its own, kept above the table.
void StylePanel(QWidget* w, QWidget* owner, const LayoutScale* scale, int width, int height) {
    w->setParent(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setFixedSize(static_cast<int>(width * scale->ScaleX), static_cast<int>(height * scale->ScaleX));
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor(0x1E, 0x3A, 0x28));
    w->setPalette(p);
    w->setStyleSheet(QStringLiteral(
        "QListWidget { background: #10261a; color: #fff6d0; border: 1px solid #c8a050; }"
        "QListWidget::item:selected { background: #6a5020; }"));
}

QLabel* Heading(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setStyleSheet(QStringLiteral("color: #ffe080; font-weight: bold;"));
    l->move(8, 4);
    return l;
}

PictureBox* CloseLabel(QWidget* parent, const PictureSource* pictures) {
    auto* b = new PictureBox(parent, pictures, &kUnscaled);
    b->SetFallbackText(QStringLiteral("关闭"));
    b->setStyleSheet(QStringLiteral("color: #ffe080; border: 1px solid #c8a050;"));
    b->setGeometry(parent->width() - 44, 3, 40, 18);
    return b;
}

QRect Below(QWidget* parent) { return {4, 24, parent->width() - 8, parent->height() - 28}; }

}  // namespace

TalkWindow::TalkWindow(const PictureSource* pictures, const LayoutScale* scale, QWidget* owner) {
    StylePanel(this, owner, scale, 340, 180);
    Heading(this, QStringLiteral("聊天记录"));
    Label1 = CloseLabel(this, pictures);
    Text1 = new MessageList(this, &kUnscaled);
    Text1->setGeometry(Below(this));
    Text1->installEventFilter(this);
}

bool TalkWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Text1 && e->type() == QEvent::KeyPress) emit listKey(static_cast<QKeyEvent*>(e)->key());
    return QWidget::eventFilter(watched, e);
}

PhraseWindow::PhraseWindow(const PictureSource* pictures, const LayoutScale* scale, QWidget* owner) {
    StylePanel(this, owner, scale, 300, 180);
    Heading(this, QStringLiteral("快捷短语"));
    Label1 = CloseLabel(this, pictures);
    List1 = new QListWidget(this);
    List2 = new QListWidget(this);
    for (QListWidget* list : {List1, List2}) list->setGeometry(Below(this));
    List2->hide();
}

}  // namespace sorvik
