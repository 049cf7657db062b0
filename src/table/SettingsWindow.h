#pragma once
// The sound settings window (VosSet): four option pictures and accept/cancel.

#include <QWidget>
#include <array>

#include "table/Controls.h"

namespace sorvik {

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    SettingsWindow(const PictureSource* pictures, QWidget* owner);
    std::array<PictureBox*, 4> Command2{};  // options: music, spare, effects, background
    std::array<PictureBox*, 2> Command1{};  // accept, cancel
    std::array<TextLabel*, 4> Titles{};
    std::array<bool, 4> Changed{};
};

}  // namespace sorvik
