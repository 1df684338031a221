#include "CadTestSupport.h"

namespace kelvocad::test {
namespace {

using EntityTest = CadFixture;

TEST_F(EntityTest, TextMembersReadAndWrite)
{
    auto text = entity(textHandle(u"W-01"));
    EXPECT_EQ(text->get(u"Handle").toString(), textHandle(u"W-01"));
    EXPECT_EQ(text->get(u"Layer").toString(), u"WIRE");
    EXPECT_EQ(text->get(u"Alignment").toInt(), 0);
    EXPECT_EQ(text->get(u"InsertionPoint"), Variant::point(10.0, 200.0, 0.0));

    text->put(u"TextString", Variant(u"配線 W-01"));
    text->put(u"InsertionPoint", Variant::point(12.5, 190.0, 0.0));
    EXPECT_EQ(text->get(u"TextString").toString(), u"配線 W-01");
    EXPECT_EQ(drawing().findText(textHandle(u"配線 W-01"))->insertionPoint, (Point3{12.5, 190.0, 0.0}));
    // A number written as text becomes its text.
    text->put(u"TextString", Variant(42));
    EXPECT_EQ(text->get(u"TextString").toString(), u"42");
}

TEST_F(EntityTest, WritingThePlacingPointMovesTheText)
{
    auto text = entity(textHandle(u"W-01"));
    // Aligned: the alignment point places it and the insertion point follows.
    text->put(u"Alignment", Variant(1));
    EXPECT_EQ(text->get(u"TextAlignmentPoint"), Variant::point(10.0, 200.0, 0.0));
    text->put(u"TextAlignmentPoint", Variant::point(30.0, 180.0, 0.0));
    EXPECT_EQ(text->get(u"InsertionPoint"), Variant::point(30.0, 180.0, 0.0));
    text->put(u"InsertionPoint", Variant::point(35.0, 180.0, 0.0));
    EXPECT_EQ(text->get(u"TextAlignmentPoint"), Variant::point(35.0, 180.0, 0.0));
    // Left-aligned: the alignment point is only remembered.
    text->put(u"Alignment", Variant(0));
    text->put(u"TextAlignmentPoint", Variant::point(0.0, 0.0, 0.0));
    EXPECT_EQ(text->get(u"InsertionPoint"), Variant::point(35.0, 180.0, 0.0));
}

TEST_F(EntityTest, CopyKeepsEverythingButTheHandle)
{
    auto original = entity(textHandle(u"運転"));  // a centred caption
    auto copy = original->call(u"Copy", {}).toObject();
    const auto handle = copy->get(u"Handle").toString();
    EXPECT_NE(handle, original->get(u"Handle").toString());
    for (const char16_t* member : {u"Layer", u"TextString", u"Alignment", u"InsertionPoint", u"TextAlignmentPoint",
                                   u"Height", u"Rotation", u"StyleName"})
        EXPECT_EQ(copy->get(member), original->get(member)) << utf8(member);
    EXPECT_EQ(entity(handle)->get(u"Handle").toString(), handle);
    EXPECT_EQ(drawing().entities().size(), 57u);
}

TEST_F(EntityTest, ErasedEntitiesFailCleanly)
{
    const auto handle = textHandle(u"W-02");
    auto text = entity(handle);
    text->call(u"Delete", {});
    for (const char16_t* member : {u"TextString", u"Handle", u"Layer", u"InsertionPoint", u"Copy", u"Delete", u"Update"})
        EXPECT_EQ(errorOf([&] { text->call(member, {}); }), hr::Exception) << utf8(member);
    EXPECT_EQ(errorOf([&] { text->put(u"TextString", Variant(u"x")); }), hr::Exception);
    try {
        entity(handle);
        ADD_FAILURE() << "erased handle resolved";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.code(), hr::Exception);
        EXPECT_NE(e.description().find(u"erased"), std::u16string::npos);
    }
    // The object of an erased entity stays safe to hold after the session's other
    // references are gone.
    auto orphan = entity(textHandle(u"W-03"));
    orphan->call(u"Delete", {});
    app.reset();
    doc.reset();
    session.reset();
    EXPECT_EQ(errorOf([&] { orphan->get(u"TextString"); }), hr::Exception);
}

TEST_F(EntityTest, HandlesResolveInAnyLetterCase)
{
    drawing().reserveHandle(u"AFFF");
    TextEntity t;
    t.string = u"late";
    const auto handle = drawing().addText(t);
    ASSERT_EQ(handle, u"B000");
    EXPECT_EQ(entity(u"b000")->get(u"TextString").toString(), u"late");
}

TEST_F(EntityTest, LockedLayerIsReadOnly)
{
    auto title = entity(textHandle(u"REV A"));
    EXPECT_EQ(title->get(u"Layer").toString(), u"TITLE BLOCK");
    EXPECT_EQ(errorOf([&] { title->put(u"TextString", Variant(u"REV B")); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { title->call(u"Delete", {}); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { title->call(u"Copy", {}); }), hr::Exception);
    EXPECT_EQ(title->get(u"TextString").toString(), u"REV A");
    // Nor can an entity be moved onto it.
    EXPECT_EQ(errorOf([&] { entity(textHandle(u"W-01"))->put(u"Layer", Variant(u"TITLE BLOCK")); }),
              hr::Exception);
}

TEST_F(EntityTest, EntitiesReportTheirLayerAsTheLayerTableSpellsIt)
{
    drawing().addLayer(u"Walls");
    TextEntity text;
    text.layer = u"WALLS";
    const auto textHandle = drawing().addText(text);
    BlockReference reference;
    reference.name = u"DEVICE";
    reference.layer = u"walls";
    AttributeReference attribute;
    attribute.tag = u"NAME";
    attribute.layer = u"wALLS";
    reference.attributes.push_back(attribute);
    const auto referenceHandle = drawing().addBlockReference(reference);

    EXPECT_EQ(entity(textHandle)->get(u"Layer").toString(), u"Walls");
    auto block = entity(referenceHandle);
    EXPECT_EQ(block->get(u"Layer").toString(), u"Walls");
    EXPECT_EQ(block->call(u"GetAttributes", {}).at(0).toObject()->get(u"Layer").toString(), u"Walls");
}

TEST_F(EntityTest, BlockReferenceAndItsAttributes)
{
    const auto handle = blockReferenceHandles(u"DEVICE")[0];
    auto reference = entity(handle);
    EXPECT_EQ(reference->get(u"Name").toString(), u"DEVICE");
    EXPECT_EQ(reference->get(u"Layer").toString(), u"DEVICE");
    EXPECT_EQ(reference->get(u"InsertionPoint"), Variant::point(200.0, 200.0, 0.0));

    const Variant attributes = reference->call(u"GetAttributes", {});
    ASSERT_EQ(attributes.arraySize(), 4u);
    std::vector<std::u16string> tags, values;
    for (size_t i = 0; i < attributes.arraySize(); ++i) {
        auto attribute = attributes.at(i).toObject();
        tags.push_back(attribute->get(u"TagString").toString());
        values.push_back(attribute->get(u"TextString").toString());
    }
    EXPECT_EQ(tags, (std::vector<std::u16string>{u"NAME", u"NAME1", u"SPEC", u"TYPE"}));
    EXPECT_EQ(values[0], u"MC1");

    // An attribute is found again by its own handle and written through it.
    auto spec = attributes.at(2).toObject();
    auto again = entity(spec->get(u"Handle").toString());
    again->put(u"TextString", Variant(u"AC200V 5.5kW"));
    EXPECT_EQ(spec->get(u"TextString").toString(), u"AC200V 5.5kW");
    EXPECT_EQ(again->get(u"Layer").toString(), u"DEVICE");
    EXPECT_EQ(again->get(u"Alignment").toInt(), 0);
    EXPECT_EQ(again->get(u"InsertionPoint"), Variant::point(200.0, 198.0, 0.0));

    // Moving the reference moves its attributes; erasing it erases them.
    reference->put(u"InsertionPoint", Variant::point(210.0, 200.0, 0.0));
    EXPECT_EQ(spec->get(u"InsertionPoint"), Variant::point(210.0, 198.0, 0.0));
    reference->call(u"Delete", {});
    EXPECT_EQ(errorOf([&] { spec->get(u"TextString"); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { reference->call(u"GetAttributes", {}); }), hr::Exception);
}

TEST_F(EntityTest, OneUndoStepPerMarkPair)
{
    auto first = entity(textHandle(u"W-01"));
    auto second = entity(textHandle(u"W-02"));
    first->put(u"TextString", Variant(u"before"));

    doc->call(u"StartUndoMark", {});
    first->put(u"TextString", Variant(u"W-1"));
    auto copy = first->call(u"Copy", {}).toObject();
    copy->put(u"InsertionPoint", Variant::point(10.0, 0.0, 0.0));
    second->call(u"Delete", {});
    doc->call(u"EndUndoMark", {});
    doc->call(u"EndUndoMark", {});  // unbalanced, ignored

    ASSERT_TRUE(session->undoLastStep());
    EXPECT_EQ(first->get(u"TextString").toString(), u"before");
    EXPECT_EQ(second->get(u"TextString").toString(), u"W-02");
    EXPECT_EQ(errorOf([&] { copy->get(u"Handle"); }), hr::Exception);
    // The change made before the group is a step of its own, and the client can ask too.
    EXPECT_EQ(doc->call(u"Undo", {}), Variant(true));
    EXPECT_EQ(first->get(u"TextString").toString(), u"W-01");
}

}  // namespace
}  // namespace kelvocad::test

namespace kelvocad::test {
namespace {

TEST_F(EntityTest, ObjectsOfAClosedDocumentFail)
{
    auto text = entity(textHandle(u"W-01"));
    auto layers = doc->get(u"Layers").toObject();
    const auto handle = textHandle(u"W-01");
    // The new drawing holds an entity under the same handle.
    auto other = std::make_shared<Drawing>();
    TextEntity t;
    t.string = u"other";
    const auto next = other->addText(t);
    ASSERT_EQ(next, handle);
    session->replaceDrawing(other);
    EXPECT_EQ(errorOf([&] { text->get(u"TextString"); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { layers->get(u"Count"); }), hr::Exception);
    // A fresh document object works on the new drawing.
    auto fresh = app->get(u"ActiveDocument").toObject();
    EXPECT_EQ(fresh->call(u"HandleToObject", {Variant(next)}).toObject()->get(u"TextString").toString(), u"other");
}

TEST_F(EntityTest, AttributeDefinitionHandlesResolve)
{
    const auto& definition = drawing().findBlock(u"WIRE_NO")->attributes[0];
    auto object = entity(definition.handle);
    EXPECT_EQ(object->get(u"EntityName").toString(), u"AcDbAttributeDefinition");
    EXPECT_EQ(object->get(u"PromptString").toString(), u"線番");
}

}  // namespace
}  // namespace kelvocad::test
