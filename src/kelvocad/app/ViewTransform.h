#pragma once

#include "kelvocad/model/Point3.h"

#include <QPointF>
#include <QTransform>

namespace kelvocad {

struct ViewState;

// Maps drawing coordinates (Y up) to the pixels of a view (Y down) and back: the view's
// centre lands in the middle of the widget and its height fills the widget's height.
class ViewTransform {
public:
    ViewTransform(const Point3& center, double height, int widthPixels, int heightPixels);
    explicit ViewTransform(const ViewState& view);

    QPointF toScreen(double x, double y) const;
    QPointF toScreen(const Point3& point) const { return toScreen(point.x, point.y); }
    Point3 toWorld(const QPointF& screen) const;

    // Pixels per drawing unit.
    double scale() const noexcept { return scale_; }
    const QTransform& worldToScreen() const noexcept { return transform_; }

    // The view centre and height that keep `anchor` (a pixel) over the same drawing point
    // while the view height becomes newHeight: zooming around the cursor.
    Point3 centerForZoom(const QPointF& anchor, double newHeight) const;
    // The view centre after the drawing has been dragged by `delta` pixels.
    Point3 centerForPan(const QPointF& delta) const;

private:
    Point3 center_;
    double height_;
    int width_;
    int heightPixels_;
    double scale_;
    QTransform transform_;
};

}  // namespace kelvocad
