// Card faces, jokers and the card back. Everything is drawn on a 92 × 122 design card and
// scaled to the asked size, so the large and the small set look alike.

#include "Art.h"
#include "Paint.h"

#include <QtMath>

namespace artgen {
namespace {

constexpr qreal kW = 92, kH = 122;
const QColor kGold(0xE0, 0xB0, 0x3A);
const QColor kSkin(0xF7, 0xD8, 0xB4);
const QColor kInk(0x20, 0x18, 0x14);

QString RankText(int rank) {
    switch (rank) {
    case 11: return QStringLiteral("J");
    case 12: return QStringLiteral("Q");
    case 13: return QStringLiteral("K");
    case 14: return QStringLiteral("A");
    case 15: return QStringLiteral("2");
    default: return QString::number(rank);
    }
}

void CardBody(QPainter& p) {
    p.setPen(QPen(QColor(0x8C, 0x8C, 0x8C), 1));
    QLinearGradient g(0, 0, 0, kH);
    g.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    g.setColorAt(1, QColor(0xF2, 0xF1, 0xEC));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 7, 7);
}

void Pip(QPainter& p, int suit, QPointF centre, qreal size, bool flipped) {
    p.save();
    p.translate(centre);
    if (flipped) p.rotate(180);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(SuitPath(suit, QRectF(-size / 2, -size / 2, size, size)));
    p.restore();
}

// Rank and a small suit in the top-left corner, and the same turned round bottom-right.
void Indexes(QPainter& p, const QString& rank, int suit, const QColor& color) {
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        QFont f = Serif(19);
        if (rank.size() > 1) f.setStretch(72);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(TextPath(rank, f, QRectF(2, 4, 18, 18)));
        if (suit >= 0) Pip(p, suit, QPointF(11, 31), 12.5, false);
        p.restore();
    }
}

// Pip positions on real cards: columns left, centre, right; rows from 0 (top) to 1.
struct Spot {
    int col;
    qreal row;
};
QVector<Spot> Spots(int n) {
    const qreal t = 1.0 / 3, s = 1.0 / 6;
    switch (n) {
    case 2: return {{1, 0}, {1, 1}};
    case 3: return {{1, 0}, {1, 0.5}, {1, 1}};
    case 4: return {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
    case 5: return {{0, 0}, {2, 0}, {1, 0.5}, {0, 1}, {2, 1}};
    case 6: return {{0, 0}, {2, 0}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}};
    case 7: return {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}};
    case 8: return {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {1, 0.75}, {0, 1}, {2, 1}};
    case 9: return {{0, 0}, {2, 0}, {0, t}, {2, t}, {1, 0.5}, {0, 2 * t}, {2, 2 * t}, {0, 1}, {2, 1}};
    default:
        return {{0, 0}, {2, 0}, {1, s}, {0, t}, {2, t}, {0, 2 * t}, {2, 2 * t}, {1, 5 * s}, {0, 1}, {2, 1}};
    }
}

void NumberPips(QPainter& p, int suit, int n) {
    // The crowded nine and ten get smaller pips set wider apart.
    const bool crowded = n >= 9;
    const qreal spread = crowded ? 17 : 15;
    const qreal cols[3] = {46 - spread, 46, 46 + spread};
    const qreal top = 22, bottom = 100;
    for (const Spot& s : Spots(n)) {
        const QPointF c(cols[s.col], top + s.row * (bottom - top));
        Pip(p, suit, c, crowded ? 15 : 17, s.row > 0.5);
    }
}

