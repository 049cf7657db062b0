#include "Paint.h"

#include <QRandomGenerator>
#include <QtMath>

namespace artgen {

QImage Canvas(QSize size, QColor fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void Begin(QPainter& p, QImage& image) {
    p.begin(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
}

QFont Cjk(qreal pixelSize, bool bold) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont Latin(qreal pixelSize, bool bold, bool condensed) {
    QFont f(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    if (condensed) f.setStretch(QFont::Condensed);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont Serif(qreal pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPainterPath TextPath(const QString& text, const QFont& font, const QRectF& box) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    path.translate(box.center() - b.center());
    return path;
}

void OutlinedText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                  const QBrush& fill, const QColor& outline, qreal outlineWidth) {
    const QPainterPath path = TextPath(text, font, box);
    p.save();
    if (outlineWidth > 0) {
        p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

namespace {

// The suit shapes in a unit square from -1 to 1, y pointing down.
QPainterPath UnitSuit(int suit) {
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    switch (suit) {
    case 0:  // diamond, sides slightly drawn in
        p.moveTo(0, -1);
        p.quadTo(0.28, -0.42, 0.74, 0);
        p.quadTo(0.28, 0.42, 0, 1);
        p.quadTo(-0.28, 0.42, -0.74, 0);
        p.quadTo(-0.28, -0.42, 0, -1);
        break;
    case 2:  // heart
        p.moveTo(0, 0.95);
        p.cubicTo(-0.32, 0.6, -1.0, 0.2, -1.0, -0.38);
        p.cubicTo(-1.0, -0.78, -0.72, -0.98, -0.48, -0.98);
        p.cubicTo(-0.22, -0.98, -0.04, -0.8, 0, -0.56);
        p.cubicTo(0.04, -0.8, 0.22, -0.98, 0.48, -0.98);
        p.cubicTo(0.72, -0.98, 1.0, -0.78, 1.0, -0.38);
        p.cubicTo(1.0, 0.2, 0.32, 0.6, 0, 0.95);
        break;
    case 3:  // spade: an upturned heart on a flared stem
        p.moveTo(0, -1);
        p.cubicTo(-0.34, -0.6, -1.0, -0.28, -1.0, 0.2);
        p.cubicTo(-1.0, 0.54, -0.74, 0.7, -0.5, 0.7);
        p.cubicTo(-0.3, 0.7, -0.13, 0.6, -0.07, 0.46);
        p.cubicTo(-0.09, 0.72, -0.2, 0.9, -0.42, 1.0);
        p.lineTo(0.42, 1.0);
        p.cubicTo(0.2, 0.9, 0.09, 0.72, 0.07, 0.46);
        p.cubicTo(0.13, 0.6, 0.3, 0.7, 0.5, 0.7);
        p.cubicTo(0.74, 0.7, 1.0, 0.54, 1.0, 0.2);
        p.cubicTo(1.0, -0.28, 0.34, -0.6, 0, -1);
        break;
    default: {  // club: three lobes on a flared stem
        QPainterPath lobes;
        lobes.setFillRule(Qt::WindingFill);
        lobes.addEllipse(QPointF(0, -0.5), 0.46, 0.46);
        lobes.addEllipse(QPointF(-0.52, 0.16), 0.46, 0.46);
        lobes.addEllipse(QPointF(0.52, 0.16), 0.46, 0.46);
        lobes.addEllipse(QPointF(0, 0.02), 0.3, 0.3);
        QPainterPath stem;
        stem.moveTo(-0.08, 0.1);
        stem.lineTo(0.08, 0.1);
        stem.cubicTo(0.1, 0.6, 0.2, 0.88, 0.42, 1.0);
        stem.lineTo(-0.42, 1.0);
        stem.cubicTo(-0.2, 0.88, -0.1, 0.6, -0.08, 0.1);
        p = lobes.united(stem);
        break;
    }
    }
    return p;
}

}  // namespace

QPainterPath SuitPath(int suit, const QRectF& box) {
    const qreal s = qMin(box.width(), box.height()) / 2;
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(s, s);
    return t.map(UnitSuit(suit));
}

bool IsRedSuit(int suit) { return suit == 0 || suit == 2; }

QColor SuitColor(int suit) { return IsRedSuit(suit) ? QColor(0xD0, 0x10, 0x1E) : QColor(0x14, 0x14, 0x18); }

QLinearGradient VGrad(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void GlossyDisc(QPainter& p, const QRectF& r, const DiscColors& c, qreal rimWidth) {
    p.save();
    p.setPen(Qt::NoPen);
    // Soft drop shadow under the disc.
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(r.translated(0, rimWidth * 0.5).adjusted(0.5, 0.5, -0.5, 0));
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, Shade(c.rim, 1.35));
    rim.setColorAt(0.5, c.rim);
    rim.setColorAt(1, Shade(c.rim, 0.6));
    p.setBrush(rim);
    p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF body = r.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
    QRadialGradient g(body.center() + QPointF(0, body.height() * 0.25), body.width() * 0.75);
    g.setColorAt(0, c.light);
    g.setColorAt(1, c.dark);
    p.setBrush(g);
    p.drawEllipse(body);
    // Gloss: a pale ellipse over the upper half, fading downwards.
    const QRectF gloss(body.left() + body.width() * 0.14, body.top() + body.height() * 0.04,
                       body.width() * 0.72, body.height() * 0.5);
    QLinearGradient gg(gloss.topLeft(), gloss.bottomLeft());
    QColor g0 = c.gloss, g1 = c.gloss;
    g0.setAlpha(150);
    g1.setAlpha(0);
    gg.setColorAt(0, g0);
    gg.setColorAt(1, g1);
    p.setBrush(gg);
    p.drawEllipse(gloss);
    p.restore();
}

void GlossyPanel(QPainter& p, const QRectF& r, qreal radius, const DiscColors& c,
                 qreal rimWidth) {
    p.save();
    p.setPen(Qt::NoPen);
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, Shade(c.rim, 1.3));
    rim.setColorAt(1, Shade(c.rim, 0.6));
    p.setBrush(rim);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const QRectF body = r.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
    const qreal inner = qMax<qreal>(0, radius - rimWidth);
    p.setBrush(VGrad(body, c.light, c.dark));
    p.drawRoundedRect(body, inner, inner);
    const QRectF gloss(body.left() + 1, body.top() + 0.5, body.width() - 2, body.height() * 0.48);
    QLinearGradient gg(gloss.topLeft(), gloss.bottomLeft());
    QColor g0 = c.gloss, g1 = c.gloss;
    g0.setAlpha(120);
    g1.setAlpha(20);
    gg.setColorAt(0, g0);
    gg.setColorAt(1, g1);
    p.setBrush(gg);
    p.drawRoundedRect(gloss, inner, inner);
    p.restore();
}

void WoodGrain(QPainter& p, const QPainterPath& area, const QColor& base, unsigned seed,
               bool vertical) {
    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    const QRectF b = area.boundingRect();
    p.fillRect(b, base);
    QRandomGenerator rng(seed);
    const qreal length = vertical ? b.height() : b.width();
    const qreal across = vertical ? b.width() : b.height();
    const int lines = qMax(4, int(across / 2.2));
    for (int i = 0; i < lines; ++i) {
        const qreal at = across * (i + rng.generateDouble()) / lines;
        const qreal amp = 0.6 + rng.generateDouble() * 2.2;
        const qreal wave = 40 + rng.generateDouble() * 160;
        const qreal phase = rng.generateDouble() * 6.28;
        const bool dark = rng.bounded(3) != 0;
        QColor c = dark ? Shade(base, 0.72 + rng.generateDouble() * 0.12)
                        : Shade(base, 1.12 + rng.generateDouble() * 0.1);
        c.setAlpha(dark ? 110 : 70);
        QPainterPath line;
        for (qreal s = 0; s <= length + 8; s += 4) {
            const qreal off = at + amp * qSin(s / wave * 6.28 + phase);
            const QPointF pt = vertical ? QPointF(b.left() + off, b.top() + s)
                                        : QPointF(b.left() + s, b.top() + off);
            if (s == 0)
                line.moveTo(pt);
            else
                line.lineTo(pt);
        }
        p.setPen(QPen(c, 0.6 + rng.generateDouble() * 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.restore();
}

void Recess(QPainter& p, const QRectF& r, qreal radius, const QColor& fill) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(r.translated(0, 1), radius, radius);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawRoundedRect(r.translated(0, -0.5), radius, radius);
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0, 1, 0, 0), radius, radius);
    p.restore();
}

QColor Shade(const QColor& c, qreal f) {
    QColor h = c.toHsv();
    const int v = qBound(0, int(h.value() * f), 255);
    int s = h.saturation();
    if (f > 1 && h.value() * f > 255) s = qBound(0, int(s - (h.value() * f - 255) * 0.6), 255);
    return QColor::fromHsv(h.hue(), s, v, c.alpha());
}

}  // namespace artgen
