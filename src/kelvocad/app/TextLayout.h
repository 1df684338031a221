#pragma once

#include "kelvocad/model/Point3.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QCache>
#include <QPolygonF>
#include <QString>
#include <QTransform>

#include <string>

namespace kelvocad {

// A text (TEXT or attribute) as it stands in the drawing.
struct PlacedText {
    QString string;  // empty for a text that is not drawn
    // From the pixels of the reference font (Y down, baseline at 0, string starting at x 0)
    // to drawing coordinates.
    QTransform fontToWorld;
    // The text's box (baseline start, baseline end, top end, top start, with the descent
    // below the baseline) in drawing coordinates.
    QPolygonF outline;
    // Drawn greyed: the text's own layer or its entity's is locked (the shapes set it).
    bool locked = false;
};

// Lays texts out the way a CAD places them: the height is the height of capital letters,
// the rotation turns about the reference point, and the alignment says which point of the
// text's box sits on the reference point. The font is only an approximation of the CAD's
// text style, measured with QFontMetrics.
class TextLayout {
public:
    TextLayout();

    const QFont& font() const noexcept { return font_; }

    PlacedText place(const std::u16string& string, const Point3& insertionPoint, const Point3& alignmentPoint,
                     int alignment, double height, double rotation) const;

    // The glyph outlines of a string in the reference font's pixels, to be drawn through a
    // PlacedText's fontToWorld. Texts are filled as outlines rather than drawn with a scaled
    // font: scaled glyph rendering shares the font file's state with the widgets' fonts and
    // shrank the menu's letters. Outlines take kilobytes per text, so they are made when a
    // text is drawn large enough to read, and only the most recent ones are kept.
    QPainterPath glyphs(const QString& string) const;

private:
    QFont font_;
    QFontMetricsF metrics_;
    double capHeight_;
    mutable QCache<QString, QPainterPath> glyphCache_;
};

}  // namespace kelvocad
