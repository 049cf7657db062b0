#include "table/ExitWindows.h"

namespace sorvik {
namespace {

const LayoutScale kUnscaled{};

void StyleDialog(QWidget* w) {
    w->setWindowTitle(QStringLiteral("退出"));
    w->setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint);
    w->setFixedSize(300, 140);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor(0xF3, 0xE7, 0xC9));
    w->setPalette(p);
}

PictureBox* DialogButton(QWidget* parent, const PictureSource* pictures, const QString& text,
                         int left, int width) {
    auto* b = new PictureBox(parent, pictures, &kUnscaled);
    b->SetFallbackText(text);
    b->setStyleSheet(QStringLiteral("border: 1px solid #806020; background: #e8d3a0;"));
    b->Place(left, 96, width, 30);
    return b;
}

}  // namespace

void CentreOver(QWidget* window, const QWidget* over) {
    const QRect g = over->frameGeometry();
    window->move(g.left() + (g.width() - window->width()) / 2,
                 g.top() + (g.height() - window->height()) / 2);
}

ExitConfirmWindow::ExitConfirmWindow(const PictureSource* pictures, const LayoutScale*) {
    StyleDialog(this);
    Label1 = new TextLabel(this, &kUnscaled);
    Label1->SetCaption(QStringLiteral("您真的要退出吗？"));
    Label1->Place(30, 22, 240, 22);
    Label2 = new TextLabel(this, &kUnscaled);
    Label2->SetCaption(QStringLiteral("游戏正在进行，逃跑会扣分！"));
    Label2->SetForeColor(0x0000C0);
    Label2->Place(30, 52, 240, 22);
    pbCloseMe = DialogButton(this, pictures, QStringLiteral("确定"), 60, 65);
    pbCancel = DialogButton(this, pictures, QStringLiteral("取消"), 175, 65);
}

OtherExitWindow::OtherExitWindow(const PictureSource* pictures, const LayoutScale*) {
    StyleDialog(this);
    Label1 = new TextLabel(this, &kUnscaled);
    Label1->setWordWrap(true);
    Label1->Place(20, 14, 260, 70);
    imgOK = DialogButton(this, pictures, QStringLiteral("确定"), 60, 70);
    imgCancel = DialogButton(this, pictures, QStringLiteral("取消"), 170, 70);
}

}  // namespace sorvik
