// The table backgrounds, the bars above and below the table, the window frame skin and its
// buttons, the countdown plate, the window faces and the video frames. The table pieces are
// drawn on the 1024 × 768 design and scaled for the small set.

#include "Art.h"
#include "Paint.h"

#include <QtMath>

namespace artgen {
namespace {

const QColor kGold(0xD8, 0xA8, 0x40);
const QColor kGoldLight(0xF8, 0xDC, 0x8A);
const QColor kWood(0x5E, 0x34, 0x16);
const QColor kDarkWood(0x3A, 0x20, 0x0E);

// A canvas of `size` painted in design units of designW × designH.
void DesignCanvas(QSize size, qreal designW, qreal designH, QPainter& p, QImage& image) {
    image = Canvas(size);
    Begin(p, image);
    p.scale(size.width() / designW, size.height() / designH);
}

void GoldLine(QPainter& p, const QRectF& r) {
    p.fillRect(r, VGrad(r, kGoldLight, Shade(kGold, 0.75)));
}

// The dark wooden body shared by both bars.
void BarBody(QPainter& p, const QRectF& r, unsigned seed) {
    QPainterPath area;
    area.addRect(r);
    WoodGrain(p, area, kDarkWood, seed);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(255, 255, 255, 28));
    shade.setColorAt(0.5, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 70));
    p.fillRect(r, shade);
}

// Stroke an ellipse at radii shrinking by `inset` with the given colour.
void Ring(QPainter& p, QPointF c, qreal rx, qreal ry, qreal inset, const QColor& color, qreal width) {
    p.setPen(QPen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, rx - inset, ry - inset);
}

}  // namespace

QImage TableBackground(bool blue, QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 1024, 768, p, image);
    const QRectF all(0, 0, 1024, 768);
    // The room around the table: a dark patterned carpet.
    p.fillRect(all, VGrad(all, QColor(0x24, 0x16, 0x10), QColor(0x14, 0x0C, 0x08)));
    p.setPen(QPen(QColor(0x3A, 0x24, 0x16), 1));
    for (int d = -768; d < 1024 + 768; d += 32) {
        p.drawLine(QPointF(d, 0), QPointF(d + 768, 768));
        p.drawLine(QPointF(d, 768), QPointF(d + 768, 0));
    }
    const QPointF c(512, 378);
    const qreal rx = 498, ry = 264, rim = 28;
    // Shadow of the table on the carpet.
    p.setPen(Qt::NoPen);
    for (int i = 8; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 26));
        p.drawEllipse(c + QPointF(0, 8), rx + i * 1.5, ry + i * 1.5);
    }
    // The wooden rim.
    QPainterPath outer, inner;
    outer.addEllipse(c, rx, ry);
    inner.addEllipse(c, rx - rim, ry - rim);
    WoodGrain(p, outer.subtracted(inner), QColor(0x7A, 0x42, 0x1C), 1234);
    // Bevel: light along the middle of the rim, dark at both edges.
    for (int i = 0; i <= int(rim); ++i) {
        const qreal t = i / rim;
        const qreal b = qSin(t * M_PI);
        Ring(p, c, rx, ry, i, QColor(255, 230, 190, int(55 * b * b)), 1.2);
        Ring(p, c, rx, ry, i, QColor(0, 0, 0, int(110 * (1 - b) * (1 - b))), 1.2);
    }
    Ring(p, c, rx, ry, 0.5, QColor(0x1A, 0x0A, 0x02), 1.5);
    Ring(p, c, rx, ry, rim * 0.5, QColor(0xE8, 0xC0, 0x60, 200), 1.3);
    // The felt: lit in the middle, darker towards the rim.
    const QColor feltLight = blue ? QColor(0x3C, 0x80, 0xD4) : QColor(0x2E, 0x9A, 0x50);
    const QColor feltDark = blue ? QColor(0x10, 0x36, 0x78) : QColor(0x0C, 0x52, 0x26);
    p.save();
    p.translate(c);
    p.scale((rx - rim) / (ry - rim), 1);
    QRadialGradient felt(QPointF(0, -20), ry - rim + 10);
    felt.setColorAt(0, feltLight);
    felt.setColorAt(0.65, Shade(feltLight, 0.82));
    felt.setColorAt(1, feltDark);
    p.setPen(Qt::NoPen);
    p.setBrush(felt);
    p.drawEllipse(QPointF(0, 0), ry - rim, ry - rim);
    p.restore();
    // The rim's shadow falling onto the felt.
    for (int i = 0; i < 12; ++i)
        Ring(p, c, rx - rim, ry - rim, i + 0.5, QColor(0, 0, 0, int(120 * (1 - i / 12.0) * (1 - i / 12.0))), 1.2);
    // The betting line and the table's name in the middle.
    const QColor print = blue ? QColor(0xB8, 0xD8, 0xFF, 70) : QColor(0xC8, 0xF0, 0xB8, 70);
    Ring(p, c, rx - rim, ry - rim, 44, print, 2.2);
    Ring(p, c, rx - rim, ry - rim, 50, QColor(print.red(), print.green(), print.blue(), 40), 1.0);
    QFont name = Serif(46);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(print);
    p.drawPath(TextPath(QStringLiteral("SORVIK"), name, QRectF(312, 330, 400, 60)));
    const int suits[4] = {3, 2, 1, 0};
    for (int i = 0; i < 4; ++i) {
        const QRectF box(512 - 66 + i * 36, 394, 24, 24);
        p.drawPath(SuitPath(suits[i], box));
    }
    p.setPen(QPen(print, 1.4));
    p.drawLine(QPointF(372, 322), QPointF(652, 322));
    p.drawLine(QPointF(372, 430), QPointF(652, 430));
    return image;
}

