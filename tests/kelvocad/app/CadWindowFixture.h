#pragma once

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "automation/Variant.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/app/DrawingView.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvocad::test {

using automation::ObjectRef;
using automation::Variant;

// A shown KelvoCAD window over a small drawing, 4 pixels to the drawing unit:
//   texts "LEFT" at (10, 60), "MIDDLE" at (30, 60) and "FAR" at (10, 30), 5 units high,
//   and a block reference "TAG" at (60, 20) with one attribute "T-1".
class CadWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto drawing = std::make_shared<Drawing>();
        drawing->addLayer(u"NOTE");
        left = drawing->addText(text(u"LEFT", 10.0, 60.0));
        middle = drawing->addText(text(u"MIDDLE", 30.0, 60.0));
        far = drawing->addText(text(u"FAR", 10.0, 30.0));
        BlockDefinition block;
        block.name = u"TAG";
        AttributeDefinition definition;
        definition.tag = u"NO";
        definition.insertionPoint = {2.0, 0.0, 0.0};
        definition.height = 5.0;
        block.attributes.push_back(definition);
        drawing->addBlock(block);
        BlockReference reference;
        reference.name = u"TAG";
        reference.insertionPoint = {60.0, 20.0, 0.0};
        AttributeReference attribute;
        attribute.tag = u"NO";
        attribute.string = u"T-1";
        attribute.insertionPoint = {62.0, 20.0, 0.0};
        attribute.height = 5.0;
        reference.attributes.push_back(attribute);
        tag = drawing->addBlockReference(reference);
        drawing->clearUndo();

        session = CadSession::create(drawing);
        window = std::make_unique<CadMainWindow>(session);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        view()->setFixedSize(400, 300);
        QCoreApplication::processEvents();
        session->zoomCenter({50.0, 45.0, 0.0}, 75.0);
        app = session->application();
        doc = app->get(u"ActiveDocument").toObject();
    }

    void TearDown() override
    {
        doc.reset();
        app.reset();
        window.reset();
    }

    static TextEntity text(std::u16string string, double x, double y)
    {
        TextEntity t;
        t.layer = u"NOTE";
        t.string = std::move(string);
        t.insertionPoint = {x, y, 0.0};
        t.height = 5.0;
        return t;
    }

    DrawingView* view() const { return window->view(); }

    // Where to click for an entity: the middle of a text, the insertion point of a block.
    QPoint pointOf(const std::u16string& handle) const
    {
        const EntityShape* shape = view()->shapes().find(handle);
        EXPECT_NE(shape, nullptr);
        if (!shape)
            return {};
        const ViewTransform transform = view()->viewTransform();
        if (shape->isBlockReference)
            return transform.toScreen(shape->insertionPoint).toPoint();
        return transform.worldToScreen().map(shape->texts[0].outline).boundingRect().center().toPoint();
    }

    // Runs SelectOnScreen on a new selection set while `user` acts in the window; returns
    // the picked handles, or nothing when the call failed.
    std::optional<std::vector<std::u16string>> pick(const std::function<void()>& user,
                                                    const Variant& types = Variant(), const Variant& values = Variant())
    {
        ObjectRef set = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"PICK")}).toObject();
        QTimer::singleShot(0, QCoreApplication::instance(), user);
        std::optional<std::vector<std::u16string>> handles;
        try {
            set->call(u"SelectOnScreen", {types, values});
            handles.emplace();
            const int count = set->get(u"Count").toInt();
            for (int i = 0; i < count; ++i)
                handles->push_back(set->call(u"Item", {Variant(i)}).toObject()->get(u"Handle").toString());
        } catch (const automation::AutomationError&) {
            EXPECT_EQ(set->get(u"Count").toInt(), 0);
        }
        set->call(u"Delete");
        return handles;
    }

    std::shared_ptr<CadSession> session;
    std::unique_ptr<CadMainWindow> window;
    ObjectRef app;
    ObjectRef doc;
    std::u16string left, middle, far, tag;
};

}  // namespace kelvocad::test
