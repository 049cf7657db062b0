// Chips turning about their vertical axis: frame f shows the chip at 18 × f degrees, so the
// face narrows to its edge and widens again over the twenty frames of a block.

#include "Art.h"
#include "Paint.h"

#include <QtMath>

namespace artgen {
namespace {

struct ChipColors {
    QColor base, insert, inlay, text;
};

ChipColors ColorsFor(int value) {
    switch (value) {
    case 5: return {QColor(0xC0, 0x24, 0x2C), QColor(0xF6, 0xF2, 0xEA), QColor(0xFF, 0xF6, 0xE6), QColor(0xA8, 0x12, 0x1A)};
    case 10: return {QColor(0x1F, 0x5F, 0xC0), QColor(0xF6, 0xF2, 0xEA), QColor(0xEE, 0xF4, 0xFF), QColor(0x15, 0x45, 0x98)};
    case 20: return {QColor(0x23, 0x8A, 0x3C), QColor(0xF6, 0xF2, 0xEA), QColor(0xEE, 0xFA, 0xEE), QColor(0x16, 0x6A, 0x2A)};
    case 50: return {QColor(0x75, 0x2E, 0x9E), QColor(0xF6, 0xE2, 0x8A), QColor(0xF8, 0xF0, 0xFF), QColor(0x5A, 0x1E, 0x80)};
    default: return {QColor(0x24, 0x24, 0x2A), QColor(0xE8, 0xB8, 0x40), QColor(0xFF, 0xF4, 0xD6), QColor(0x20, 0x20, 0x26)};
    }
}

constexpr int kInserts = 8;
constexpr qreal kInsertHalfAngle = M_PI / 16;

// The face as a circle of radius r at the origin.
void Face(QPainter& p, qreal r, const ChipColors& c, int value) {
    p.setPen(QPen(Shade(c.base, 0.6), 0.8));
    p.setBrush(c.base);
    p.drawEllipse(QPointF(0, 0), r, r);
    // Edge inserts reaching into the face.
    p.setPen(Qt::NoPen);
    p.setBrush(c.insert);
    for (int k = 0; k < kInserts; ++k) {
        const qreal a = k * 2 * M_PI / kInserts + M_PI / kInserts;
        QPainterPath ins;
        const qreal r0 = r * 0.98, r1 = r * 0.74;
        ins.moveTo(r0 * qCos(a - kInsertHalfAngle), r0 * qSin(a - kInsertHalfAngle));
        ins.lineTo(r0 * qCos(a + kInsertHalfAngle), r0 * qSin(a + kInsertHalfAngle));
        ins.lineTo(r1 * qCos(a + kInsertHalfAngle * 0.8), r1 * qSin(a + kInsertHalfAngle * 0.8));
        ins.lineTo(r1 * qCos(a - kInsertHalfAngle * 0.8), r1 * qSin(a - kInsertHalfAngle * 0.8));
        ins.closeSubpath();
        p.drawPath(ins);
    }
    // A dashed ring and the inlay with the value.
    QPen dash(c.insert, r * 0.06);
    dash.setDashPattern({2.0, 2.0});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), r * 0.66, r * 0.66);
    p.setPen(QPen(Shade(c.base, 0.7), r * 0.04));
    p.setBrush(c.inlay);
    p.drawEllipse(QPointF(0, 0), r * 0.55, r * 0.55);
    QFont f = Latin(value >= 100 ? r * 0.56 : r * 0.66, true, value >= 100);
    p.setPen(Qt::NoPen);
    p.setBrush(c.text);
    p.drawPath(TextPath(QString::number(value), f, QRectF(-r * 0.5, -r * 0.5, r, r)));
    // Soft light from the top left.
    QRadialGradient light(QPointF(-r * 0.35, -r * 0.45), r * 1.2);
    light.setColorAt(0, QColor(255, 255, 255, 70));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(light);
    p.drawEllipse(QPointF(0, 0), r, r);
}

}  // namespace

QImage ChipFrame(int value, int frame, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    p.scale(size.width() / 40.0, size.height() / 40.0);
    const ChipColors c = ColorsFor(value);
    const qreal r = 17.6, thick = 4.2, cy = 20;
    const qreal theta = frame * 2 * M_PI / 20;
    const qreal cs = qCos(theta), sn = qSin(theta);
    const qreal sx = qMax(qAbs(cs), 0.02);
    const qreal dx = thick * sn;
    const qreal front = 20 - dx / 2, back = 20 + dx / 2;

    // The edge: the swept outline between the front and the back face.
    QPainterPath edge;
    edge.addEllipse(QPointF(front, cy), r * sx, r);
    edge.addEllipse(QPointF(back, cy), r * sx, r);
    edge.addRect(QRectF(qMin(front, back), cy - r, qAbs(dx), 2 * r));
    edge = edge.simplified();
    const QColor edgeColor = Shade(c.base, 0.72);
    p.setPen(QPen(Shade(c.base, 0.45), 0.8));
    p.setBrush(edgeColor);
    p.drawPath(edge);
    // Stripes where the inserts run across the edge, on the side that faces the viewer.
    p.setPen(Qt::NoPen);
    p.setBrush(Shade(c.insert, 0.92));
    for (int k = 0; k < kInserts; ++k) {
        const qreal a = k * 2 * M_PI / kInserts + M_PI / kInserts;
        if (qCos(a) * cs * dx <= 0) continue;
        QPolygonF quad;
        for (int i = 0; i <= 4; ++i) {
            const qreal t = a - kInsertHalfAngle + i * kInsertHalfAngle / 2;
            quad << QPointF(front + r * qCos(t) * cs, cy + r * qSin(t));
        }
        for (int i = 4; i >= 0; --i) {
            const qreal t = a - kInsertHalfAngle + i * kInsertHalfAngle / 2;
            quad << QPointF(back + r * qCos(t) * cs, cy + r * qSin(t));
        }
        p.drawPolygon(quad);
    }
    // The front face, squeezed by the turn.
    if (qAbs(cs) > 0.06) {
        p.save();
        p.translate(front, cy);
        p.scale(sx, 1);
        Face(p, r, c, value);
        p.restore();
    }
    return image;
}

}  // namespace artgen