void AcePip(QPainter& p, int suit) {
    if (suit == 3) {
        // The ace of spades carries the large ornate spade.
        p.save();
        p.setPen(QPen(QColor(0x20, 0x20, 0x28), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(46, 61), 31, 31);
        p.setPen(QPen(kGold, 1.6));
        p.drawEllipse(QPointF(46, 61), 28, 28);
        p.restore();
        Pip(p, 3, QPointF(46, 60), 44, false);
        p.save();
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(SuitPath(3, QRectF(46 - 14, 60 - 14, 28, 28)));
        p.restore();
        return;
    }
    Pip(p, suit, QPointF(46, 61), 40, false);
}

struct CourtColors {
    QColor robe, trim;
};
CourtColors CourtColorsFor(int suit) {
    switch (suit) {
    case 0: return {QColor(0xC6, 0x28, 0x28), QColor(0x1E, 0x4F, 0xA0)};
    case 1: return {QColor(0x1E, 0x4F, 0xA0), QColor(0x2E, 0x7D, 0x32)};
    case 2: return {QColor(0xB7, 0x1C, 0x1C), QColor(0x2E, 0x7D, 0x32)};
    default: return {QColor(0x26, 0x3C, 0x8C), QColor(0xC6, 0x28, 0x28)};
    }
}

// One half of a double-headed court figure, drawn in the upper half of the frame.
void CourtHalf(QPainter& p, int suit, int rank) {
    const CourtColors cc = CourtColorsFor(suit);
    const QPen line(kInk, 0.8);
    p.setPen(line);
    // Robe and shoulders, reaching past the middle line (the clip cuts them there).
    QPainterPath robe;
    robe.moveTo(27, 70);
    robe.cubicTo(27, 52, 30, 45, 38, 42.5);
    robe.lineTo(54, 42.5);
    robe.cubicTo(62, 45, 65, 52, 65, 70);
    robe.closeSubpath();
    p.setBrush(cc.robe);
    p.drawPath(robe);
    // Sleeve folds.
    p.setPen(QPen(Shade(cc.robe, 0.62), 0.8));
    p.drawLine(QPointF(33, 50), QPointF(32, 68));
    p.drawLine(QPointF(59, 50), QPointF(60, 68));
    p.setPen(line);
    // A trimmed front panel and a gold collar.
    QPainterPath panel;
    panel.moveTo(40.5, 42.5);
    panel.lineTo(51.5, 42.5);
    panel.lineTo(50.5, 70);
    panel.lineTo(41.5, 70);
    panel.closeSubpath();
    p.setBrush(cc.trim);
    p.drawPath(panel);
    p.setBrush(kGold);
    QPainterPath collar;
    collar.moveTo(35, 43);
    collar.quadTo(46, 50, 57, 43);
    collar.quadTo(46, 46, 35, 43);
    p.drawPath(collar);
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(46, 49.5 + 3.4 * i), 0.9, 0.9);
    // The suit on a small shield held at the side.
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(58, 52), 5.2, 5.2);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(SuitPath(suit, QRectF(54.3, 48.3, 7.4, 7.4)));
    p.setPen(line);
    // Hair behind the face (the queen's falls to the shoulders).
    const QColor hair = rank == 12 ? QColor(0xE8, 0xB8, 0x40) : QColor(0x6B, 0x3E, 0x1E);
    if (rank == 12) {
        QPainterPath h;
        h.moveTo(36, 28);
        h.cubicTo(33, 38, 33, 44, 31, 48);
        h.lineTo(61, 48);
        h.cubicTo(59, 44, 59, 38, 56, 28);
        h.closeSubpath();
        p.setBrush(hair);
        p.drawPath(h);
    }
    // Neck and face.
    p.setBrush(kSkin);
    p.drawRect(QRectF(43, 37, 6, 6));
    p.drawEllipse(QRectF(37.5, 22, 17, 19));
    if (rank == 11) {
        // The jack's short hair curls at the sides.
        p.setBrush(hair);
        p.drawEllipse(QRectF(35.5, 27, 5, 8));
        p.drawEllipse(QRectF(51.5, 27, 5, 8));
    }
    // Eyes, nose, mouth.
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(42.6, 30.5), 1.1, 1.2);
    p.drawEllipse(QPointF(49.4, 30.5), 1.1, 1.2);
    p.setPen(QPen(QColor(0x9A, 0x5A, 0x40), 0.7));
    p.drawLine(QPointF(46, 31.5), QPointF(45.3, 34.2));
    p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44.3, 36.4), QPointF(47.7, 36.4));
    p.setPen(line);
    if (rank == 13) {
        // The king's beard and moustache.
        QPainterPath beard;
        beard.moveTo(38.5, 33);
        beard.cubicTo(39, 42, 43, 45, 46, 45);
        beard.cubicTo(49, 45, 53, 42, 53.5, 33);
        beard.cubicTo(51, 37.5, 41, 37.5, 38.5, 33);
        p.setBrush(QColor(0xF0, 0xF0, 0xF0));
        p.drawPath(beard);
        p.setBrush(QColor(0xF0, 0xF0, 0xF0));
        p.drawEllipse(QRectF(41.5, 34.2, 4.5, 2.2));
        p.drawEllipse(QRectF(46, 34.2, 4.5, 2.2));
    }
    // Headwear: crown with points for the king, a rounded crown for the queen, a cap for the jack.
    if (rank == 13) {
        QPainterPath crown;
        crown.moveTo(37, 25);
        crown.lineTo(36, 14);
        crown.lineTo(40.5, 19);
        crown.lineTo(46, 12);
        crown.lineTo(51.5, 19);
        crown.lineTo(56, 14);
        crown.lineTo(55, 25);
        crown.closeSubpath();
        p.setBrush(kGold);
        p.drawPath(crown);
        p.setBrush(cc.trim);
        p.drawEllipse(QPointF(46, 21.5), 1.6, 1.6);
        p.setBrush(cc.robe);
        p.drawEllipse(QPointF(40.5, 22.5), 1.2, 1.2);
        p.drawEllipse(QPointF(51.5, 22.5), 1.2, 1.2);
    } else if (rank == 12) {
        QPainterPath crown;
        crown.moveTo(38, 25);
        crown.lineTo(38, 18);
        crown.quadTo(40, 15, 42, 18);
        crown.quadTo(44, 13, 46, 16);
        crown.quadTo(48, 13, 50, 18);
        crown.quadTo(52, 15, 54, 18);
        crown.lineTo(54, 25);
        crown.closeSubpath();
        p.setBrush(kGold);
        p.drawPath(crown);
        p.setBrush(cc.trim);
        p.drawEllipse(QPointF(46, 21.5), 1.5, 1.5);
    } else {
        QPainterPath cap;
        cap.moveTo(35.5, 26);
        cap.cubicTo(35, 17, 42, 14.5, 47, 15);
        cap.cubicTo(53, 15.5, 58, 19, 57.5, 26);
        cap.closeSubpath();
        p.setBrush(cc.trim);
        p.drawPath(cap);
        p.setBrush(kGold);
        p.drawRect(QRectF(36, 24, 21, 2.6));
        // A feather on the cap.
        QPainterPath feather;
        feather.moveTo(52, 17);
        feather.cubicTo(58, 10, 64, 12, 66, 14);
        feather.cubicTo(62, 15, 58, 17, 53, 20);
        feather.closeSubpath();
        p.setBrush(QColor(0xF4, 0xF0, 0xE0));
        p.drawPath(feather);
    }
}

