#include "kelvocad/app/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kelvocad {

namespace {

// Texts are measured and drawn with a font of this pixel size, scaled to the view.
constexpr int referencePixelSize = 100;
// Path elements kept in the glyph cache (24 bytes each): the texts of a few screens.
constexpr qsizetype glyphCacheElements = 400000;

QFont referenceFont()
{
    QFont font;
    // Japanese captions are the common case; Latin text falls back through fontconfig.
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(referencePixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

enum class Horizontal { Left, Center, Right, Between };
enum class Vertical { Baseline, Bottom, Middle, Top };

// The alignment values of the object model: 0 left, 1 centre, 2 right, 3 aligned,
// 4 middle, 5 fit, then top/middle/bottom each with left/centre/right.
Horizontal horizontalOf(int alignment)
{
    switch (alignment) {
    case 1: case 4: case 7: case 10: case 13: return Horizontal::Center;
    case 2: case 8: case 11: case 14: return Horizontal::Right;
    case 3: case 5: return Horizontal::Between;
    default: return Horizontal::Left;
    }
}

Vertical verticalOf(int alignment)
{
    switch (alignment) {
    case 6: case 7: case 8: return Vertical::Top;
    case 4: case 9: case 10: case 11: return Vertical::Middle;
    case 12: case 13: case 14: return Vertical::Bottom;
    default: return Vertical::Baseline;
    }
}

}  // namespace

TextLayout::TextLayout() : font_(referenceFont()), metrics_(font_), glyphCache_(glyphCacheElements)
{
    capHeight_ = metrics_.capHeight();
    if (!(capHeight_ > 0.0))
        capHeight_ = metrics_.ascent() * 0.7;
}

PlacedText TextLayout::place(const std::u16string& string, const Point3& insertionPoint, const Point3& alignmentPoint,
                             int alignment, double height, double rotation) const
{
    PlacedText placed;
    const bool finite = std::isfinite(insertionPoint.x) && std::isfinite(insertionPoint.y) &&
                        std::isfinite(alignmentPoint.x) && std::isfinite(alignmentPoint.y) && std::isfinite(height) &&
                        std::isfinite(rotation);
    // A text with no place in the plane (a damaged file) is neither drawn nor picked.
    if (!finite)
        return placed;
    placed.string = QString::fromStdU16String(string);
    if (!(height > 0.0))
        height = 1.0;

    // Everything below is in "text units": drawing units along the baseline (x) and up (y).
    const double unit = height / capHeight_;  // drawing units per reference-font pixel
    const double width = metrics_.horizontalAdvance(placed.string) * unit;
    const double descent = metrics_.descent() * unit;

    Point3 origin = insertionPoint;
    double angle = rotation;
    double stretchX = 1.0;
    double stretchY = 1.0;
    const Horizontal horizontal = horizontalOf(alignment);
    if (horizontal == Horizontal::Between) {
        // Aligned and fit texts run from the insertion point to the alignment point; aligned
        // keeps its proportions, fit keeps its height.
        const double dx = alignmentPoint.x - insertionPoint.x;
        const double dy = alignmentPoint.y - insertionPoint.y;
        const double length = std::hypot(dx, dy);
        if (length > 1e-9 && width > 1e-9) {
            angle = std::atan2(dy, dx);
            stretchX = length / width;
            stretchY = alignment == 3 ? stretchX : 1.0;
        }
    } else if (alignment != 0) {
        double ax = 0.0;
        if (horizontal == Horizontal::Center)
            ax = width / 2.0;
        else if (horizontal == Horizontal::Right)
            ax = width;
        double ay = 0.0;
        switch (verticalOf(alignment)) {
        case Vertical::Baseline: break;
        case Vertical::Bottom: ay = -descent; break;
        case Vertical::Middle: ay = height / 2.0; break;
        case Vertical::Top: ay = height; break;
        }
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        origin = {alignmentPoint.x - (ax * c - ay * s), alignmentPoint.y - (ax * s + ay * c), alignmentPoint.z};
    }

    QTransform textToWorld;
    textToWorld.translate(origin.x, origin.y);
    textToWorld.rotateRadians(angle);
    textToWorld.scale(stretchX, stretchY);
    placed.fontToWorld = QTransform::fromScale(unit, -unit) * textToWorld;
    placed.outline = textToWorld.map(QPolygonF(QVector<QPointF>{
        QPointF(0.0, -descent), QPointF(width, -descent), QPointF(width, height), QPointF(0.0, height)}));
    return placed;
}

QPainterPath TextLayout::glyphs(const QString& string) const
{
    if (const QPainterPath* cached = glyphCache_.object(string))
        return *cached;
    auto path = std::make_unique<QPainterPath>();
    path->addText(0.0, 0.0, font_, string);
    QPainterPath result = *path;
    // A path larger than the whole cache is drawn but not kept.
    glyphCache_.insert(string, path.release(), std::max<qsizetype>(1, result.elementCount()));
    return result;
}

}  // namespace kelvocad
