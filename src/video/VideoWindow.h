#pragma once
// An enlarged video window (frm_Local, frm_Remote1..3): a framed display in three sizes with
// three title icons (close, larger, smaller), kept above the table and moved by dragging
// anywhere on it.

#include <QWidget>
#include <array>

#include "table/Controls.h"

namespace sorvik {

class VideoDisplay;

class VideoWindow : public QWidget {
    Q_OBJECT
public:
    enum Size { kSmall = 0, kNormal = 1, kLarge = 2 };
    VideoWindow(const PictureSource* pictures, const LayoutScale& scale, QWidget* owner);

    // The window's size with its background, display and title icons. `atLoad` places the
    // icons as a freshly opened window has them.
    void ApplySize(Size size, bool atLoad);
    Size CurrentSize() const { return size_; }
    // The icons' place and size in twips, for the window's current size.
    QRectF IconTwips(int i) const { return icons_[i]; }

    VideoDisplay* Display = nullptr;
    std::array<PictureBox*, 3> ImgCmd{};  // close, larger, smaller

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int X(double twips) const;
    int Y(double twips) const;
    const PictureSource* pictures_;
    const LayoutScale& scale_;
    QLabel* background_ = nullptr;
    Size size_ = kNormal;
    std::array<QRectF, 3> icons_{};
    int pictureOffset_ = 0;  // 3: the compact set's pictures
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace sorvik