QImage TopBar(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 1024, 110, p, image);
    BarBody(p, QRectF(0, 0, 1024, 110), 77);
    // Three player panels, one per opponent.
    for (int k = 0; k < 3; ++k) {
        const qreal x = k == 0 ? 0 : (k == 1 ? 342 : 685);
        const qreal w = k == 2 ? 339 : 340;
        Recess(p, QRectF(x + 2, 4, w - 4, 99), 8, QColor(0x24, 0x12, 0x06, 220));
        p.setPen(QPen(QColor(0xD8, 0xA8, 0x40, 110), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(x + 2.5, 4.5, w - 5, 98), 8, 8);
        // Portrait socket.
        Recess(p, QRectF(x + 4, 12, 76, 68), 4, QColor(0x10, 0x08, 0x02));
        p.setPen(QPen(kGold, 1.2));
        p.drawRoundedRect(QRectF(x + 4.5, 12.5, 75, 67), 4, 4);
        // Fields for name, coins and level.
        for (int row = 0; row < 3; ++row) {
            const QRectF field(x + 160, 12 + row * 25, w - 168, 21);
            Recess(p, field, 4, QColor(0x18, 0x0C, 0x04, 200));
        }
    }
    GoldLine(p, QRectF(0, 104, 1024, 3));
    p.fillRect(QRectF(0, 107, 1024, 3), QColor(0x12, 0x08, 0x02));
    return image;
}

