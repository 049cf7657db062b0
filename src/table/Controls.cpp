#include "table/Controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace sorvik {

void Placement::Place(double left, double top) {
    left_ = left * scale_->ScaleX;
    top_ = top * scale_->ScaleY;
    Apply();
}

void Placement::Place(double left, double top, double width, double height) {
    widget_->resize(static_cast<int>(std::lround(width * scale_->ScaleX)),
                    static_cast<int>(std::lround(height * scale_->ScaleY)));
    Place(left, top);
}

void Placement::MoveTo(double left, double top) {
    left_ = left;
    top_ = top;
    Apply();
}

void Placement::Apply() {
    widget_->move(static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)));
}

PictureBox::PictureBox(QWidget* parent, const PictureSource* pictures, const LayoutScale* scale)
    : QLabel(parent), Placement(this, scale), pictures_(pictures) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setMouseTracking(true);
}

void PictureBox::SetPicture(int id) {
    pictureId_ = id;
    const QPixmap pixmap = pictures_ ? pictures_->Picture(id) : QPixmap();
    if (pixmap.isNull()) {
        if (this->pixmap().isNull() && !fallback_.isEmpty()) setText(fallback_);
        return;
    }
    setPixmap(pixmap);
    // A control without a fixed size takes its picture's size; a stretched one keeps its own.
    if (!hasScaledContents() && (width() < pixmap.width() || height() < pixmap.height()))
        resize(pixmap.size());
}

void PictureBox::ClearPicture() {
    pictureId_ = 0;
    clear();
}

void PictureBox::SetFallbackText(const QString& text) {
    fallback_ = text;
    if (pixmap().isNull()) setText(text);
}

void PictureBox::paintEvent(QPaintEvent* e) {
    const QPixmap shown = pixmap();
    if (shown.isNull()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    if (hasScaledContents()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), shown);
    } else {
        p.drawPixmap((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown);
    }
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    // Taken here: passed on, the move would reach the table behind and undo the hover.
    e->accept();
    emit mouseMoved();
}

TextLabel::TextLabel(QWidget* parent, const LayoutScale* scale)
    : QLabel(parent), Placement(this, scale) {
    setTextFormat(Qt::PlainText);
}

void TextLabel::SetForeColor(unsigned rgb) {
    const QColor color(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

MessageList::MessageList(QWidget* parent, const LayoutScale* scale)
    : QListWidget(parent), Placement(this, scale) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
}

void MessageList::AddItem(const QString& line) { addItem(line); }

QStringList MessageList::Items() const {
    QStringList lines;
    for (int i = 0; i < count(); ++i) lines << item(i)->text();
    return lines;
}

void ChatLine::keyPressEvent(QKeyEvent* e) {
    emit keyPressed(e->key());
    QLineEdit::keyPressEvent(e);
    e->accept();
}

}  // namespace sorvik
