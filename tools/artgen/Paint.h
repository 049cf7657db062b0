#pragma once
// Drawing helpers shared by the picture generator: canvases, fonts, outlined text, the four
// suit shapes, glossy discs and panels, wood grain.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace artgen {

// A transparent (or filled) premultiplied ARGB canvas.
QImage Canvas(QSize size, QColor fill = Qt::transparent);

// Antialiased painting on `image`.
void Begin(QPainter& p, QImage& image);

// The CJK face for Chinese labels; Latin faces for ranks and numbers.
QFont Cjk(qreal pixelSize, bool bold = true);
QFont Latin(qreal pixelSize, bool bold = true, bool condensed = false);
QFont Serif(qreal pixelSize, bool bold = true);

// Text as a path, centred on the visual bounds of its glyphs inside `box`.
QPainterPath TextPath(const QString& text, const QFont& font, const QRectF& box);

// Text filled with `fill` over a stroke of `outline` (width 0: no stroke).
void OutlinedText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                  const QBrush& fill, const QColor& outline, qreal outlineWidth);

// Suit 0 diamonds, 1 clubs, 2 hearts, 3 spades, fitted into `box`, keeping their proportions.
QPainterPath SuitPath(int suit, const QRectF& box);
QColor SuitColor(int suit);
bool IsRedSuit(int suit);

// A vertical two-stop gradient over `r`.
QLinearGradient VGrad(const QRectF& r, const QColor& top, const QColor& bottom);

// A raised round button face: rim, gradient body, upper gloss.
struct DiscColors {
    QColor rim, light, dark, gloss;
};
void GlossyDisc(QPainter& p, const QRectF& r, const DiscColors& c, qreal rimWidth);

// A raised rounded-rectangle face with the same parts.
void GlossyPanel(QPainter& p, const QRectF& r, qreal radius, const DiscColors& c,
                 qreal rimWidth);

// Wood grain over `area`: base colour, darker wavy grain lines, seeded so output repeats.
void WoodGrain(QPainter& p, const QPainterPath& area, const QColor& base, unsigned seed,
               bool vertical = false);

// A sunken rectangle: darker fill with a shadow edge above and a light edge below.
void Recess(QPainter& p, const QRectF& r, qreal radius, const QColor& fill);

// Same colour, lighter or darker by `f` (HSV value scaled).
QColor Shade(const QColor& c, qreal f);

}  // namespace artgen