void CourtFigure(QPainter& p, int suit, int rank) {
    const QRectF frame(19.5, 11.5, 53, 99);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFB, 0xF2, 0xDA));
    p.drawRect(frame);
    for (int half = 0; half < 2; ++half) {
        p.save();
        if (half) {
            p.translate(46, 61);
            p.rotate(180);
            p.translate(-46, -61);
        }
        // The halves meet on a diagonal through the centre, as on printed court cards.
        p.setClipPath([&] {
            QPainterPath half;
            half.addPolygon(QPolygonF{frame.topLeft(), frame.topRight(), QPointF(frame.right(), 56),
                                      QPointF(frame.left(), 66)});
            half.closeSubpath();
            return half;
        }());
        CourtHalf(p, suit, rank);
        p.restore();
    }
    // The dividing line and the frame.
    p.setPen(QPen(kGold, 0.9));
    p.drawLine(QPointF(frame.left(), 66), QPointF(frame.right(), 56));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(SuitColor(suit), 1.1));
    p.drawRect(frame);
    p.setPen(QPen(kGold, 0.8));
    p.drawRect(frame.adjusted(1.6, 1.6, -1.6, -1.6));
    p.restore();
}

void BeginCard(QPainter& p, QImage& image) {
    Begin(p, image);
    p.scale(image.width() / kW, image.height() / kH);
}

}  // namespace

QImage CardFace(int suit, int rank, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    BeginCard(p, image);
    CardBody(p);
    if (rank >= 11 && rank <= 13)
        CourtFigure(p, suit, rank);
    else if (rank == 14)
        AcePip(p, suit);
    else
        NumberPips(p, suit, rank == 15 ? 2 : rank);
    Indexes(p, RankText(rank), suit, SuitColor(suit));
    return image;
}

