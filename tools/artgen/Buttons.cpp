// Buttons, marks, emblems, speech bubbles and the small tool icons.

#include "Art.h"
#include "Paint.h"

#include <QtMath>

namespace artgen {
namespace {

const QColor kGold(0xE2, 0xB0, 0x3A);

bool IsDigits(const QString& s) {
    for (QChar c : s)
        if (!c.isDigit()) return false;
    return !s.isEmpty();
}

QFont LabelFont(const QString& label, qreal height, qreal width) {
    if (IsDigits(label)) return Latin(qMin(height * 0.42, width * 0.5 / label.size() * 1.6));
    return Cjk(qMin(height * 0.32, width * 0.34 / qMax(1, int(label.size())) * 2));
}

}  // namespace

QImage ActionButton(const QString& label, ButtonState state, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1.5, size.height() - 1.5);
    DiscColors c;
    QColor ink = Qt::white, outline;
    switch (state) {
    case ButtonState::Normal:
        c = {kGold, QColor(0x4A, 0x9A, 0xF0), QColor(0x0C, 0x3A, 0x88), Qt::white};
        outline = QColor(0x06, 0x22, 0x58);
        break;
    case ButtonState::Hover:
        c = {QColor(0xFF, 0xD0, 0x50), QColor(0xFF, 0x60, 0x50), QColor(0xA0, 0x0C, 0x0C), Qt::white};
        ink = QColor(0xFF, 0xF6, 0xC0);
        outline = QColor(0x60, 0x04, 0x04);
        break;
    case ButtonState::Disabled:
        c = {QColor(0xA6, 0xA6, 0xA6), QColor(0xCC, 0xCC, 0xCC), QColor(0x80, 0x80, 0x80), Qt::white};
        ink = QColor(0xF0, 0xF0, 0xF0);
        outline = QColor(0x68, 0x68, 0x68);
        break;
    }
    const qreal rim = qMax<qreal>(2, size.width() * 0.07);
    GlossyDisc(p, r, c, rim);
    const QFont f = LabelFont(label, size.height(), size.width());
    OutlinedText(p, r.adjusted(0, 0, 0, -0.5), label, f, ink, outline, qMax<qreal>(1.6, size.width() / 22.0));
    return image;
}

QImage ToolbarButton(const QString& label, bool hover, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    const DiscColors c = hover
        ? DiscColors{QColor(0xA0, 0x4A, 0x0C), QColor(0xFF, 0xF2, 0xB8), QColor(0xF0, 0xA8, 0x30), Qt::white}
        : DiscColors{QColor(0x6A, 0x3A, 0x10), QColor(0xF2, 0xCC, 0x74), QColor(0xBE, 0x7C, 0x22), Qt::white};
    GlossyPanel(p, r, size.height() * 0.25, c, 1.4);
    const QColor ink = hover ? QColor(0xB0, 0x10, 0x10) : QColor(0x48, 0x24, 0x04);
    const QColor halo = hover ? QColor(255, 255, 255, 200) : QColor(255, 240, 200, 150);
    OutlinedText(p, r, label, Cjk(size.height() * 0.5), ink, halo, 1.6);
    return image;
}

QImage DialogButton(const QString& label, bool hover, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    const DiscColors c = hover
        ? DiscColors{QColor(0x16, 0x48, 0x90), QColor(0xA4, 0xD0, 0xFF), QColor(0x3A, 0x7E, 0xE0), Qt::white}
        : DiscColors{QColor(0x10, 0x36, 0x70), QColor(0x70, 0xAA, 0xF0), QColor(0x1C, 0x5A, 0xB4), Qt::white};
    GlossyPanel(p, r, 6, c, 1.4);
    OutlinedText(p, r, label, Cjk(size.height() * 0.5), hover ? QColor(0xFF, 0xF4, 0xA0) : Qt::white,
                 QColor(0x0A, 0x28, 0x5A), 2.2);
    return image;
}