QImage BottomBar(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 1024, 128, p, image);
    BarBody(p, QRectF(0, 0, 1024, 128), 99);
    p.fillRect(QRectF(0, 0, 1024, 2), QColor(0x12, 0x08, 0x02));
    GoldLine(p, QRectF(0, 2, 1024, 3));
    // Local portrait socket.
    Recess(p, QRectF(6, 24, 93, 98), 5, QColor(0x10, 0x08, 0x02));
    p.setPen(QPen(kGold, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6.5, 24.5, 92, 97), 5, 5);
    // Fields for the local name, coins and level.
    for (int row = 0; row < 3; ++row) Recess(p, QRectF(176, 57 + row * 22, 114, 19), 4, QColor(0x18, 0x0C, 0x04, 210));
    // The message panel.
    Recess(p, QRectF(296, 10, 338, 112), 6, QColor(0x0E, 0x06, 0x02, 230));
    p.setPen(QPen(QColor(0xD8, 0xA8, 0x40, 120), 1));
    p.drawRoundedRect(QRectF(296.5, 10.5, 337, 111), 6, 6);
    // The tray of the toolbar buttons and the panel on the right.
    Recess(p, QRectF(568, 56, 352, 68), 6, QColor(0x20, 0x10, 0x04, 200));
    Recess(p, QRectF(932, 60, 88, 64), 6, QColor(0x10, 0x08, 0x02, 220));
    return image;
}

QImage Skin() {
    // 690 × 3300 twips. Corners are 8 px wide; the title band is 20 px high, the bottom 8 px.
    QImage image = Canvas(QSize(46, 220));
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF all(0, 0, 46, 220);
    // Sides: outer dark, lit in the middle, a gold line on the inner edge.
    QLinearGradient left(0, 0, 8, 0);
    left.setColorAt(0, QColor(0x2A, 0x14, 0x06));
    left.setColorAt(0.45, QColor(0x7A, 0x46, 0x1E));
    left.setColorAt(1, QColor(0x40, 0x22, 0x0C));
    p.fillRect(QRectF(0, 0, 23, 220), left);
    QLinearGradient right(46, 0, 38, 0);
    right.setColorAt(0, QColor(0x2A, 0x14, 0x06));
    right.setColorAt(0.45, QColor(0x7A, 0x46, 0x1E));
    right.setColorAt(1, QColor(0x40, 0x22, 0x0C));
    p.fillRect(QRectF(23, 0, 23, 220), right);
    // Bottom band.
    QLinearGradient bottom(0, 212, 0, 220);
    bottom.setColorAt(0, QColor(0x40, 0x22, 0x0C));
    bottom.setColorAt(0.55, QColor(0x7A, 0x46, 0x1E));
    bottom.setColorAt(1, QColor(0x2A, 0x14, 0x06));
    p.fillRect(QRectF(8, 212, 30, 8), bottom);
    // Diagonal joints at the bottom corners.
    for (int i = 0; i < 8; ++i) {
        p.fillRect(QRectF(i, 212 + i, 8 - i, 1), bottom);
        p.fillRect(QRectF(38, 212 + i, 8 - i, 1), bottom);
    }
    // Title band.
    QLinearGradient title(0, 0, 0, 20);
    title.setColorAt(0, QColor(0x9A, 0x5E, 0x2C));
    title.setColorAt(0.08, QColor(0x7E, 0x48, 0x20));
    title.setColorAt(0.55, QColor(0x5A, 0x30, 0x12));
    title.setColorAt(1, QColor(0x36, 0x1C, 0x08));
    p.fillRect(QRectF(0, 0, 46, 19), title);
    // Gold lines: below the title, along the inner edges of the sides and above the bottom.
    p.fillRect(QRectF(0, 19, 46, 1), kGold);
    p.fillRect(QRectF(7, 20, 1, 193), kGold);
    p.fillRect(QRectF(38, 20, 1, 193), kGold);
    p.fillRect(QRectF(7, 212, 32, 1), kGold);
    // Outer border.
    p.setPen(QColor(0x14, 0x08, 0x02));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, 45, 219));
    p.end();
    return image;
}