QImage Joker(bool red, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    BeginCard(p, image);
    CardBody(p);
    const QColor ink = red ? QColor(0xD0, 0x10, 0x1E) : QColor(0x14, 0x14, 0x18);
    // "JOKER" spelled downwards in both corners.
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        const QString word = QStringLiteral("JOKER");
        for (int i = 0; i < word.size(); ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPath(TextPath(word.mid(i, 1), Latin(10.5), QRectF(3, 5 + 11 * i, 12, 11)));
        }
        p.restore();
    }
    // A jester: starburst, three-pointed cap with bells, face and ruff.
    const QPointF c(47, 62);
    p.save();
    p.translate(c);
    p.scale(1.22, 1.22);
    p.translate(-c);
    QRadialGradient burst(c, 34);
    burst.setColorAt(0, red ? QColor(0xFF, 0xE0, 0x80) : QColor(0xE8, 0xE8, 0xE8));
    burst.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(burst);
    QPainterPath star;
    for (int i = 0; i < 24; ++i) {
        const qreal a = i * M_PI / 12;
        const qreal r = (i % 2) ? 20 : 34;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.drawPath(star);

    const QColor capA = red ? QColor(0xD0, 0x10, 0x1E) : QColor(0x22, 0x22, 0x28);
    const QColor capB = red ? QColor(0xF2, 0xB0, 0x1E) : QColor(0x80, 0x80, 0x88);
    const QPen line(kInk, 0.9);
    p.setPen(line);
    // Ruff collar.
    for (int i = 0; i < 7; ++i) {
        const qreal x = 31 + i * 5.4;
        p.setBrush(i % 2 ? capB : capA);
        QPainterPath tri;
        tri.moveTo(x, 74);
        tri.lineTo(x + 5.4, 74);
        tri.lineTo(x + 2.7, 84);
        tri.closeSubpath();
        p.drawPath(tri);
    }
    // Face.
    p.setBrush(kSkin);
    p.drawEllipse(QRectF(37, 55, 20, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(43, 63), 1.3, 1.5);
    p.drawEllipse(QPointF(51, 63), 1.3, 1.5);
    p.setBrush(red ? QColor(0xE0, 0x30, 0x30) : QColor(0x50, 0x50, 0x58));
    p.drawEllipse(QPointF(47, 67), 1.8, 1.8);
    p.setPen(QPen(QColor(0xB0, 0x20, 0x20), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(42, 66, 10, 6), 200 * 16, 140 * 16);
    // Cap with three points ending in bells.
    p.setPen(line);
    const QPointF tips[3] = {{24, 38}, {47, 26}, {70, 38}};
    const QColor fills[3] = {capA, capB, capA};
    for (int i = 0; i < 3; ++i) {
        QPainterPath pt;
        const qreal bx = 36 + i * 7.3;
        pt.moveTo(bx, 57);
        pt.quadTo((bx + tips[i].x()) / 2 - (i == 1 ? 0 : (i == 0 ? 2 : -2)), tips[i].y() + 4,
                  tips[i].x(), tips[i].y());
        pt.quadTo((bx + 7.3 + tips[i].x()) / 2, tips[i].y() + 8, bx + 8.3, 57);
        pt.closeSubpath();
        p.setBrush(fills[i]);
        p.drawPath(pt);
    }
    p.setBrush(capB);
    p.drawRect(QRectF(35, 54.5, 24, 3.5));
    p.setBrush(kGold);
    for (const QPointF& t : tips) p.drawEllipse(t, 3, 3);
    p.restore();
    return image;
}

QImage CardBack(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const qreal w = 78, h = 103;
    p.scale(size.width() / w, size.height() / h);
    p.setPen(QPen(QColor(0x8C, 0x8C, 0x8C), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 6, 6);
    const QRectF field(5, 5, w - 10, h - 10);
    const QColor deep(0xA3, 0x16, 0x1F);
    p.setPen(Qt::NoPen);
    p.setBrush(deep);
    p.drawRoundedRect(field, 3, 3);
    // Diamond lattice.
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(field, 3, 3);
    p.setClipPath(clip);
    p.setPen(QPen(QColor(0xE0, 0x5A, 0x60), 0.9));
    for (qreal d = -h; d < w + h; d += 7) {
        p.drawLine(QPointF(field.left() + d, field.top()), QPointF(field.left() + d - h, field.top() + h));
        p.drawLine(QPointF(field.left() + d - h, field.top()), QPointF(field.left() + d, field.top() + h));
    }
    // Dots in the lattice cells.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF3, 0xB0, 0x60));
    for (qreal y = field.top(); y < field.bottom() + 7; y += 7)
        for (qreal x = field.left(); x < field.right() + 7; x += 7)
            p.drawEllipse(QPointF(x + 3.5 - fmod(y - field.top(), 14.0) / 2, y), 0.7, 0.7);
    p.restore();
    // Borders and a medallion with a spade.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xF3, 0xC8, 0x60), 1.2));
    p.drawRoundedRect(field.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 200), 0.8));
    p.drawRoundedRect(field.adjusted(4.5, 4.5, -4.5, -4.5), 2, 2);
    const QPointF c(w / 2, h / 2);
    p.setPen(QPen(QColor(0xF3, 0xC8, 0x60), 1.4));
    p.setBrush(deep);
    p.drawEllipse(c, 15, 19);
    p.setPen(QPen(Qt::white, 0.8));
    p.drawEllipse(c, 12, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF3, 0xC8, 0x60));
    p.drawPath(SuitPath(3, QRectF(c.x() - 9, c.y() - 10, 18, 20)));
    return image;
}

}  // namespace artgen
