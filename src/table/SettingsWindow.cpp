#include "table/SettingsWindow.h"

namespace sorvik {
namespace {
const LayoutScale kUnscaled{};
}

SettingsWindow::SettingsWindow(const PictureSource* pictures, QWidget* owner) : QWidget(owner) {
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("设置"));
    setFixedSize(220, 196);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xF3, 0xE7, 0xC9));
    setPalette(p);
    if (pictures) {
        const QPixmap face = pictures->Named(QStringLiteral("settings-face"));
        if (!face.isNull()) {
            auto* bg = new QLabel(this);
            bg->setPixmap(face.scaled(size()));
            bg->setGeometry(rect());
        }
    }
    const char* const titles[4] = {"背景音乐", "游戏提示", "游戏音效", "桌面背景"};
    for (int k = 0; k < 4; ++k) {
        Titles[k] = new TextLabel(this, &kUnscaled);
        Titles[k]->SetCaption(QString::fromUtf8(titles[k]));
        Titles[k]->Place(24, 18 + 34 * k, 80, 24);
        Command2[k] = new PictureBox(this, pictures, &kUnscaled);
        Command2[k]->Place(120, 14 + 34 * k, 70, 29);
        Command2[k]->setStyleSheet(QStringLiteral("border: 1px solid #806020;"));
    }
    const char* const buttons[2] = {"确定", "取消"};
    for (int k = 0; k < 2; ++k) {
        Command1[k] = new PictureBox(this, pictures, &kUnscaled);
        Command1[k]->SetFallbackText(QString::fromUtf8(buttons[k]));
        Command1[k]->Place(24 + 100 * k, 156, 70, 29);
        Command1[k]->setStyleSheet(QStringLiteral("border: 1px solid #806020;"));
    }
}

}  // namespace sorvik
