#include "table/InformationWindow.h"

#include <cmath>

namespace sorvik {
namespace {
const LayoutScale kUnscaled{};
}

InformationWindow::InformationWindow(QWidget* owner) : QWidget(owner) {
    setWindowFlags(Qt::ToolTip | Qt::WindowStaysOnTopHint);
    setFixedSize(200, 9 * 20 + 16);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xFF, 0xF8, 0xDC));
    p.setColor(QPalette::WindowText, QColor(0x40, 0x20, 0x00));
    setPalette(p);
    const char* const titles[9] = {"玩家昵称", "性    别", "所 在 地", "积    分", "信 用 度",
                                   "登录次数", "掉线次数", "胜场次数", "败场次数"};
    for (int k = 0; k < 9; ++k) {
        Label[k] = new TextLabel(this, &kUnscaled);
        Label[k]->SetCaption(QString::fromUtf8(titles[k]));
        Label[k]->Place(10, 8 + 20 * k);
        Inf[k] = new TextLabel(this, &kUnscaled);
        Inf[k]->Place(86, 8 + 20 * k);
        QFont f = Inf[k]->font();
        f.setPointSize(12);
        Inf[k]->setFont(f);
        Inf[k]->setAttribute(Qt::WA_TranslucentBackground);
    }
}

void InformationWindow::Fill(const SeatProfile& p) {
    const QString values[9] = {p.NickName,
                               p.IsMale ? QStringLiteral("男") : QStringLiteral("女"),
                               p.Location,
                               PlainAmount(p.Points),
                               PlainAmount(p.Credit),
                               QString::number(p.Logins),
                               QString::number(p.Drops),
                               QString::number(p.Wins),
                               QString::number(p.Losses)};
    for (int k = 0; k < 9; ++k) {
        Inf[k]->SetCaption(values[k]);
        Inf[k]->adjustSize();
    }
}

}  // namespace sorvik
