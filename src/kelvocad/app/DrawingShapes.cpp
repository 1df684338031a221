#include "kelvocad/app/DrawingShapes.h"

#include "kelvocad/app/ViewTransform.h"
#include "kelvocad/model/Drawing.h"

#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvocad {

namespace {

double segmentDistance(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? QPointF::dotProduct(p - a, ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF nearest = a + ab * t;
    return QLineF(p, nearest).length();
}

double polygonDistance(const QPolygonF& polygon, const QPointF& p)
{
    if (polygon.size() >= 3 && polygon.containsPoint(p, Qt::OddEvenFill))
        return 0.0;
    double best = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < polygon.size(); ++i)
        best = std::min(best, segmentDistance(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return best;
}

bool polygonTouchesRect(const QPolygonF& polygon, const QRectF& rect)
{
    for (const QPointF& corner : polygon) {
        if (rect.contains(corner))
            return true;
    }
    const QPolygonF box(rect);
    for (const QPointF& corner : box) {
        if (polygon.containsPoint(corner, Qt::OddEvenFill))
            return true;
    }
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QLineF edge(polygon[i], polygon[(i + 1) % polygon.size()]);
        for (int j = 0; j < 4; ++j) {
            const QLineF side(box[j], box[(j + 1) % 4]);
            if (edge.intersects(side, nullptr) == QLineF::BoundedIntersection)
                return true;
        }
    }
    return false;
}

}  // namespace

EntityShape DrawingShapes::shapeOf(const Drawing& drawing, const TextLayout& layout, size_t position)
{
    const ModelEntity& entity = drawing.entities()[position];
    EntityShape shape;
    shape.entityIndex = position;
    if (const auto* text = std::get_if<TextEntity>(&entity)) {
        shape.handle = text->handle;
        shape.locked = drawing.isLayerLocked(text->layer);
        shape.insertionPoint = text->insertionPoint;
        shape.texts.push_back(layout.place(text->string, text->insertionPoint, text->alignmentPoint, text->alignment,
                                           text->height, text->rotation));
        shape.texts.back().locked = shape.locked;
    } else if (const auto* reference = std::get_if<BlockReference>(&entity)) {
        shape.handle = reference->handle;
        shape.isBlockReference = true;
        shape.locked = drawing.isLayerLocked(reference->layer);
        shape.insertionPoint = reference->insertionPoint;
        shape.texts.reserve(reference->attributes.size());
        for (const auto& attribute : reference->attributes) {
            shape.texts.push_back(layout.place(attribute.string, attribute.insertionPoint, attribute.alignmentPoint,
                                               attribute.alignment, attribute.height, 0.0));
            shape.texts.back().locked = shape.locked || drawing.isLayerLocked(attribute.layer);
        }
    }
    return shape;
}

void DrawingShapes::build(const Drawing& drawing, const TextLayout& layout)
{
    // The old shapes go first: a drawing's worth of them twice would double the peak.
    std::vector<EntityShape>().swap(shapes_);
    const size_t count = drawing.entities().size();
    shapes_.reserve(count);
    for (size_t i = 0; i < count; ++i)
        shapes_.push_back(shapeOf(drawing, layout, i));
}

void DrawingShapes::update(const Drawing& drawing, const TextLayout& layout, uint64_t built)
{
    const size_t count = drawing.entities().size();
    if (drawing.reshapedAt() > built || shapes_.size() > count) {
        build(drawing, layout);
        return;
    }
    for (size_t i = 0; i < shapes_.size(); ++i)
        if (drawing.changedAt(i) > built)
            shapes_[i] = shapeOf(drawing, layout, i);
    for (size_t i = shapes_.size(); i < count; ++i)
        shapes_.push_back(shapeOf(drawing, layout, i));
}

const EntityShape* DrawingShapes::find(std::u16string_view handle) const
{
    const std::u16string key = Drawing::normalizeHandle(handle);
    for (const auto& shape : shapes_) {
        if (shape.handle == key)
            return &shape;
    }
    return nullptr;
}

double DrawingShapes::distance(const EntityShape& shape, const ViewTransform& view, const QPointF& pixel)
{
    double best = std::numeric_limits<double>::infinity();
    for (const auto& text : shape.texts) {
        if (text.string.isEmpty())
            continue;  // nothing is drawn there to click on
        best = std::min(best, polygonDistance(view.worldToScreen().map(text.outline), pixel));
    }
    if (shape.isBlockReference)
        best = std::min(best, QLineF(view.toScreen(shape.insertionPoint), pixel).length());
    return best;
}

const EntityShape* DrawingShapes::nearest(const ViewTransform& view, const QPointF& pixel, double tolerance,
                                          const Predicate& accept) const
{
    const EntityShape* best = nullptr;
    double bestDistance = tolerance;
    for (const auto& shape : shapes_) {
        if (accept && !accept(shape))
            continue;
        const double d = distance(shape, view, pixel);
        if (d <= bestDistance) {
            best = &shape;
            bestDistance = d;
        }
    }
    return best;
}

std::vector<const EntityShape*> DrawingShapes::inWindow(const ViewTransform& view, const QRectF& window, bool crossing,
                                                        const Predicate& accept) const
{
    const QRectF rect = window.normalized();
    std::vector<const EntityShape*> result;
    for (const auto& shape : shapes_) {
        if (accept && !accept(shape))
            continue;
        std::vector<QPolygonF> parts;
        for (const auto& text : shape.texts) {
            if (!text.string.isEmpty())
                parts.push_back(view.worldToScreen().map(text.outline));
        }
        if (shape.isBlockReference)
            parts.push_back(QPolygonF(QVector<QPointF>{view.toScreen(shape.insertionPoint)}));
        if (parts.empty())
            continue;
        bool inside = true;
        bool touches = false;
        for (const auto& part : parts) {
            for (const QPointF& corner : part)
                inside = inside && rect.contains(corner);
            touches = touches || polygonTouchesRect(part, rect);
        }
        if (inside || (crossing && touches))
            result.push_back(&shape);
    }
    return result;
}

std::optional<QRectF> DrawingShapes::bounds() const
{
    std::optional<QRectF> box;
    auto add = [&box](const QRectF& r) { box = box ? box->united(r) : r; };
    for (const auto& shape : shapes_) {
        for (const auto& text : shape.texts) {
            if (!text.string.isEmpty())
                add(text.outline.boundingRect());
        }
        // A zero-sized rectangle would count as null and be left out of the union.
        add(QRectF(QPointF(shape.insertionPoint.x, shape.insertionPoint.y), QSizeF(1e-9, 1e-9)));
    }
    return box;
}

}  // namespace kelvocad
