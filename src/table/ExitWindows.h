#pragma once
// The two small leave windows: the exit confirmation (frmExit) and the message window
// that says why the table ended (frmOtherExit).

#include <QWidget>

#include "table/Controls.h"

namespace sorvik {

class ExitConfirmWindow : public QWidget {
    Q_OBJECT
public:
    ExitConfirmWindow(const PictureSource* pictures, const LayoutScale* scale);
    TextLabel* Label1;
    TextLabel* Label2;
    PictureBox* pbCloseMe;
    PictureBox* pbCancel;
};

class OtherExitWindow : public QWidget {
    Q_OBJECT
public:
    OtherExitWindow(const PictureSource* pictures, const LayoutScale* scale);
    TextLabel* Label1;
    PictureBox* imgOK;
    PictureBox* imgCancel;
};

// Centres a window over another one.
void CentreOver(QWidget* window, const QWidget* over);

}  // namespace sorvik
