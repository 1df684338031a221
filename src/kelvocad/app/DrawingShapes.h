#pragma once

#include "kelvocad/app/TextLayout.h"
#include "kelvocad/model/DrawingRecords.h"

#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvocad {

class Drawing;
class ViewTransform;

// What the view draws and picks for one model-space entity: a TEXT's placed text, or a
// block reference's insertion point and the placed texts of its attributes.
struct EntityShape {
    std::u16string handle;
    size_t entityIndex = 0;  // position in Drawing::entities()
    bool isBlockReference = false;
    bool locked = false;  // the entity's own layer
    Point3 insertionPoint;
    std::vector<PlacedText> texts;
};

// The shapes of a whole drawing, laid out once per change of the drawing, and the
// geometric questions picking asks of them, in pixels of a view.
class DrawingShapes {
public:
    using Predicate = std::function<bool(const EntityShape&)>;

    // Lays out every entity of the drawing.
    void build(const Drawing& drawing, const TextLayout& layout);
    // Brings shapes built from this drawing at revision `built` up to its present state,
    // laying out again only what changed since (Drawing::changedAt).
    void update(const Drawing& drawing, const TextLayout& layout, uint64_t built);
    const std::vector<EntityShape>& shapes() const noexcept { return shapes_; }
    const EntityShape* find(std::u16string_view handle) const;

    // Distance in pixels from a pixel to the entity: 0 inside a text's box; a block
    // reference is as near as the nearest of its texts and its insertion point.
    static double distance(const EntityShape& shape, const ViewTransform& view, const QPointF& pixel);

    // The entity nearest to the pixel among those within `tolerance` pixels that the
    // predicate accepts; the one drawn last wins a tie, as it lies on top.
    const EntityShape* nearest(const ViewTransform& view, const QPointF& pixel, double tolerance,
                               const Predicate& accept) const;

    // Entities of a window in drawing order: wholly inside the rectangle, or with
    // `crossing` also those it touches.
    std::vector<const EntityShape*> inWindow(const ViewTransform& view, const QRectF& window, bool crossing,
                                             const Predicate& accept) const;

    // The drawing extents, or nothing for an empty drawing.
    std::optional<QRectF> bounds() const;

private:
    static EntityShape shapeOf(const Drawing& drawing, const TextLayout& layout, size_t position);

    std::vector<EntityShape> shapes_;
};

}  // namespace kelvocad
