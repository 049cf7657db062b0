// Twenty cartoon portraits, each a different face, hair style and colour scheme, drawn on an
// 85 × 90 design and scaled; and the handshake mark.

#include "Art.h"
#include "Paint.h"

#include <QtMath>

namespace artgen {
namespace {

enum class Hair {
    SidePart, Spiky, Buzz, Afro, Cap, SlickBack, Balding, Messy, Pompadour, Headband,
    LongStraight, Bob, Ponytail, Buns, CurlyLong, Pixie, Braids, WavyLong, BangsBow, SideSwept
};

enum Extra : unsigned {
    None = 0, Glasses = 1, Beard = 2, Moustache = 4, Earrings = 8, Blush = 16, Freckles = 32,
    Necklace = 64, Tie = 128, Wrinkles = 256
};

struct Look {
    QColor bgTop, bgBottom, skin, hair, shirt;
    Hair hair_style;
    unsigned extras;
    bool female;
    int mouth;  // 0 smile, 1 grin, 2 small, 3 open laugh
};

const QColor kInk(0x2A, 0x1C, 0x14);

const Look kLooks[20] = {
    // Male-looking faces.
    {QColor(0x8C, 0xC4, 0xF4), QColor(0x3A, 0x78, 0xC8), QColor(0xF6, 0xD2, 0xB0), QColor(0x6A, 0x40, 0x1E), QColor(0x24, 0x3A, 0x78), Hair::SidePart, Tie, false, 0},
    {QColor(0xFF, 0xC8, 0x80), QColor(0xE8, 0x7A, 0x22), QColor(0xF4, 0xCC, 0xA4), QColor(0x1C, 0x1C, 0x22), QColor(0xC8, 0x22, 0x22), Hair::Spiky, None, false, 1},
    {QColor(0xA8, 0xE0, 0xA0), QColor(0x3C, 0x90, 0x48), QColor(0xE6, 0xB8, 0x8E), QColor(0x3A, 0x2A, 0x1E), QColor(0x6A, 0x6E, 0x76), Hair::Buzz, Beard, false, 0},
    {QColor(0xFF, 0xE8, 0x8C), QColor(0xE0, 0xAE, 0x20), QColor(0x8E, 0x5A, 0x38), QColor(0x24, 0x16, 0x10), QColor(0x2E, 0x8A, 0x3E), Hair::Afro, None, false, 1},
    {QColor(0x8C, 0xE4, 0xDC), QColor(0x1C, 0x94, 0x8C), QColor(0xF2, 0xCE, 0xA8), QColor(0x7A, 0x4E, 0x28), QColor(0xF2, 0xF2, 0xF2), Hair::Cap, Freckles, false, 3},
    {QColor(0xC8, 0xB0, 0xF0), QColor(0x6A, 0x44, 0xB0), QColor(0xF8, 0xDA, 0xBE), QColor(0xE8, 0xC2, 0x5A), QColor(0x22, 0x22, 0x28), Hair::SlickBack, Glasses | Tie, false, 2},
    {QColor(0xF0, 0xE0, 0xC4), QColor(0xB8, 0x98, 0x6C), QColor(0xF0, 0xC8, 0xA0), QColor(0x9A, 0x9A, 0xA0), QColor(0x7A, 0x4A, 0x28), Hair::Balding, Moustache | Wrinkles, false, 0},
    {QColor(0xB0, 0xE2, 0xFF), QColor(0x52, 0x9C, 0xE0), QColor(0xFA, 0xDC, 0xC4), QColor(0xC8, 0x4A, 0x1A), QColor(0xE8, 0x6A, 0x2A), Hair::Messy, Freckles, false, 1},
    {QColor(0xFF, 0xC0, 0xD8), QColor(0xD0, 0x5A, 0x8A), QColor(0xD8, 0xA0, 0x74), QColor(0x12, 0x12, 0x16), QColor(0x3A, 0x2A, 0x22), Hair::Pompadour, None, false, 2},
    {QColor(0xD8, 0xF4, 0x90), QColor(0x7A, 0xB0, 0x22), QColor(0xF4, 0xD0, 0xAA), QColor(0x4A, 0x30, 0x1A), QColor(0x2A, 0x6A, 0xC0), Hair::Headband, Beard, false, 0},
    // Female-looking faces.
    {QColor(0xFF, 0xC8, 0xDC), QColor(0xE8, 0x70, 0x9C), QColor(0xF8, 0xDC, 0xC4), QColor(0x16, 0x14, 0x18), QColor(0xC8, 0x1E, 0x3A), Hair::LongStraight, Blush, true, 0},
    {QColor(0xC8, 0xE8, 0xFF), QColor(0x6C, 0xAE, 0xE8), QColor(0xFA, 0xE0, 0xC8), QColor(0xF0, 0xCC, 0x60), QColor(0xF8, 0xF8, 0xF8), Hair::Bob, Blush | Earrings, true, 2},
    {QColor(0xC4, 0xEC, 0xB8), QColor(0x58, 0xA8, 0x60), QColor(0xF4, 0xD4, 0xB4), QColor(0x7A, 0x4A, 0x22), QColor(0xF2, 0xC2, 0x2A), Hair::Ponytail, Blush, true, 1},
    {QColor(0xFF, 0xB0, 0xA0), QColor(0xD0, 0x2A, 0x2A), QColor(0xF8, 0xDE, 0xC6), QColor(0x14, 0x12, 0x16), QColor(0xE0, 0xA8, 0x20), Hair::Buns, Blush | Earrings, true, 2},
    {QColor(0xE0, 0xC4, 0xF4), QColor(0x8A, 0x52, 0xC0), QColor(0xFA, 0xE0, 0xCC), QColor(0xC8, 0x40, 0x1C), QColor(0x1E, 0x9A, 0x96), Hair::CurlyLong, Freckles | Blush, true, 3},
    {QColor(0xFF, 0xD8, 0xA8), QColor(0xF0, 0x90, 0x3A), QColor(0xF2, 0xCC, 0xAA), QColor(0x8A, 0x3C, 0xB0), QColor(0x22, 0x22, 0x2A), Hair::Pixie, Earrings, true, 1},
    {QColor(0xFF, 0xEE, 0xA0), QColor(0xE8, 0xB8, 0x30), QColor(0x9A, 0x62, 0x40), QColor(0x22, 0x16, 0x10), QColor(0xD8, 0x3A, 0x6A), Hair::Braids, Earrings, true, 0},
    {QColor(0xC8, 0xD4, 0xE8), QColor(0x6A, 0x80, 0xA8), QColor(0xF6, 0xD8, 0xBE), QColor(0x8E, 0x3A, 0x22), QColor(0x4A, 0x5A, 0x8A), Hair::WavyLong, Glasses | Blush, true, 0},
    {QColor(0xC0, 0xF4, 0xE0), QColor(0x48, 0xB8, 0x90), QColor(0xFA, 0xE2, 0xCE), QColor(0x5A, 0x34, 0x1C), QColor(0xF4, 0x8A, 0xB0), Hair::BangsBow, Blush, true, 3},
    {QColor(0x9A, 0xA8, 0xE0), QColor(0x22, 0x2E, 0x78), QColor(0xF6, 0xDA, 0xC2), QColor(0xDA, 0xDA, 0xE4), QColor(0x5A, 0x1E, 0x4A), Hair::SideSwept, Necklace | Earrings, true, 2},
};

const QRectF kHead(23.5, 21, 38, 45);

// Hair that hangs behind the head and shoulders.
void HairBack(QPainter& p, const Look& l) {
    p.setBrush(l.hair);
    p.setPen(QPen(Shade(l.hair, 0.6), 0.8));
    switch (l.hair_style) {
    case Hair::Afro:
        for (int i = 0; i < 14; ++i) {
            const qreal a = M_PI + i * M_PI / 13;
            p.drawEllipse(QPointF(42.5 + 25 * qCos(a), 40 + 24 * qSin(a) * 0.95), 9, 9);
        }
        p.drawEllipse(QPointF(42.5, 34), 26, 20);
        break;
    case Hair::Headband:
    case Hair::LongStraight:
    case Hair::SideSwept: {
        QPainterPath h;
        h.moveTo(21, 36);
        h.cubicTo(20, 18, 34, 13, 42.5, 13);
        h.cubicTo(51, 13, 65, 18, 64, 36);
        const qreal bottom = l.hair_style == Hair::Headband ? 70 : 82;
        h.lineTo(66, bottom);
        h.quadTo(42.5, bottom + 4, 19, bottom);
        h.closeSubpath();
        p.drawPath(h);
        break;
    }
    case Hair::Bob:
    case Hair::BangsBow: {
        QPainterPath h;
        h.moveTo(20, 40);
        h.cubicTo(18, 16, 34, 12, 42.5, 12);
        h.cubicTo(51, 12, 67, 16, 65, 40);
        h.cubicTo(66, 55, 67, 64, 63, 68);
        h.lineTo(22, 68);
        h.cubicTo(18, 64, 19, 55, 20, 40);
        p.drawPath(h);
        break;
    }
    case Hair::Ponytail:
        p.drawEllipse(QRectF(56, 24, 16, 40));
        p.setBrush(QColor(0xE0, 0x40, 0x60));
        p.drawEllipse(QRectF(58, 23, 9, 6));
        break;
    case Hair::Buns:
        p.drawEllipse(QPointF(26, 20), 9, 9);
        p.drawEllipse(QPointF(59, 20), 9, 9);
        break;
    case Hair::CurlyLong:
        for (int i = 0; i < 9; ++i) {
            p.drawEllipse(QPointF(21 - (i % 2) * 2, 28 + i * 6.2), 7, 6);
            p.drawEllipse(QPointF(64 + (i % 2) * 2, 28 + i * 6.2), 7, 6);
        }
        p.drawEllipse(QPointF(42.5, 30), 25, 20);
        break;
    case Hair::WavyLong: {
        QPainterPath h;
        h.moveTo(21, 34);
        h.cubicTo(20, 16, 34, 12, 42.5, 12);
        h.cubicTo(51, 12, 65, 16, 64, 34);
        for (int i = 0; i < 4; ++i) h.quadTo(69 - (i % 2) * 6, 42 + i * 10, 66, 47 + i * 10);
        h.quadTo(42.5, 86, 19, 85);
        for (int i = 3; i >= 0; --i) h.quadTo(16 + (i % 2) * 6, 42 + i * 10, 20, 37 + i * 10);
        h.closeSubpath();
        p.drawPath(h);
        break;
    }
    default:
        break;
    }
}

void Shirt(QPainter& p, const Look& l) {
    QPainterPath body;
    body.moveTo(6, 91);
    body.cubicTo(8, 75, 24, 69, 42.5, 69);
    body.cubicTo(61, 69, 77, 75, 79, 91);
    body.closeSubpath();
    p.setPen(QPen(Shade(l.shirt, 0.6), 0.9));
    p.setBrush(VGrad(QRectF(0, 69, 85, 22), Shade(l.shirt, 1.15), Shade(l.shirt, 0.85)));
    p.drawPath(body);
    // Neck and neckline.
    p.setPen(QPen(Shade(l.skin, 0.75), 0.8));
    p.setBrush(Shade(l.skin, 0.93));
    QPainterPath neck;
    neck.moveTo(36, 58);
    neck.lineTo(36, 70);
    if (l.female)
        neck.quadTo(42.5, 78, 49, 70);
    else
        neck.lineTo(42.5, 77);
    neck.lineTo(49, 70);
    neck.lineTo(49, 58);
    neck.closeSubpath();
    p.drawPath(neck);
    if (l.extras & Tie) {
        p.setPen(QPen(Qt::white, 0.8));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF{{35, 69}, {42.5, 77}, {50, 69}, {47, 72}, {42.5, 75}, {38, 72}});
        p.setPen(QPen(QColor(0x60, 0x08, 0x08), 0.6));
        p.setBrush(QColor(0xC8, 0x20, 0x20));
        p.drawPolygon(QPolygonF{{41, 75}, {44, 75}, {46, 88}, {42.5, 91}, {39, 88}});
    }
    if (l.extras & Necklace) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFA, 0xF6, 0xEE));
        for (int i = 0; i <= 8; ++i) {
            const qreal a = M_PI * (0.15 + 0.7 * i / 8.0);
            p.drawEllipse(QPointF(42.5 + 10 * qCos(a), 68 + 7 * qSin(a)), 1.3, 1.3);
        }
    }
    if (l.hair_style == Hair::Buns) {
        // A mandarin collar in gold.
        p.setPen(QPen(QColor(0x80, 0x50, 0x00), 0.7));
        p.setBrush(QColor(0xF4, 0xD0, 0x50));
        p.drawRoundedRect(QRectF(34, 67, 17, 5), 2, 2);
    }
}

