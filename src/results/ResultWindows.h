#pragma once
// The score window (the bill of one game), the hero window (the games of this table) and
// the hover score table.

#include <QWidget>
#include <array>

#include "table/Controls.h"

namespace sorvik {

// A small top-level window dragged by its background and closed by its close picture.
class RecordWindow : public QWidget {
    Q_OBJECT
public:
    RecordWindow(const QString& title, QSize size, QWidget* owner);
    PictureBox* Image1;  // the close picture

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool dragging_ = false;
    QPoint offset_;
};

class ScoreWindow : public RecordWindow {
    Q_OBJECT
public:
    ScoreWindow(const PictureSource* pictures, QWidget* owner);
    std::array<MessageList*, 8> State{};
    std::array<TextLabel*, 4> ID{};
    std::array<PictureBox*, 4> Tou{};
};

class HeroWindow : public RecordWindow {
    Q_OBJECT
public:
    HeroWindow(const PictureSource* pictures, QWidget* owner);
    MessageList* Num;
    std::array<MessageList*, 4> Grade{};
    std::array<TextLabel*, 4> sunScore{};
    std::array<TextLabel*, 4> ID{};
    std::array<PictureBox*, 4> Tou{};
    TextLabel* Label1;
    TextLabel* Label2;

signals:
    void numClicked();
    void gradeClicked(int k);
    void doubleClicked(int row);
};

class SuanfenWindow : public QWidget {
    Q_OBJECT
public:
    explicit SuanfenWindow(QWidget* owner);
    std::array<TextLabel*, 12> sf{};
};

}  // namespace sorvik
