#pragma once

#include "kelvocad/app/DrawingShapes.h"
#include "kelvocad/app/TextLayout.h"
#include "kelvocad/app/ViewTransform.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/PickStrategy.h"

#include <QColor>
#include <QLineF>
#include <QRectF>
#include <QVector>
#include <QPoint>
#include <QPolygon>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvocad {

class SelectionFilter;

// The drawing window of a KelvoCAD session: draws the drawing as the session's view says,
// zooms with the wheel and pans with the middle button, and, while a pick runs, lets the
// user click entities or drag a window around them. Reports its size to the session so the
// Automation side knows the real screen size.
class DrawingView : public QWidget {
    Q_OBJECT

public:
    explicit DrawingView(std::shared_ptr<CadSession> session, QWidget* parent = nullptr);
    ~DrawingView() override;

    CadSession& session() const noexcept { return *session_; }
    ViewTransform viewTransform() const;
    const DrawingShapes& shapes();

    // Picking. A pick shows only what the filter lets through as pickable; it ends with
    // Enter or a right click, or is cancelled with Escape. With Shift held, a click or a
    // window takes entities out of the pick again.
    void beginPick(const SelectionFilter& filter);
    bool isPicking() const noexcept { return picking_; }
    void finishPick();
    void cancelPick();
    const std::vector<std::u16string>& pickedHandles() const noexcept { return picked_; }
    // The pickable entity a click would pick now, shown outlined; empty when there is none.
    const std::u16string& hoveredHandle() const noexcept { return hovered_; }
    // The outcome of the last pick, once it has ended.
    PickResult pickResult() const;

    // A temporary polyline over the view, in its pixels, gone at the next change of the
    // drawing or of the view. With xorMode the pen's colour is XORed onto the picture.
    enum class MarkerMode { Normal, Xor };
    void showMarker(const QPolygon& points, int penWidth, const QColor& colour, MarkerMode mode = MarkerMode::Normal);
    void clearMarker();
    bool hasMarker() const noexcept { return !marker_.isEmpty(); }
    const QPolygon& marker() const noexcept { return marker_; }
    int markerPenWidth() const noexcept { return markerPenWidth_; }
    QColor markerColour() const { return markerColour_; }

    // Repaints at the next turn of the event loop instead of when a stream of changes pauses.
    void showChangesNow();

    // Fits the whole drawing into the view.
    void zoomExtents();

    // The longest repaint since the last call (laying out what changed, and drawing), in
    // milliseconds: while it runs, the window and every client wait.
    qint64 takeLongestRepaintMs();

    // Distance within which a click picks an entity, in pixels.
    static constexpr double pickTolerance = 4.0;

signals:
    // Every event of the session, after the view has taken it in.
    void sessionEvent(kelvocad::SessionEvent event);
    void pickEnded();
    void pickSelectionChanged(int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onSessionEvent(SessionEvent event);
    bool showsCurrentDrawing() const;
    bool pickable(const EntityShape& shape) const;
    void addToPick(const EntityShape& shape);
    void removeFromPick(const EntityShape& shape);
    void endPick(bool cancelled);
    void updateHover(const QPoint& at);
    // What every shape of one repaint is drawn with, and the baselines of the texts too
    // small to read, drawn together at the end.
    struct PaintContext {
        ViewTransform view;
        QRectF visible;
        QColor normal;
        QColor locked;
        QColor highlight;
        QColor link;
        QVector<QLineF> baselines;
        QVector<QLineF> lockedBaselines;
    };
    void paintPicture(QPaintEvent* event);
    void paintShape(class QPainter& painter, PaintContext& context, const EntityShape& shape, bool selected,
                    bool hovered);

    std::shared_ptr<CadSession> session_;
    TextLayout layout_;
    DrawingShapes shapes_;
    std::weak_ptr<const Drawing> shapesDrawing_;
    uint64_t shapesRevision_ = 0;
    // Changes of the drawing repaint through this timer, so a client writing entity after
    // entity is not followed by a repaint after each one.
    QTimer changeRepaint_;
    qint64 lastRepaintMs_ = 0;
    qint64 longestRepaintMs_ = 0;

    bool picking_ = false;
    bool pickCancelled_ = false;
    const SelectionFilter* filter_ = nullptr;
    std::vector<std::u16string> picked_;
    std::u16string hovered_;

    std::optional<QPoint> windowStart_;  // left button down while picking
    QPoint windowEnd_;
    std::optional<QPoint> panFrom_;  // middle button down

    QPolygon marker_;
    int markerPenWidth_ = 1;
    QColor markerColour_;
    MarkerMode markerMode_ = MarkerMode::Normal;
};

}  // namespace kelvocad