QImage TitleButton(bool close, int state, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    DiscColors c{QColor(0xC8, 0x98, 0x48), QColor(0x7A, 0x48, 0x22), QColor(0x3A, 0x1E, 0x0A), Qt::white};
    if (state >= 1) {
        c = close ? DiscColors{QColor(0xFF, 0xC0, 0x80), QColor(0xF0, 0x58, 0x40), QColor(0xA0, 0x10, 0x10), Qt::white}
                  : DiscColors{QColor(0xFF, 0xD8, 0x80), QColor(0xC8, 0x8A, 0x40), QColor(0x70, 0x40, 0x14), Qt::white};
        if (state == 2) {
            c.light = Shade(c.light, 0.78);
            c.dark = Shade(c.dark, 0.78);
            c.gloss = QColor(0, 0, 0);
        }
    }
    GlossyPanel(p, r, 4, c, 1.2);
    const QPointF m = r.center() + (state == 2 ? QPointF(0.5, 0.5) : QPointF(0, 0));
    p.setPen(QPen(QColor(0x20, 0x08, 0x00, 160), 3.2, Qt::SolidLine, Qt::RoundCap));
    for (int pass = 0; pass < 2; ++pass) {
        if (close) {
            p.drawLine(m + QPointF(-4, -4), m + QPointF(4, 4));
            p.drawLine(m + QPointF(4, -4), m + QPointF(-4, 4));
        } else {
            p.drawLine(m + QPointF(-4.5, 3), m + QPointF(4.5, 3));
        }
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    }
    return image;
}

QImage WindowIcon(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    GlossyDisc(p, r, DiscColors{QColor(0x80, 0x50, 0x10), QColor(0xFF, 0xE0, 0x80), QColor(0xD0, 0x90, 0x20), Qt::white}, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x18, 0x10, 0x0C));
    p.drawPath(SuitPath(3, r.adjusted(3.5, 3, -3.5, -3.5)));
    return image;
}

