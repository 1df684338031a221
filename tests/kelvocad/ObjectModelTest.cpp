#include "CadTestSupport.h"

#include <functional>

namespace kelvocad::test {
namespace {

using ObjectModelTest = CadFixture;

TEST_F(ObjectModelTest, FailuresCarryComsCodes)
{
    const std::u16string wire = textHandle(u"W-01");
    struct Case {
        const char* name;
        std::function<void()> call;
        int32_t code;
    } cases[] = {
        {"unknown member", [&] { doc->get(u"ActiveSpace"); }, hr::UnknownName},
        {"unknown method", [&] { entity(wire)->call(u"Explode", {}); }, hr::UnknownName},
        {"too many arguments", [&] { doc->call(u"StartUndoMark", {Variant(1)}); }, hr::BadParamCount},
        {"too few arguments", [&] { app->call(u"ZoomCenter", {Variant::point(0, 0)}); }, hr::BadParamCount},
        {"required argument left out", [&] { doc->call(u"HandleToObject", {Variant::omitted()}); },
         hr::ParamNotOptional},
        {"point that is a string", [&] { app->call(u"ZoomCenter", {Variant(u"0,0"), Variant(10.0)}); },
         hr::TypeMismatch},
        {"height that is no number", [&] { app->call(u"ZoomCenter", {Variant::point(0, 0), Variant(u"high")}); },
         hr::TypeMismatch},
        {"point of one number", [&] { entity(wire)->put(u"InsertionPoint", Variant::doubleArray({1.0})); },
         hr::TypeMismatch},
        {"text that is an array", [&] { entity(wire)->put(u"TextString", Variant::point(1, 2)); }, hr::TypeMismatch},
        {"write to a read-only member", [&] { entity(wire)->put(u"Handle", Variant(u"1")); }, hr::MemberNotFound},
        {"index on a plain property",
         [&] {
             const Variant index[] = {Variant(0)};
             entity(wire)->put(u"TextString", Variant(u"x"), index);
         },
         hr::BadParamCount},
        {"layer index out of range", [&] { doc->get(u"Layers").toObject()->call(u"Item", {Variant(99)}); },
         hr::BadIndex},
        {"negative block index", [&] { doc->get(u"Blocks", Variant(-1)); }, hr::BadIndex},
        {"unknown block name", [&] { doc->get(u"Blocks").toObject()->call(u"Item", {Variant(u"NOPE")}); },
         hr::BadIndex},
        {"unknown handle", [&] { entity(u"FFFFFF"); }, hr::Exception},
        {"unknown system variable", [&] { doc->call(u"GetVariable", {Variant(u"NOSUCHVAR")}); }, hr::InvalidArg},
        {"zero view height", [&] { app->call(u"ZoomCenter", {Variant::point(0, 0), Variant(0.0)}); },
         hr::InvalidArg},
        {"regen of viewport 7", [&] { doc->call(u"Regen", {Variant(7)}); }, hr::InvalidArg},
        {"alignment 15", [&] { entity(wire)->put(u"Alignment", Variant(15)); }, hr::InvalidArg},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.call), std::optional<int32_t>(c.code));
    }
}

TEST_F(ObjectModelTest, MemberNamesIgnoreLetterCase)
{
    for (const char16_t* name : {u"ActiveDocument", u"activedocument", u"ACTIVEDOCUMENT", u"aCtIvEdOcUmEnT"}) {
        const auto document = app->get(name).toObject();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->get(u"name").toString(), u"Sample.dxf");
    }
    auto text = entity(textHandle(u"W-01"));
    text->put(u"textSTRING", Variant(u"W-99"));
    EXPECT_EQ(text->get(u"TextString").toString(), u"W-99");
}

