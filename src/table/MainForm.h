#pragma once
// The table window: its size for the screen, the table picture and the controls on it.

#include <QWidget>
#include <array>

#include "table/Controls.h"

namespace sorvik {

class MainForm : public QWidget {
    Q_OBJECT
public:
    MainForm(const PictureSource* pictures, const LayoutScale* scale);

    // Sizes the window and the table for a screen (pixels) and returns the layout scale:
    // full layout from 1024 × 768 up, compact below.
    static LayoutScale ScaleForScreen(QSize screen);
    void ApplyWindowSize(QSize screen);
    bool IsFramed() const { return framed_; }

    void SetCaption(const QString& caption);

    QWidget* Pic1 = nullptr;  // the table picture; every control lies on it
    TextLabel* lcaption = nullptr;
    std::array<MessageList*, 2> Sysmsg{};
    std::array<PictureBox*, 9> AnNiu{};
    PictureBox* Time_Img = nullptr;
    TextLabel* Number = nullptr;
    TextLabel* Location = nullptr;
    PictureBox* img_dizhu = nullptr;
    std::array<PictureBox*, 4> Speak{};  // the speech bubbles, by position

signals:
    void closeRequested();
    void minimized();
    void restored();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    bool framed_ = false;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace sorvik
