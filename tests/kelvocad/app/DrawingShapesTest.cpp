#include "kelvocad/app/DrawingShapes.h"
#include "kelvocad/model/Drawing.h"

#include <gtest/gtest.h>

#include <QString>

#include <functional>

namespace kelvocad {
namespace {

// Everything a view draws and picks by, written out.
QString describe(const DrawingShapes& shapes)
{
    QString text;
    const auto point = [](const QPointF& p) { return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()); };
    for (const EntityShape& shape : shapes.shapes()) {
        text += QString::fromStdU16String(shape.handle) + QStringLiteral(" #%1 %2%3 ")
                                                               .arg(shape.entityIndex)
                                                               .arg(shape.isBlockReference ? "block" : "text")
                                                               .arg(shape.locked ? " locked" : "");
        text += point(QPointF(shape.insertionPoint.x, shape.insertionPoint.y));
        for (const PlacedText& placed : shape.texts) {
            text += QStringLiteral(" [") + placed.string + (placed.locked ? QStringLiteral(" locked") : QString());
            for (const QPointF& corner : placed.outline)
                text += point(corner);
            text += point(placed.fontToWorld.map(QPointF(100.0, -50.0))) + QStringLiteral("]");
        }
        text += QLatin1Char('\n');
    }
    return text;
}

TextEntity text(std::u16string string, double x, double y, std::u16string layer = u"0")
{
    TextEntity t;
    t.string = std::move(string);
    t.layer = std::move(layer);
    t.insertionPoint = {x, y, 0.0};
    t.alignmentPoint = t.insertionPoint;
    return t;
}

// Shapes brought up to date after changes lay out again only what changed, and must come out
// exactly as shapes built afresh from the drawing, whatever the change.
TEST(DrawingShapes, UpdatedShapesMatchAFreshBuildAfterEveryKindOfChange)
{
    TextLayout layout;
    Drawing drawing;
    drawing.addBlock({u"B", {}, {{u"", u"T1", u"", u"", {}, 0, 2.5}}});
    std::vector<std::u16string> handles;
    for (int i = 0; i < 5; ++i)
        handles.push_back(drawing.addText(text(u"T" + std::u16string(1, char16_t(u'0' + i)), 10.0 * i, 0.0)));
    BlockReference reference;
    reference.name = u"B";
    reference.insertionPoint = {0.0, 20.0, 0.0};
    reference.attributes = {{u"", u"T1", u"v1", {5, 20, 0}, {5, 20, 0}, 0, 2.5, u"ATT"}};
    const std::u16string block = drawing.addBlockReference(reference);
    // Names a layer that the table does not hold yet.
    const std::u16string onLater = drawing.addText(text(u"LATER", 0.0, -20.0, u"LATER"));
    drawing.clearUndo();

    DrawingShapes shapes;
    shapes.build(drawing, layout);
    uint64_t built = drawing.revision();

    const auto attribute = [&] { return drawing.findBlockReference(block)->attributes[0].handle; };
    const struct Step {
        const char* name;
        std::function<void()> change;
    } steps[] = {
        {"a string", [&] { drawing.modifyText(handles[1], [](TextEntity& t) { t.string = u"CHANGED"; }); }},
        {"a text moved and another aligned",
         [&] {
             drawing.modifyText(handles[2], [](TextEntity& t) { t.insertionPoint = {50, 50, 0}; });
             drawing.modifyText(handles[3], [](TextEntity& t) { t.alignment = 2, t.alignmentPoint = {60, 0, 0}; });
         }},
        {"nothing", [] {}},
        {"an attribute's string", [&] { drawing.modifyAttribute(attribute(), [](AttributeReference& a) { a.string = u"NEW"; }); }},
        {"texts appended and copied",
         [&] {
             handles.push_back(drawing.addText(text(u"APPENDED", 0.0, 40.0)));
             handles.push_back(drawing.copyEntity(handles[0]));
         }},
        {"a string emptied", [&] { drawing.modifyText(handles[4], [](TextEntity& t) { t.string.clear(); }); }},
        {"the attribute's layer locked", [&] { drawing.addLayer(u"ATT", true); }},
        {"a layer entered in the table locked", [&] { drawing.addLayer(u"LATER", true); }},
        {"layer 0 locked, then a string changed",
         [&] {
             drawing.setLayerLocked(u"0", true);
             drawing.modifyText(handles[0], [](TextEntity& t) { t.string = u"ON A LOCKED LAYER"; });
         }},
        {"an entity in the middle erased, then one after it changed",
         [&] {
             drawing.erase(handles[1]);
             drawing.modifyText(handles[3], [](TextEntity& t) { t.string = u"AFTER THE GAP"; });
         }},
        {"undone", [&] { drawing.undoLastStep(), drawing.undoLastStep(); }},
        {"the last entity erased", [&] { drawing.erase(handles.back()); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        shapes.update(drawing, layout, built);
        built = drawing.revision();
        DrawingShapes fresh;
        fresh.build(drawing, layout);
        EXPECT_EQ(describe(shapes).toStdString(), describe(fresh).toStdString());
    }
    EXPECT_NE(drawing.findText(onLater), nullptr);
}

}  // namespace
}  // namespace kelvocad