QImage OptionPicture(int which, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    const qreal radius = r.height() / 2;
    static const char* const kLabels[4] = {"关闭", "开启", "蓝底", "绿底"};
    const QString label = QString::fromUtf8(kLabels[which]);
    DiscColors c;
    switch (which) {
    case 0: c = {QColor(0x60, 0x60, 0x60), QColor(0xD8, 0xD8, 0xD8), QColor(0x94, 0x94, 0x94), Qt::white}; break;
    case 1: c = {QColor(0x1C, 0x60, 0x24), QColor(0x7C, 0xD8, 0x6C), QColor(0x26, 0x92, 0x34), Qt::white}; break;
    case 2: c = {QColor(0x0E, 0x2C, 0x60), QColor(0x4C, 0x86, 0xD6), QColor(0x16, 0x3E, 0x86), Qt::white}; break;
    default: c = {QColor(0x0C, 0x40, 0x1E), QColor(0x46, 0xA8, 0x5A), QColor(0x12, 0x5C, 0x2C), Qt::white}; break;
    }
    GlossyPanel(p, r, radius, c, 1.4);
    const qreal knobD = r.height() - 5;
    QRectF knob, text;
    if (which == 1) {
        // "On": the knob sits right, the label left.
        knob = QRectF(r.right() - knobD - 2.5, r.top() + 2.5, knobD, knobD);
        text = QRectF(r.left() + 4, r.top(), r.width() - knobD - 8, r.height());
    } else {
        knob = QRectF(r.left() + 2.5, r.top() + 2.5, knobD, knobD);
        text = QRectF(r.left() + knobD + 4, r.top(), r.width() - knobD - 8, r.height());
    }
    if (which <= 1) {
        GlossyDisc(p, knob, DiscColors{QColor(0x80, 0x80, 0x80), Qt::white, QColor(0xC8, 0xC8, 0xC8), Qt::white}, 1);
    } else {
        // A little card face on the table swatch.
        p.save();
        p.translate(knob.center());
        p.rotate(-12);
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.7));
        p.setBrush(Qt::white);
        const QRectF card(-knobD * 0.34, -knobD * 0.46, knobD * 0.68, knobD * 0.92);
        p.drawRoundedRect(card, 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(SuitColor(2));
        p.drawPath(SuitPath(2, card.adjusted(2.5, 4, -2.5, -4)));
        p.restore();
    }
    const QColor ink = which == 0 ? QColor(0x40, 0x40, 0x40) : Qt::white;
    const QColor outline = which == 0 ? QColor(255, 255, 255, 160) : Shade(c.dark, 0.6);
    OutlinedText(p, text, label, Cjk(r.height() * 0.52), ink, outline, 1.8);
    return image;
}

QImage PhraseButton(int number, bool hover, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(hover ? QColor(0xFF, 0xE0, 0x80) : QColor(0xB0, 0x88, 0x40), 1));
    p.setBrush(hover ? VGrad(r, QColor(0xF8, 0xD8, 0x78), QColor(0xD0, 0x90, 0x2C))
                     : VGrad(r, QColor(0x5A, 0x3A, 0x1E), QColor(0x34, 0x1E, 0x0C)));
    p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    const QString text = QStringLiteral("短语%1").arg(number);
    QFont f = Cjk(10);
    p.setPen(Qt::NoPen);
    p.setBrush(hover ? QColor(0x50, 0x20, 0x00) : QColor(0xF6, 0xE2, 0xA8));
    p.drawPath(TextPath(text, f, r));
    // A small speech mark at the left.
    p.setBrush(hover ? QColor(0x80, 0x30, 0x00) : QColor(0xE2, 0xB0, 0x3A));
    p.drawEllipse(QRectF(4, 3.5, 7, 5.5));
    QPolygonF tail;
    tail << QPointF(5.5, 8) << QPointF(4.5, 10.5) << QPointF(8, 8.5);
    p.drawPolygon(tail);
    return image;
}

