#include "EditorFixture.h"

#include "editor/AttributeAcquisition.h"

namespace editor::test {
namespace {

using kelvocad::FaultInjector;

class AttributeAcquisition : public EditorFixture {
protected:
    std::u16string addReference(const std::u16string& block, double x, double y,
                                std::vector<std::pair<std::u16string, std::u16string>> attributes,
                                const std::u16string& layer = u"0")
    {
        kelvocad::BlockReference reference;
        reference.name = block;
        reference.layer = layer;
        reference.insertionPoint = {x, y, 0.0};
        for (const auto& [tag, value] : attributes) {
            kelvocad::AttributeReference attribute;
            attribute.tag = tag;
            attribute.string = value;
            attribute.insertionPoint = {x + 1, y + 1, 0.0};
            reference.attributes.push_back(attribute);
        }
        return drawing().addBlockReference(reference);
    }

    void pick(std::vector<std::u16string> handles)
    {
        picker().nextPickReturns(std::move(handles));
        SpeedButton8Click(context);
    }
};

TEST_F(AttributeAcquisition, OneLinePerMatchingAttributeInCoordinateOrder)
{
    const auto low = addReference(u"A1", 0, 0, {{u"NAME", u"P-2"}, {u"SENBAN", u"7"}}, u"EQ");
    const auto none = addReference(u"A1", 0, 50, {{u"SENBAN", u"8"}});
    const auto high = addReference(u"A1", 3, 20, {{u"NAME", u"P-1"}});
    host.speedButton6 = true;
    pick({low, none, high});

    ASSERT_EQ(arrays.TextEntities.size(), 2u);
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"P-1", u"P-2"}));
    const Kelvo& second = arrays.TextEntities[1];
    EXPECT_EQ(second.parentType, u"INSERT");
    EXPECT_EQ(second.lay, u"EQ");
    EXPECT_EQ(second.insPt.doubleAt(1), 0.0) << "the block reference's point, not the attribute's";
    EXPECT_EQ(second.sHnd, drawing().findBlockReference(low)->attributes[0].handle);
    EXPECT_EQ(host.label2, u"NAME = 2 / 3");
    EXPECT_TRUE(fields.ATTmode);
    EXPECT_EQ(host.edit1, u"-3.00");
    EXPECT_EQ(host.edit2, u"-20.00");
    EXPECT_EQ(host.pitchRed, false);
    EXPECT_EQ(host.speedButton2, true);
    EXPECT_EQ(host.speedButton6, false);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_GE(host.label2History.size(), 3u);
    EXPECT_EQ(host.label2History[1], u"INSERT=3");
    EXPECT_EQ(host.label2History[2], u"NAME : 1 / 3");
}

TEST_F(AttributeAcquisition, OneMatchIsRedWithoutMessage)
{
    const auto one = addReference(u"A1", 0, 0, {{u"NAME", u"P-1"}});
    pick({one});
    EXPECT_EQ(host.lines, std::vector<std::u16string>{u"P-1"});
    EXPECT_EQ(host.pitchRed, true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.speedButton2, true);
}

TEST_F(AttributeAcquisition, ComboTextChoosesTagAndBlocks)
{
    struct Case {
        std::u16string combo;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        {u"NAME:機器名[A*]", {u"a"}},
        {u"NAME", {u"a", u"b"}},
        {u"name", {}},  // tags compare exactly
    };
    const auto a = addReference(u"A1", 0, 10, {{u"NAME", u"a"}});
    const auto b = addReference(u"B1", 0, 0, {{u"NAME", u"b"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.combo));
        host.comboBox1 = c.combo;
        pick({a, b});
        EXPECT_EQ(host.lines, c.lines);
    }
}

TEST_F(AttributeAcquisition, NothingPickedKeepsTheEditorButEntersAttributeMode)
{
    host.lines = {u"keep"};
    arrays.TextEntities.assign(1, Kelvo{u"1F", u"keep"});
    SpeedButton8Click(context);
    EXPECT_EQ(host.lines, std::vector<std::u16string>{u"keep"});
    EXPECT_EQ(arrays.TextEntities.front().sHnd, u"1F");
    EXPECT_TRUE(fields.ATTmode);
    EXPECT_EQ(host.label2, u"INSERT=0");
    EXPECT_FALSE(host.speedButton2.has_value());
}

// An error halfway is silent, but must not leave half-read records under the old lines.
TEST_F(AttributeAcquisition, ErrorWhileReadingKeepsRecordsAndLinesPaired)
{
    const auto a = addReference(u"A1", 0, 10, {{u"NAME", u"a"}});
    const auto b = addReference(u"A1", 0, 0, {{u"NAME", u"b"}});
    const auto bAttribute = drawing().findBlockReference(b)->attributes[0].handle;
    session->faults().failMember(FaultInjector::MemberFailure::of(u"TextString").onObject(bAttribute));
    host.lines = {u"old"};
    arrays.TextEntities.assign(1, Kelvo{u"OLD", u"old"});
    picker().nextPickReturns({a, b});
    EXPECT_NO_THROW(SpeedButton8Click(context));
    ASSERT_EQ(arrays.TextEntities.size(), 1u);
    EXPECT_EQ(arrays.TextEntities[0].sHnd, u"OLD");
    EXPECT_EQ(host.lines, std::vector<std::u16string>{u"old"});
    EXPECT_FALSE(host.speedButton2.has_value());
    EXPECT_EQ(windows.log.back(), "attach 1 2 off") << "the main window comes back";
    for (const auto& set : session->selectionSets())
        EXPECT_TRUE(set->deleted);
}

}  // namespace
}  // namespace editor::test
