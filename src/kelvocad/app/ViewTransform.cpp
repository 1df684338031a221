#include "kelvocad/app/ViewTransform.h"

#include "kelvocad/objects/CadSession.h"

#include <algorithm>

namespace kelvocad {

ViewTransform::ViewTransform(const Point3& center, double height, int widthPixels, int heightPixels)
    : center_(center), height_(height), width_(std::max(widthPixels, 1)), heightPixels_(std::max(heightPixels, 1))
{
    // A degenerate height would make every point land in one pixel; keep the mapping invertible.
    if (!(height_ > 0.0))
        height_ = 1.0;
    scale_ = heightPixels_ / height_;
    transform_ = QTransform(scale_, 0.0, 0.0, -scale_, width_ / 2.0 - center_.x * scale_,
                            heightPixels_ / 2.0 + center_.y * scale_);
}

ViewTransform::ViewTransform(const ViewState& view)
    : ViewTransform(view.center, view.height, view.screenWidth, view.screenHeight)
{
}

QPointF ViewTransform::toScreen(double x, double y) const
{
    return transform_.map(QPointF(x, y));
}

Point3 ViewTransform::toWorld(const QPointF& screen) const
{
    return {center_.x + (screen.x() - width_ / 2.0) / scale_, center_.y - (screen.y() - heightPixels_ / 2.0) / scale_,
            0.0};
}

Point3 ViewTransform::centerForZoom(const QPointF& anchor, double newHeight) const
{
    const Point3 fixed = toWorld(anchor);
    const double newScale = heightPixels_ / newHeight;
    return {fixed.x - (anchor.x() - width_ / 2.0) / newScale, fixed.y + (anchor.y() - heightPixels_ / 2.0) / newScale,
            center_.z};
}

Point3 ViewTransform::centerForPan(const QPointF& delta) const
{
    return {center_.x - delta.x() / scale_, center_.y + delta.y() / scale_, center_.z};
}

}  // namespace kelvocad