QImage ReadyMark(int level, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    static const DiscColors kLevels[3] = {
        {QColor(0x14, 0x5A, 0x20), QColor(0x6C, 0xD8, 0x60), QColor(0x1E, 0x8A, 0x30), Qt::white},
        {QColor(0x10, 0x36, 0x78), QColor(0x70, 0xB0, 0xFF), QColor(0x1E, 0x5C, 0xC0), Qt::white},
        {QColor(0x80, 0x50, 0x00), QColor(0xFF, 0xE4, 0x70), QColor(0xD8, 0x90, 0x10), Qt::white},
    };
    const DiscColors& c = kLevels[qBound(0, level, 2)];
    GlossyPanel(p, r, r.height() / 2, c, 1.4);
    // A round tick badge at the left.
    const QRectF badge(r.left() + 3, r.top() + 3, r.height() - 6, r.height() - 6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(badge);
    QPainterPath tick;
    tick.moveTo(badge.left() + badge.width() * 0.24, badge.top() + badge.height() * 0.52);
    tick.lineTo(badge.left() + badge.width() * 0.43, badge.top() + badge.height() * 0.72);
    tick.lineTo(badge.left() + badge.width() * 0.78, badge.top() + badge.height() * 0.3);
    p.setPen(QPen(c.dark, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    // Stars for the higher levels at the right end, the label between.
    const qreal starRoom = level * 8;
    const QRectF text(badge.right() + 1, r.top(), r.right() - badge.right() - 3 - starRoom, r.height());
    OutlinedText(p, text, QStringLiteral("OK"), Latin(r.height() * (0.62 - 0.05 * level)), Qt::white,
                 Shade(c.dark, 0.55), 2.4);
    for (int s = 0; s < level; ++s) {
        const QPointF centre(r.right() - 7 - s * 8, r.center().y());
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = -M_PI / 2 + i * M_PI / 5;
            const qreal rr = (i % 2) ? 1.6 : 3.8;
            star << centre + QPointF(rr * qCos(a), rr * qSin(a));
        }
        p.setPen(QPen(Shade(c.dark, 0.55), 0.8));
        p.setBrush(QColor(0xFF, 0xF6, 0xC8));
        p.drawPolygon(star);
    }
    return image;
}

QImage CompareEmblem(bool red, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1.5, size.height() - 1.5);
    const DiscColors c = red
        ? DiscColors{QColor(0xFF, 0xE0, 0x90), QColor(0xFF, 0x6A, 0x50), QColor(0xB0, 0x10, 0x10), Qt::white}
        : DiscColors{QColor(0xE8, 0xFF, 0xF8), QColor(0x48, 0xD8, 0xC8), QColor(0x08, 0x78, 0x74), Qt::white};
    GlossyDisc(p, r, c, qMax<qreal>(2, size.width() * 0.07));
    // Two crossed sabres behind the label.
    p.save();
    p.translate(r.center());
    const qreal s = r.width() / 55.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(255, 255, 255, 110), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-15, 15), QPointF(15, -15));
    p.drawLine(QPointF(15, 15), QPointF(-15, -15));
    p.restore();
    OutlinedText(p, r, QStringLiteral("比牌"), Cjk(size.height() * 0.32), Qt::white,
                 red ? QColor(0x60, 0x04, 0x04) : QColor(0x03, 0x40, 0x3C), qMax<qreal>(1.6, size.width() / 22.0));
    return image;
}