QImage Countdown(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 81, 38, p, image);
    const QRectF body(0.75, 0.75, 79.5, 36.5);
    p.setPen(QPen(kGold, 1.5));
    p.setBrush(VGrad(body, QColor(0x6A, 0x3E, 0x1A), QColor(0x2A, 0x16, 0x06)));
    p.drawRoundedRect(body, 12, 12);
    // An alarm clock on the left.
    const QPointF c(21, 20.5);
    p.setPen(QPen(QColor(0x60, 0x30, 0x08), 0.9));
    p.setBrush(kGold);
    p.drawEllipse(QPointF(12.5, 8), 4.2, 3.6);
    p.drawEllipse(QPointF(29.5, 8), 4.2, 3.6);
    p.setPen(QPen(kGold, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 31), QPointF(11.5, 34));
    p.drawLine(QPointF(28, 31), QPointF(30.5, 34));
    QRadialGradient bezel(c, 13);
    bezel.setColorAt(0.8, kGoldLight);
    bezel.setColorAt(1, Shade(kGold, 0.7));
    p.setPen(QPen(QColor(0x60, 0x30, 0x08), 0.8));
    p.setBrush(bezel);
    p.drawEllipse(c, 12.5, 12.5);
    p.setBrush(QColor(0xFF, 0xFC, 0xF2));
    p.drawEllipse(c, 10, 10);
    p.setPen(QPen(QColor(0x40, 0x30, 0x20), 0.9));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        const qreal r0 = i % 3 ? 8.3 : 7.2;
        p.drawLine(c + QPointF(r0 * qCos(a), r0 * qSin(a)), c + QPointF(9.2 * qCos(a), 9.2 * qSin(a)));
    }
    p.setPen(QPen(QColor(0x20, 0x18, 0x10), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -6.5));
    p.setPen(QPen(QColor(0xC0, 0x18, 0x18), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(5, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x18, 0x10));
    p.drawEllipse(c, 1.3, 1.3);
    // The window for the seconds.
    Recess(p, QRectF(45.5, 3.5, 30, 31), 5, QColor(0x08, 0x08, 0x06));
    p.setPen(QPen(QColor(0xD8, 0xA8, 0x40, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(45.5, 3.5, 30, 31), 5, 5);
    return image;
}

QImage DialogFace(int kind, QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF all(0, 0, size.width(), size.height());
    // Parchment with darker edges.
    p.fillRect(all, VGrad(all, QColor(0xF8, 0xEE, 0xD6), QColor(0xEC, 0xDA, 0xB2)));
    QRadialGradient vignette(all.center(), qMax(all.width(), all.height()) * 0.75);
    vignette.setColorAt(0.6, QColor(0x80, 0x50, 0x10, 0));
    vignette.setColorAt(1, QColor(0x80, 0x50, 0x10, 60));
    p.fillRect(all, vignette);
    const qreal top = 0;
    if (kind == 2) {
        // The settings window: four option rows 34 apart from y 14, the buttons from y 156.
        for (int k = 1; k < 4; ++k) {
            const qreal y = 14 + 34 * k - 2.5;
            p.setPen(QPen(QColor(0xC0, 0x98, 0x58, 150), 1));
            p.drawLine(QPointF(16, y), QPointF(all.width() - 16, y));
        }
        p.setPen(QPen(QColor(0xB0, 0x80, 0x40), 1));
        p.drawLine(QPointF(12, 149.5), QPointF(all.width() - 12, 149.5));
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.drawLine(QPointF(12, 150.5), QPointF(all.width() - 12, 150.5));
    }
    // Frame: a wooden edge and a gold line inside it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x6A, 0x3A, 0x14), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(all.adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(kGold, 1));
    p.drawRoundedRect(all.adjusted(5.5, top + 5.5, -5.5, -5.5), 4, 4);
    // Suit ornaments in the corners and a faint watermark.
    const int corners[4] = {3, 2, 1, 0};
    const QPointF at[4] = {{13, top + 13}, {all.width() - 13, top + 13},
                           {13, all.height() - 13}, {all.width() - 13, all.height() - 13}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        QColor c = SuitColor(corners[i]);
        c.setAlpha(110);
        p.setBrush(c);
        p.drawPath(SuitPath(corners[i], QRectF(at[i] - QPointF(4.5, 4.5), QSizeF(9, 9))));
    }
    if (kind != 2) {
        QColor w = kind == 0 ? QColor(0x80, 0x50, 0x20, 26) : QColor(0xB0, 0x20, 0x20, 22);
        p.setBrush(w);
        const qreal s = all.height() * 0.62;
        p.drawPath(SuitPath(kind == 0 ? 3 : 2, QRectF(all.width() - s - 18, (all.height() - s) / 2, s, s)));
    }
    return image;
}

QImage VideoFrame(QSize size, const QRectF& display) {
    QImage image = Canvas(size, Qt::black);
    QPainter p;
    Begin(p, image);
    const QRectF all(0, 0, size.width(), size.height());
    QPainterPath frame;
    frame.addRect(all);
    WoodGrain(p, frame, QColor(0x86, 0x52, 0x26), unsigned(size.width() * 31 + size.height()));
    // Bevel of the outer edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xE8, 0xB8, 0x78), 1));
    p.drawLine(QPointF(0.5, 0.5), QPointF(all.width() - 0.5, 0.5));
    p.drawLine(QPointF(0.5, 0.5), QPointF(0.5, all.height() - 0.5));
    p.setPen(QPen(QColor(0x2A, 0x14, 0x04), 1));
    p.drawLine(QPointF(all.width() - 0.5, 0.5), QPointF(all.width() - 0.5, all.height() - 0.5));
    p.drawLine(QPointF(0.5, all.height() - 0.5), QPointF(all.width() - 0.5, all.height() - 0.5));
    // Title text in the top band, engraved.
    const qreal band = display.top();
    if (band >= 10) {
        QFont f = Cjk(band * 0.55);
        const QRectF t(6, 0, f.pixelSize() * 6, band);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x14, 0x02, 200));
        QPainterPath text = TextPath(QStringLiteral("视频"), f, t);
        text.translate(-t.width() / 2 + text.boundingRect().width() / 2, 0);
        p.drawPath(text.translated(0, 1));
        p.setBrush(kGoldLight);
        p.drawPath(text);
    }
    // The display: a dark sunken bevel, then black.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x12, 0x02));
    p.drawRect(display.adjusted(-3, -3, 3, 3));
    p.setBrush(QColor(0xC8, 0x94, 0x58));
    p.drawRect(display.adjusted(-1, -1, 2, 2));
    p.setBrush(Qt::black);
    p.drawRect(display.adjusted(-1, -1, 1, 1));
    return image;
}

