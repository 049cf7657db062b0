#pragma once
// The table window: its size for the screen, the table picture and every control on it,
// placed in design units for the layout scale.

#include <QLineEdit>
#include <QWidget>
#include <array>

#include "table/Controls.h"
#include "table/core/PictureTables.h"

namespace sorvik {

// The picture of video tool `icon` (normal or lit), 0 for the one that has none.
int VideoToolPicture(int icon, bool hover);

class MainForm : public QWidget {
    Q_OBJECT
public:
    MainForm(const PictureSource* pictures, const LayoutScale* scale);

    // Sizes the window and the table for a screen (pixels) and returns the layout scale:
    // full layout from 1024 × 768 up, compact below.
    static LayoutScale ScaleForScreen(QSize screen);
    void ApplyWindowSize(QSize screen);
    bool IsFramed() const { return framed_; }
    // Creates, places and pictures every control of the table.
    void LayOutTable(const PictureTables& tables);
    // The table's background: the green felt, or the blue one of the settings window.
    void SetBackground(bool alternative);

    void SetCaption(const QString& caption);

    QWidget* Pic1 = nullptr;  // the table picture; every control lies on it
    QLabel* Background = nullptr;
    PictureBox* imgDinglan = nullptr;  // the top bar
    PictureBox* imgDilan = nullptr;    // the bottom bar
    TextLabel* lcaption = nullptr;
    std::array<MessageList*, 2> Sysmsg{};
    ChatLine* Chat = nullptr;
    std::array<PictureBox*, 9> AnNiu{};
    std::array<PictureBox*, 9> Operation{};
    std::array<PictureBox*, 3> bipai{};
    std::array<std::array<PictureBox*, 3>, 4> cardImage{};  // cardImage0 .. cardImage3
    std::array<PictureBox*, 4> Tou{};
    std::array<TextLabel*, 4> Nid{}, Cash{}, Level{};
    std::array<PictureBox*, 4> OK{};
    std::array<PictureBox*, 4> Speak{};  // the speech bubbles
    std::array<TextLabel*, 4> StakeLabel{};  // Label1 .. Label4
    std::array<PictureBox*, 4> ImgKuang{};   // items 1..3: frames of the opponents' panels
    std::array<PictureBox*, 4> ImgShow{};    // items 1..3
    std::array<PictureBox*, 4> PicLocal{};
    std::array<class VideoDisplay*, 4> vshow{};  // items 1..3: the opponents' video
    class VideoDisplay* vcap1 = nullptr;         // the local camera's picture
    // The video tools on the strips: 0..3 the local ones, then four per remote position.
    std::array<PictureBox*, 16> ImCmd{};
    TextLabel* Tiplbl = nullptr;  // names a local tool under the pointer
    std::array<PictureBox*, 3> shanImage{};
    PictureBox* Time_Img = nullptr;
    TextLabel* Number = nullptr;
    TextLabel* Location = nullptr;
    PictureBox* img_dizhu = nullptr;
    PictureBox* imgword1 = nullptr;
    PictureBox* imgword2 = nullptr;
    PictureBox* imgLocation = nullptr;
    PictureBox* imgJishu = nullptr;
    PictureBox* Bird = nullptr;
    PictureBox* VsImg = nullptr;
    class WebPanel* WebBrowser1 = nullptr;  // the news panel over the Bird picture
    // The title bar: item 0 the visible button; the normal, hover and pressed pictures are
    // drawn by the buttons themselves from the skin.
    PictureBox* ImgClose = nullptr;
    PictureBox* ImgMin = nullptr;
    QLabel* LbMove = nullptr;

    // Where the eight skin regions are painted in a window of this size (pixels): the
    // corners, the top, the sides, the bottom, in that order of the skin.
    struct FramePiece {
        QRect target, source;
    };
    static std::array<FramePiece, 8> FramePieces(QSize window);

signals:
    void closeRequested();
    void minimized();
    void restored();
    void tableMouseMoved(bool fromBottomBar);
    void tablePressed();
    void tableKey(int key);
    void dragStarted();  // a press on the caption strip

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    PictureBox* Picture(double left, double top, int id = 0);
    TextLabel* Text(double left, double top, unsigned color = 0xFFFFFF);

    const PictureSource* pictures_;
    const LayoutScale* scale_;
    bool framed_ = false;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace sorvik