QImage VsEmblem(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    p.scale(size.width() / 92.0, size.height() / 49.0);
    // A jagged burst behind the letters.
    QPainterPath burst;
    const QPointF c(46, 24.5);
    for (int i = 0; i < 28; ++i) {
        const qreal a = i * M_PI / 14;
        const qreal rx = (i % 2) ? 30 : 45, ry = (i % 2) ? 15 : 24;
        const QPointF pt(c.x() + rx * qCos(a), c.y() + ry * qSin(a));
        if (i == 0)
            burst.moveTo(pt);
        else
            burst.lineTo(pt);
    }
    burst.closeSubpath();
    QRadialGradient bg(c, 44);
    bg.setColorAt(0, QColor(0xFF, 0xF4, 0xA0, 240));
    bg.setColorAt(0.6, QColor(0xFF, 0x9A, 0x20, 220));
    bg.setColorAt(1, QColor(0xD0, 0x30, 0x00, 200));
    p.setPen(QPen(QColor(0x80, 0x20, 0x00, 200), 1));
    p.setBrush(bg);
    p.drawPath(burst);
    // The letters, slanted, with a heavy outline and a metallic fill.
    QFont f = Latin(40);
    f.setItalic(true);
    QPainterPath text = TextPath(QStringLiteral("VS"), f, QRectF(0, 0, 92, 49));
    QLinearGradient fill(0, 8, 0, 42);
    fill.setColorAt(0, QColor(0xFF, 0xFF, 0xE0));
    fill.setColorAt(0.45, QColor(0xFF, 0xD0, 0x30));
    fill.setColorAt(0.55, QColor(0xF0, 0x70, 0x10));
    fill.setColorAt(1, QColor(0xC0, 0x10, 0x10));
    p.setPen(QPen(QColor(0x30, 0x06, 0x00), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(text);
    p.setPen(QPen(QColor(255, 255, 255, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text.translated(-0.6, -0.6));
    return image;
}

QImage SpeechBubble(const QString& text, const QColor& ink, int variant, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const qreal w = size.width(), h = size.height();
    const qreal tail = h * 0.22;
    QRectF body;
    QPolygonF spike;
    switch (variant) {
    case 1:  // tail up-left
        body = QRectF(2, tail + 1, w - 4, h - tail - 4);
        spike << QPointF(w * 0.18, body.top() + 8) << QPointF(10, 2) << QPointF(w * 0.36, body.top() + 4);
        break;
    case 2:  // tail down-right
        body = QRectF(2, 2, w - 4, h - tail - 4);
        spike << QPointF(w * 0.64, body.bottom() - 4) << QPointF(w - 8, h - 2) << QPointF(w * 0.84, body.bottom() - 8);
        break;
    default:  // tail down-left
        body = QRectF(2, 2, w - 4, h - tail - 4);
        spike << QPointF(w * 0.18, body.bottom() - 8) << QPointF(8, h - 2) << QPointF(w * 0.38, body.bottom() - 4);
        break;
    }
    QPainterPath shape;
    shape.addEllipse(body);
    QPainterPath tailPath;
    tailPath.addPolygon(spike);
    tailPath.closeSubpath();
    shape = shape.united(tailPath);
    // Shadow, then the bubble.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(shape.translated(1.5, 2));
    p.setPen(QPen(QColor(0x50, 0x38, 0x20), 2));
    p.setBrush(VGrad(body, QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xF0, 0xC8)));
    p.drawPath(shape);
    OutlinedText(p, body.adjusted(4, 2, -4, -2), text, Cjk(body.height() * 0.42), ink,
                 QColor(255, 255, 255), 4);
    OutlinedText(p, body.adjusted(4, 2, -4, -2), text, Cjk(body.height() * 0.42), ink,
                 Shade(ink, 0.6), 0.8);
    return image;
}

QImage ToolIconPicture(ToolIcon icon, bool hover, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const qreal w = size.width(), h = size.height();
    const bool title = icon == ToolIcon::TitleClose || icon == ToolIcon::TitleLarger ||
                       icon == ToolIcon::TitleSmaller;
    if (title || hover) {
        // Title icons sit on a small wooden key; hover lights any icon's key.
        const QRectF key(0.5, 0.5, w - 1, h - 1);
        p.setPen(QPen(hover ? QColor(0xFF, 0xD8, 0x60) : QColor(0x2A, 0x18, 0x08), 1));
        p.setBrush(hover ? VGrad(key, QColor(0x9A, 0x62, 0x22), QColor(0x5A, 0x34, 0x10))
                         : VGrad(key, QColor(0x6E, 0x46, 0x22), QColor(0x3A, 0x22, 0x0E)));
        p.drawRoundedRect(key, 2.5, 2.5);
    }
    const QColor glyph = hover ? QColor(0xFF, 0xE0, 0x70) : QColor(0xEC, 0xE4, 0xD4);
    const QPen pen(glyph, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c(w / 2, h / 2);
    switch (icon) {
    case ToolIcon::Album:
        p.drawRect(QRectF(2.5, 2.5, w - 5, h - 5));
        p.setPen(Qt::NoPen);
        p.setBrush(glyph);
        p.drawPolygon(QPolygonF{{3.5, h - 3.5}, {7, h * 0.45}, {9.5, h - 5}, {11, h * 0.6}, {w - 3.5, h - 3.5}});
        p.drawEllipse(QPointF(w - 5, 5), 1.3, 1.3);
        break;
    case ToolIcon::Zoom:
        p.drawEllipse(QPointF(6.5, 6), 4, 4);
        p.setPen(QPen(glyph, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.6, 9.2), QPointF(13.5, 12.5));
        p.setPen(QPen(glyph, 1.1));
        p.drawLine(QPointF(4.5, 6), QPointF(8.5, 6));
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 8));
        break;
    case ToolIcon::Snapshot:
        p.setPen(Qt::NoPen);
        p.setBrush(glyph);
        p.drawRoundedRect(QRectF(1.5, 3.5, w - 3, h - 5), 1.5, 1.5);
        p.drawRect(QRectF(5, 2, 5, 2));
        p.setBrush(hover ? QColor(0x5A, 0x34, 0x10) : QColor(0x30, 0x30, 0x30));
        p.drawEllipse(QPointF(c.x(), c.y() + 1), 3.2, 3.2);
        p.setBrush(glyph);
        p.drawEllipse(QPointF(c.x(), c.y() + 1), 1.5, 1.5);
        break;
    case ToolIcon::Music:
        p.setPen(Qt::NoPen);
        p.setBrush(glyph);
        p.drawEllipse(QPointF(4.5, h - 3.5), 2.4, 1.9);
        p.drawEllipse(QPointF(11.5, h - 4.5), 2.4, 1.9);
        p.setPen(pen);
        p.drawLine(QPointF(6.6, h - 3.5), QPointF(6.6, 2.5));
        p.drawLine(QPointF(13.6, h - 4.5), QPointF(13.6, 1.5));
        p.setPen(QPen(glyph, 2.2));
        p.drawLine(QPointF(6.6, 2.8), QPointF(13.6, 1.8));
        break;
    case ToolIcon::Close:
    case ToolIcon::TitleClose:
        p.setPen(QPen(glyph, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() - 3.5, c.y() - 3.5), QPointF(c.x() + 3.5, c.y() + 3.5));
        p.drawLine(QPointF(c.x() + 3.5, c.y() - 3.5), QPointF(c.x() - 3.5, c.y() + 3.5));
        break;
    case ToolIcon::TitleLarger:
        p.setPen(QPen(glyph, 1.2));
        p.drawRect(QRectF(c.x() - 4, c.y() - 3.5, 8, 7));
        p.setPen(QPen(glyph, 1.8));
        p.drawLine(QPointF(c.x() - 4, c.y() - 3.5), QPointF(c.x() + 4, c.y() - 3.5));
        break;
    case ToolIcon::TitleSmaller:
        p.setPen(QPen(glyph, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() - 4, c.y() + 3), QPointF(c.x() + 4, c.y() + 3));
        break;
    case ToolIcon::ShowVideo:
        p.drawRoundedRect(QRectF(1.5, 1.5, w - 3, h - 4.5), 1.5, 1.5);
        p.drawLine(QPointF(5, h - 1), QPointF(w - 5, h - 1));
        p.setPen(Qt::NoPen);
        p.setBrush(glyph);
        p.drawPolygon(QPolygonF{{c.x() - 2, c.y() - 3.5}, {c.x() + 3, c.y() - 1}, {c.x() - 2, c.y() + 1.5}});
        break;
    }
    return image;
}

}  // namespace artgen