void Face(QPainter& p, const Look& l) {
    // Ears, head.
    p.setPen(QPen(Shade(l.skin, 0.72), 0.9));
    p.setBrush(l.skin);
    p.drawEllipse(QRectF(20, 40, 7, 11));
    p.drawEllipse(QRectF(58, 40, 7, 11));
    QRadialGradient g(QPointF(40, 38), 30);
    g.setColorAt(0, Shade(l.skin, 1.05));
    g.setColorAt(1, Shade(l.skin, 0.9));
    p.setBrush(g);
    p.drawEllipse(kHead);
    if (l.extras & Earrings) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF2, 0xC8, 0x40));
        p.drawEllipse(QPointF(22.5, 53), 1.7, 1.7);
        p.drawEllipse(QPointF(62.5, 53), 1.7, 1.7);
    }
    // Eyes.
    const qreal ey = 43.5;
    for (qreal ex : {35.0, 50.0}) {
        p.setPen(QPen(Shade(l.skin, 0.6), 0.6));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(ex, ey), 3.6, l.female ? 3.4 : 2.9);
        p.setPen(Qt::NoPen);
        p.setBrush(l.female ? QColor(0x4A, 0x2A, 0x18) : kInk);
        p.drawEllipse(QPointF(ex + 0.4, ey + 0.3), 2.0, 2.2);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(ex + 1.0, ey - 0.6), 0.7, 0.7);
        if (l.female) {
            p.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(ex - 3.8, ey - 3.6, 7.6, 6), 20 * 16, 140 * 16);
            p.drawLine(QPointF(ex + 3.4, ey - 2.0), QPointF(ex + 4.8, ey - 3.2));
        }
    }
    // Brows.
    p.setPen(QPen(Shade(l.hair.lightness() > 200 ? QColor(0x80, 0x70, 0x60) : l.hair, 0.8),
                  l.female ? 1.0 : 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(30.5, 37, 9, 4), 30 * 16, 120 * 16);
    p.drawArc(QRectF(45.5, 37, 9, 4), 30 * 16, 120 * 16);
    // Nose.
    p.setPen(QPen(Shade(l.skin, 0.68), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(40.5, 46, 4, 5.5), 200 * 16, 160 * 16);
    // Cheeks and freckles.
    p.setPen(Qt::NoPen);
    if (l.extras & Blush) {
        p.setBrush(QColor(0xFF, 0x70, 0x80, 80));
        p.drawEllipse(QPointF(30.5, 51), 3.6, 2.4);
        p.drawEllipse(QPointF(54.5, 51), 3.6, 2.4);
    }
    if (l.extras & Freckles) {
        p.setBrush(QColor(0xB0, 0x6A, 0x40, 150));
        for (QPointF f : {QPointF(30, 49), QPointF(32.5, 50.5), QPointF(29.5, 51.5), QPointF(55, 49),
                          QPointF(52.5, 50.5), QPointF(55.5, 51.5)})
            p.drawEllipse(f, 0.6, 0.6);
    }
    if (l.extras & Wrinkles) {
        p.setPen(QPen(Shade(l.skin, 0.75), 0.6));
        p.drawLine(QPointF(36, 31), QPointF(49, 31));
        p.drawLine(QPointF(37, 33.3), QPointF(48, 33.3));
    }
    // Mouth.
    const QColor lips = l.female ? QColor(0xD8, 0x2A, 0x48) : QColor(0xA0, 0x40, 0x30);
    switch (l.mouth) {
    case 1: {  // grin with teeth
        QPainterPath m;
        m.moveTo(36.5, 54.5);
        m.quadTo(42.5, 62, 48.5, 54.5);
        m.closeSubpath();
        p.setPen(QPen(lips, 0.9));
        p.setBrush(Qt::white);
        p.drawPath(m);
        break;
    }
    case 2:  // small
        p.setPen(QPen(lips, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(39.5, 53, 6, 3.5), 200 * 16, 140 * 16);
        break;
    case 3: {  // open laugh
        QPainterPath m;
        m.moveTo(36, 54);
        m.quadTo(42.5, 64, 49, 54);
        m.quadTo(42.5, 56, 36, 54);
        p.setPen(QPen(QColor(0x70, 0x18, 0x18), 0.8));
        p.setBrush(QColor(0x90, 0x20, 0x28));
        p.drawPath(m);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF4, 0x80, 0x88));
        p.drawEllipse(QPointF(42.5, 58.8), 3, 1.5);
        break;
    }
    default:  // smile
        p.setPen(QPen(lips, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(36.5, 50, 12, 7), 200 * 16, 140 * 16);
        break;
    }
    if (l.extras & Moustache) {
        p.setPen(Qt::NoPen);
        p.setBrush(l.hair);
        QPainterPath m;
        m.moveTo(42.5, 51.5);
        m.cubicTo(39, 50, 34, 51, 33, 55);
        m.cubicTo(36, 53.5, 40, 54.5, 42.5, 53.5);
        m.cubicTo(45, 54.5, 49, 53.5, 52, 55);
        m.cubicTo(51, 51, 46, 50, 42.5, 51.5);
        p.drawPath(m);
    }
    if (l.extras & Beard) {
        QPainterPath b;
        b.moveTo(24.5, 46);
        b.cubicTo(25, 60, 33, 67, 42.5, 67);
        b.cubicTo(52, 67, 60, 60, 60.5, 46);
        b.cubicTo(58, 53, 54, 55, 50, 53.5);
        b.cubicTo(46, 52, 39, 52, 35, 53.5);
        b.cubicTo(31, 55, 27, 53, 24.5, 46);
        p.setPen(QPen(Shade(l.hair, 0.7), 0.7));
        p.setBrush(l.hair);
        p.drawPath(b);
        // Keep the mouth visible in the beard.
        p.setPen(QPen(QColor(0xC0, 0x60, 0x50), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(39.5, 56.5), QPointF(45.5, 56.5));
    }
    if (l.extras & Glasses) {
        p.setPen(QPen(QColor(0x20, 0x20, 0x24), 1.3));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(QRectF(29.5, 39.5, 11, 8), 2.5, 2.5);
        p.drawRoundedRect(QRectF(44.5, 39.5, 11, 8), 2.5, 2.5);
        p.drawLine(QPointF(40.5, 42.5), QPointF(44.5, 42.5));
        p.drawLine(QPointF(29.5, 42), QPointF(24.5, 41));
        p.drawLine(QPointF(55.5, 42), QPointF(60.5, 41));
    }
}

// Hair on top of the head: fringes, caps and crowns.
void HairFront(QPainter& p, const Look& l) {
    p.setBrush(l.hair);
    p.setPen(QPen(Shade(l.hair, 0.6), 0.8));
    QPainterPath h;
    h.setFillRule(Qt::WindingFill);  // overlapping curls merge instead of cancelling
    switch (l.hair_style) {
    case Hair::SidePart:
        h.moveTo(22.5, 44);
        h.cubicTo(19, 20, 33, 14, 44, 14.5);
        h.cubicTo(57, 15, 66, 24, 62.5, 44);
        h.cubicTo(61, 35, 58, 30, 51, 27.5);
        h.cubicTo(44, 32, 32, 29, 26, 35);
        h.cubicTo(24, 37, 23, 41, 22.5, 44);
        break;
    case Hair::Spiky: {
        const QPointF pts[] = {{22, 42}, {18, 30}, {26, 30}, {22, 17}, {32, 24}, {33, 10}, {41, 20},
                               {46, 8}, {50, 20}, {58, 11}, {58, 24}, {67, 19}, {62, 30}, {68, 32}, {63, 42}};
        h.moveTo(pts[0]);
        for (const QPointF& pt : pts) h.lineTo(pt);
        h.cubicTo(60, 32, 52, 28, 42.5, 29);
        h.cubicTo(33, 28, 25, 32, 22, 42);
        break;
    }
    case Hair::Buzz: {
        h.moveTo(23.8, 38);
        h.cubicTo(23, 22, 33, 19.5, 42.5, 19.5);
        h.cubicTo(52, 19.5, 62, 22, 61.2, 38);
        h.cubicTo(58, 30, 50, 28, 42.5, 28);
        h.cubicTo(35, 28, 27, 30, 23.8, 38);
        QColor c = l.hair;
        c.setAlpha(220);
        p.setBrush(c);
        break;
    }
    case Hair::Afro:
        for (int i = 0; i < 7; ++i) p.drawEllipse(QPointF(27 + i * 5.2, 27 + (i % 2) * 2), 5.5, 5.5);
        return;
    case Hair::Cap: {
        h.moveTo(22, 36);
        h.cubicTo(22, 16, 34, 12, 43, 12);
        h.cubicTo(53, 12, 63, 17, 63, 36);
        h.closeSubpath();
        p.setPen(QPen(QColor(0x70, 0x08, 0x08), 0.9));
        p.setBrush(VGrad(QRectF(22, 12, 41, 24), QColor(0xF0, 0x40, 0x30), QColor(0xB0, 0x10, 0x10)));
        p.drawPath(h);
        // The peak and a button.
        QPainterPath peak;
        peak.moveTo(34, 33);
        peak.cubicTo(46, 29, 66, 30, 74, 35);
        peak.cubicTo(66, 38, 48, 38, 34, 37);
        peak.closeSubpath();
        p.setBrush(QColor(0x98, 0x0C, 0x0C));
        p.drawPath(peak);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(43, 12.5), 2, 1.5);
        p.setPen(QPen(Qt::white, 1.6));
        p.drawLine(QPointF(36, 22), QPointF(50, 22));
        // Hair peeking out at the sides.
        p.setPen(Qt::NoPen);
        p.setBrush(l.hair);
        p.drawEllipse(QRectF(22, 34, 5, 9));
        p.drawEllipse(QRectF(58, 34, 5, 9));
        return;
    }
    case Hair::SlickBack:
        h.moveTo(23, 40);
        h.cubicTo(20, 18, 34, 13, 43, 13);
        h.cubicTo(55, 13, 65, 19, 62, 40);
        h.cubicTo(60, 30, 54, 26, 43, 25);
        h.cubicTo(32, 25, 26, 30, 23, 40);
        p.drawPath(h);
        p.setPen(QPen(Shade(l.hair, 1.3), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(30, 16, 26, 14), 30 * 16, 120 * 16);
        p.drawArc(QRectF(34, 19, 20, 10), 30 * 16, 110 * 16);
        return;
    case Hair::Balding:
        h.addEllipse(QRectF(20.5, 30, 8, 14));
        h.addEllipse(QRectF(56.5, 30, 8, 14));
        p.drawPath(h);
        p.setPen(QPen(QColor(255, 255, 255, 120), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(32, 24, 14, 10), 60 * 16, 70 * 16);
        return;
    case Hair::Messy: {
        const QPointF lobes[] = {{25, 34}, {28, 25}, {35, 19}, {43, 17}, {51, 19}, {58, 25}, {61, 34}, {37, 27}, {48, 27}};
        for (const QPointF& c : lobes) h.addEllipse(c, 7.5, 6.5);
        h = h.simplified();
        break;
    }
    case Hair::Pompadour:
        h.moveTo(23, 42);
        h.cubicTo(20, 24, 28, 17, 36, 12);
        h.cubicTo(44, 6, 62, 8, 64, 20);
        h.cubicTo(66, 28, 63, 34, 62, 42);
        h.cubicTo(60, 32, 54, 28, 43, 28);
        h.cubicTo(33, 28, 26, 33, 23, 42);
        p.drawPath(h);
        p.setPen(QPen(Shade(l.hair, 1.8), 1.1));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(36, 10, 24, 14), 40 * 16, 110 * 16);
        return;
    case Hair::Headband:
        h.moveTo(22.5, 40);
        h.cubicTo(20, 20, 34, 15, 42.5, 15);
        h.cubicTo(51, 15, 65, 20, 62.5, 40);
        h.cubicTo(58, 30, 50, 29, 42.5, 29);
        h.cubicTo(35, 29, 27, 30, 22.5, 40);
        p.drawPath(h);
        p.setPen(QPen(QColor(0x70, 0x10, 0x10), 0.7));
        p.setBrush(QColor(0xE8, 0x30, 0x30));
        p.drawRoundedRect(QRectF(23, 27, 39, 4.5), 2, 2);
        return;
    case Hair::LongStraight:
    case Hair::SideSwept:
    case Hair::WavyLong:
        if (l.hair_style == Hair::SideSwept) {
            h.moveTo(22.5, 48);
            h.cubicTo(19, 22, 32, 14, 44, 14);
            h.cubicTo(56, 14, 66, 22, 62.5, 46);
            h.cubicTo(60, 36, 56, 31, 50, 29);
            h.cubicTo(42, 36, 30, 38, 22.5, 48);
        } else {
            // A centre parting with the hair falling to both sides of the face.
            h.moveTo(22, 52);
            h.cubicTo(19, 24, 32, 14, 42.5, 14);
            h.cubicTo(53, 14, 66, 24, 63, 52);
            h.cubicTo(61, 38, 52, 30, 42.5, 26);
            h.cubicTo(33, 30, 24, 38, 22, 52);
        }
        break;
    case Hair::Bob:
    case Hair::BangsBow:
        h.moveTo(21, 46);
        h.cubicTo(19, 20, 33, 14, 42.5, 14);
        h.cubicTo(52, 14, 66, 20, 64, 46);
        h.cubicTo(62, 40, 61, 36, 60, 34);
        // Bangs cut in soft scallops across the forehead.
        for (qreal x = 60; x > 26; x -= 7) h.quadTo(x - 3.5, 38, x - 7, 33.5);
        h.cubicTo(24, 36, 23, 40, 21, 46);
        p.drawPath(h);
        if (l.hair_style == Hair::BangsBow) {
            p.setPen(QPen(QColor(0x90, 0x10, 0x40), 0.8));
            p.setBrush(QColor(0xF0, 0x48, 0x88));
            p.drawPolygon(QPolygonF{{54, 18}, {46, 12}, {46, 24}});
            p.drawPolygon(QPolygonF{{54, 18}, {62, 12}, {62, 24}});
            p.drawEllipse(QPointF(54, 18), 2.5, 2.5);
        }
        return;
    case Hair::Ponytail:
    case Hair::Buns:
    case Hair::Braids:
    case Hair::Pixie:
    case Hair::CurlyLong:
        if (l.hair_style == Hair::Pixie) {
            h.moveTo(22.5, 44);
            h.cubicTo(19, 20, 33, 14, 44, 14);
            h.cubicTo(57, 14, 66, 22, 62.5, 42);
            h.cubicTo(58, 36, 50, 36, 44, 31);
            h.cubicTo(38, 36, 30, 34, 27, 38);
            h.cubicTo(25, 40, 24, 42, 22.5, 44);
        } else if (l.hair_style == Hair::CurlyLong) {
            for (int i = 0; i < 6; ++i) h.addEllipse(QPointF(28 + i * 5.8, 26 + (i % 2) * 2.5), 6, 6);
            h = h.simplified();
        } else {
            // Hair drawn back smoothly with a centre parting.
            h.moveTo(23, 42);
            h.cubicTo(20, 20, 33, 15, 42.5, 15);
            h.cubicTo(52, 15, 65, 20, 62, 42);
            h.cubicTo(60, 30, 50, 26, 42.5, 25);
            h.cubicTo(35, 26, 25, 30, 23, 42);
        }
        break;
    }
    p.drawPath(h);
    if (l.hair_style == Hair::Braids) {
        p.setPen(QPen(Shade(l.hair, 0.5), 0.7));
        for (int side = 0; side < 2; ++side) {
            const qreal x = side ? 62 : 23;
            for (int i = 0; i < 6; ++i) {
                p.setBrush(l.hair);
                p.drawEllipse(QPointF(x + (side ? 2 : -2) * (i / 5.0), 46 + i * 6), 3.8, 3.6);
            }
            p.setBrush(QColor(0xF0, 0xC0, 0x30));
            p.drawEllipse(QPointF(x + (side ? 2 : -2), 83), 2.2, 2.2);
        }
    }
}

}  // namespace

QImage Portrait(int index, QSize size) {
    const Look& l = kLooks[qBound(0, index, 19)];
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    p.scale(size.width() / 85.0, size.height() / 90.0);
    const QRectF all(0, 0, 85, 90);
    p.fillRect(all, VGrad(all, l.bgTop, l.bgBottom));
    // A soft halo behind the head and a pattern of rings.
    QRadialGradient halo(QPointF(42.5, 40), 42);
    halo.setColorAt(0, QColor(255, 255, 255, 110));
    halo.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(42.5, 40), 42, 42);
    p.setPen(QPen(QColor(255, 255, 255, 38), 3));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(index % 2 ? 80 : 5, 6), 14.0 + 10 * i, 14.0 + 10 * i);
    HairBack(p, l);
    Shirt(p, l);
    Face(p, l);
    HairFront(p, l);
    // Frame.
    p.setPen(QPen(Shade(l.bgBottom, 0.55), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 84, 89));
    return image;
}

