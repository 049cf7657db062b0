#pragma once
// Thin wrappers over Qt widgets that speak the table's vocabulary: design-unit positions
// scaled in one place, pictures by resource id, captions, visibility.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <functional>

namespace sorvik {

// The layout scale: 1.0 for the full table, 0.78125 for the compact one.
struct LayoutScale {
    double ScaleX = 1.0;
    double ScaleY = 1.0;
};

// Where the numbered pictures come from; a null pixmap means the picture is missing.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual QPixmap Picture(int id) const = 0;
    // The pictures that have a name instead of a number (backgrounds, the frame skin, ...).
    virtual QPixmap Named(const QString& name) const { return {}; }
};

// Keeps a design position as doubles and rounds only when placing the widget.
class Placement {
public:
    Placement(QWidget* widget, const LayoutScale* scale) : widget_(widget), scale_(scale) {}
    // Left and top in design units (scaled here); width and height likewise, when given.
    void Place(double left, double top);
    void Place(double left, double top, double width, double height);
    // Position in window units (already scaled).
    void MoveTo(double left, double top);
    double Left() const { return left_; }
    double Top() const { return top_; }

private:
    void Apply();
    QWidget* widget_;
    const LayoutScale* scale_;
    double left_ = 0, top_ = 0;
};

// An image control: shows a numbered picture and remembers which one.
class PictureBox : public QLabel, public Placement {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, const PictureSource* pictures, const LayoutScale* scale);
    // Shows picture `id`; a missing picture leaves what is shown as it is.
    void SetPicture(int id);
    // The picture asked for last (0 when none).
    int PictureId() const { return pictureId_; }
    void ClearPicture();
    // Drawn when no picture is shown, so a control without art is still readable.
    void SetFallbackText(const QString& text);

signals:
    void clicked();
    void mouseMoved();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // A picture is drawn as it is, enabled or not: the disabled look is a picture of its own.
    void paintEvent(QPaintEvent* e) override;

private:
    const PictureSource* pictures_;
    int pictureId_ = 0;
    QString fallback_;
};

// A text label; text from the network is always plain text.
class TextLabel : public QLabel, public Placement {
    Q_OBJECT
public:
    TextLabel(QWidget* parent, const LayoutScale* scale);
    void SetCaption(const QString& text) { setText(text); }
    QString Caption() const { return text(); }
    void SetForeColor(unsigned rgb);  // a Windows colour value: red in the low byte
};

// A list box of message lines.
class MessageList : public QListWidget, public Placement {
    Q_OBJECT
public:
    MessageList(QWidget* parent, const LayoutScale* scale);
    void AddItem(const QString& line);
    QStringList Items() const;
};

// The one-line chat box: tells of each key before the box acts on it, and keeps its keys
// to itself (none reaches the table behind it).
class ChatLine : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void keyPressed(int key);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace sorvik