QImage PanelFrame(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 126, 105, p, image);
    // A brass frame five units wide; the middle stays clear for the video.
    QPainterPath outer, inner;
    outer.addRoundedRect(QRectF(0.5, 0.5, 125, 104), 4, 4);
    inner.addRect(QRectF(5, 5, 116, 95));
    QLinearGradient brass(0, 0, 126, 105);
    brass.setColorAt(0, kGoldLight);
    brass.setColorAt(0.5, kGold);
    brass.setColorAt(1, Shade(kGold, 0.6));
    p.setPen(QPen(QColor(0x50, 0x30, 0x08), 1));
    p.setBrush(brass);
    p.drawPath(outer.subtracted(inner));
    p.setPen(QPen(QColor(0x50, 0x30, 0x08), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, 117, 96));
    return image;
}

QImage ToolStrip(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(kGold, 1));
    p.setBrush(VGrad(r, QColor(0x5A, 0x34, 0x16), QColor(0x26, 0x14, 0x06)));
    p.drawRoundedRect(r, 3, 3);
    return image;
}

QImage PhraseStrip(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 394, 39, p, image);
    const QRectF r(0.5, 0.5, 393, 38);
    p.setPen(QPen(QColor(0xD8, 0xA8, 0x40, 160), 1));
    p.setBrush(VGrad(r, QColor(0x1A, 0x0C, 0x04, 230), QColor(0x30, 0x1A, 0x08, 230)));
    p.drawRoundedRect(r, 6, 6);
    return image;
}

QImage ScoreIcon(QSize size) {
    QImage image;
    QPainter p;
    DesignCanvas(size, 60, 26, p, image);
    const QRectF r(0.5, 0.5, 59, 25);
    GlossyPanel(p, r, 6, DiscColors{QColor(0x6A, 0x3A, 0x10), QColor(0xF2, 0xCC, 0x74), QColor(0xBE, 0x7C, 0x22), Qt::white}, 1.2);
    // A small bar chart and the label.
    p.setPen(Qt::NoPen);
    const QColor bars[3] = {QColor(0xC0, 0x24, 0x2C), QColor(0x23, 0x8A, 0x3C), QColor(0x1F, 0x5F, 0xC0)};
    const qreal heights[3] = {8, 13, 10};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(7 + i * 4.5, 19.5 - heights[i], 3.5, heights[i]));
    }
    p.setBrush(QColor(0x48, 0x24, 0x04));
    p.drawRect(QRectF(6, 19.5, 14, 1));
    OutlinedText(p, QRectF(22, 0, 36, 26), QStringLiteral("计分"), Cjk(13), QColor(0x48, 0x24, 0x04),
                 QColor(255, 240, 200, 150), 1.6);
    return image;
}

QImage DealerMark(QSize size) {
    QImage image = Canvas(size);
    QPainter p;
    Begin(p, image);
    const QRectF r(0.5, 0.5, size.width() - 1.5, size.height() - 1.5);
    GlossyDisc(p, r, DiscColors{kGold, QColor(0xFF, 0x60, 0x50), QColor(0xA0, 0x0C, 0x0C), Qt::white}, 2);
    OutlinedText(p, r, QStringLiteral("庄"), Cjk(size.height() * 0.55), Qt::white, QColor(0x60, 0x04, 0x04), 2);
    return image;
}

}  // namespace artgen