QImage Handshake(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    p.scale(size.width() / 50.0, size.height() / 45.0);
    const QColor skin(0xF4, 0xC8, 0x9C), skinLine(0xB0, 0x78, 0x50);
    // Two sleeves meeting from either side.
    p.setPen(QPen(QColor(0x10, 0x30, 0x70), 0.9));
    p.setBrush(QColor(0x2A, 0x6E, 0xD0));
    p.drawPolygon(QPolygonF{{0, 26}, {12, 18}, {18, 27}, {5, 37}});
    p.setPen(QPen(QColor(0x70, 0x38, 0x00), 0.9));
    p.setBrush(QColor(0xF0, 0x9A, 0x28));
    p.drawPolygon(QPolygonF{{50, 26}, {38, 18}, {32, 27}, {45, 37}});
    // Cuffs.
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.7));
    p.drawPolygon(QPolygonF{{11, 17}, {14, 15.5}, {20.5, 25.5}, {17.5, 27.5}});
    p.drawPolygon(QPolygonF{{39, 17}, {36, 15.5}, {29.5, 25.5}, {32.5, 27.5}});
    // The clasped hands.
    p.setPen(QPen(skinLine, 0.9));
    p.setBrush(skin);
    QPainterPath hands;
    hands.moveTo(15, 18);
    hands.cubicTo(20, 13, 27, 12, 33, 15);
    hands.cubicTo(37, 17, 37, 21, 35, 24);
    hands.cubicTo(31, 30, 26, 33, 21, 30);
    hands.cubicTo(18, 28.5, 17.5, 27, 18.5, 26);
    hands.closeSubpath();
    p.drawPath(hands);
    // Fingers wrapped over the other hand, and a thumb on top.
    for (int i = 0; i < 4; ++i) {
        QPainterPath f;
        const qreal x = 20 + i * 3.6;
        f.moveTo(x, 20 + i * 0.8);
        f.cubicTo(x + 1, 24 + i, x + 3, 27 + i * 0.5, x + 4.2, 25 + i * 0.6);
        p.drawPath(f);
    }
    QPainterPath thumb;
    thumb.moveTo(23, 17);
    thumb.cubicTo(26, 13.5, 30, 13.5, 33, 15.5);
    p.drawPath(thumb);
    // Little sparkles of friendship.
    p.setPen(QPen(QColor(0xF0, 0xB0, 0x20), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(25, 3), QPointF(25, 8));
    p.drawLine(QPointF(16, 6), QPointF(18.5, 10));
    p.drawLine(QPointF(34, 6), QPointF(31.5, 10));
    return image;
}

}  // namespace artgen