TEST_F(ObjectModelTest, ViewVariablesFollowZoomCenter)
{
    session->setScreenSize(1280, 800);
    app->call(u"ZoomCenter", {Variant::point(40.0, 150.0, 0.0), Variant(62.5)});
    EXPECT_EQ(doc->call(u"GetVariable", {Variant(u"VIEWSIZE")}), Variant(62.5));
    EXPECT_EQ(doc->call(u"GetVariable", {Variant(u"screensize")}), Variant::doubleArray({1280.0, 800.0}));
    EXPECT_EQ(doc->call(u"GetVariable", {Variant(u"VIEWCTR")}), Variant::point(40.0, 150.0, 0.0));
    // Zooming with the current height is a pan: the height stays.
    const Variant height = doc->call(u"GetVariable", {Variant(u"VIEWSIZE")});
    app->call(u"ZoomCenter", {Variant::point(10.0, 10.0), height});
    EXPECT_EQ(doc->call(u"GetVariable", {Variant(u"VIEWSIZE")}), Variant(62.5));
    EXPECT_EQ(session->view().center, (Point3{10.0, 10.0, 0.0}));
}

TEST_F(ObjectModelTest, WindowHandlesAreTheSessionsNumbers)
{
    EXPECT_EQ(app->get(u"HWND"), Variant(0));
    session->applicationWindow = 0x10442;
    session->documentWindow = 0x20556;
    EXPECT_EQ(app->get(u"HWND"), Variant(0x10442));
    EXPECT_EQ(doc->get(u"HWND"), Variant(0x20556));
}

TEST_F(ObjectModelTest, RegenAndUpdateReachTheWindow)
{
    std::vector<SessionEvent> events;
    session->setEventListener([&](SessionEvent e) { events.push_back(e); });
    doc->call(u"Regen", {Variant(int16_t{0})});
    entity(textHandle(u"W-01"))->call(u"Update", {});
    EXPECT_EQ(events, (std::vector<SessionEvent>{SessionEvent::Regen, SessionEvent::EntityUpdated}));
}

TEST_F(ObjectModelTest, LayersListNamesAndLocks)
{
    auto layers = doc->get(u"Layers").toObject();
    const int n = layers->get(u"Count").toInt();
    std::u16string locked = u"\t";
    for (int i = 0; i < n; ++i) {
        auto layer = layers->get(u"Item", Variant(i)).toObject();
        if (layer->get(u"Lock").toBool())
            locked += layer->get(u"Name").toString() + u"\t";
    }
    EXPECT_EQ(locked, u"\tTITLE BLOCK\t");
    auto title = layers->call(u"Item", {Variant(u"title")}).toObject();
    title->put(u"Lock", Variant(true));
    EXPECT_TRUE(drawing().isLayerLocked(u"TITLE"));
}

TEST_F(ObjectModelTest, BlockDefinitionsAreReadByIndex)
{
    auto blocks = doc->get(u"Blocks").toObject();
    const int n = blocks->get(u"Count").toInt();
    ASSERT_EQ(n, 5);
    EXPECT_EQ(doc->get(u"Blocks", Variant(0)).toObject()->get(u"Name").toString(), u"*Model_Space");
    EXPECT_EQ(doc->get(u"Blocks", Variant(1)).toObject()->get(u"Name").toString(), u"*Paper_Space");

    // The first named definition, read the way the grid reads its header prompts.
    auto block = doc->get(u"Blocks", Variant(int16_t{2})).toObject();
    EXPECT_EQ(block->get(u"Name").toString(), u"PLC_IO");
    std::vector<std::u16string> lines;
    for (int j = 0; j < block->get(u"Count").toInt(); ++j) {
        auto item = block->call(u"Item", {Variant(j)}).toObject();
        ASSERT_EQ(item->get(u"EntityName").toString(), u"AcDbAttributeDefinition");
        lines.push_back(item->get(u"TagString").toString() + u"\t" + item->get(u"PromptString").toString());
    }
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"PIN1\tピン番号", u"IOADRS\tI/Oアドレス", u"JCMNT1\tコメント１",
                                                  u"JCMNT2\tコメント２"}));
    EXPECT_EQ(errorOf([&] { block->call(u"Item", {Variant(4)}); }), hr::BadIndex);

    // Model space lists the entities themselves.
    auto model = doc->get(u"Blocks", Variant(0)).toObject();
    EXPECT_EQ(model->get(u"Count").toInt(), static_cast<int>(drawing().entities().size()));
    EXPECT_EQ(model->call(u"Item", {Variant(0)}).toObject()->get(u"EntityName").toString(), u"AcDbText");
}

}  // namespace
}  // namespace kelvocad::test
