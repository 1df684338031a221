#include "EditorFixture.h"

#include "automation/AutomationError.h"
#include "editor/TextAcquisition.h"

#include <algorithm>

namespace editor::test {
namespace {

using kelvocad::FaultInjector;

const std::u16string kZeroPitch =
    u"dX, dY が 0 です．\rdX, dY の値を設定するか、[取得]で複数の TEXT を選択してください．";

class TextAcquisition : public EditorFixture {
protected:
    void pick(std::vector<std::u16string> handles)
    {
        picker().nextPickReturns(std::move(handles));
        SpeedButton1Click(context);
    }

    bool logged(const std::string& line) const
    {
        return std::find(windows.log.begin(), windows.log.end(), line) != windows.log.end();
    }
};

TEST_F(TextAcquisition, TwoTextsInCoordinateOrderProposeThePitchInBlack)
{
    const auto lower = addText(u"下", 10, 90);
    const auto upper = addText(u"上", 10, 100, u"L1", 2);
    host.label1 = u"old";
    host.panels[0] = u"old";
    fields.undoFlag = true;
    host.speedButton4 = true;
    fields.ATTmode = true;

    pick({lower, upper});

    ASSERT_EQ(arrays.TextEntities.size(), 2u);
    const Kelvo& first = arrays.TextEntities[0];
    EXPECT_EQ(first.sHnd, upper);
    EXPECT_EQ(first.text, u"上");
    EXPECT_EQ(first.txtAli, 2);
    EXPECT_EQ(first.insPt.doubleAt(0), 15.0) << "an aligned text is placed by its alignment point";
    EXPECT_EQ(first.lay, u"L1");
    EXPECT_EQ(first.index, 1) << "the index is the pick position, before ordering";
    EXPECT_TRUE(first.parentType.empty());
    EXPECT_EQ(arrays.TextEntities[1].insPt.doubleAt(0), 10.0);
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"上", u"下"}));

    EXPECT_EQ(host.edit1, u"-5.00") << "from the upper one's alignment point";
    EXPECT_EQ(host.edit2, u"-10.00");
    EXPECT_EQ(host.pitchRed, false);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.speedButton2, true);
    EXPECT_EQ(host.speedButton6, true);
    EXPECT_FALSE(fields.ATTmode);
    EXPECT_FALSE(fields.undoFlag);
    EXPECT_FALSE(host.speedButton4);
    EXPECT_TRUE(host.label1.empty());
    EXPECT_TRUE(host.panels[0].empty());

    // Minimised for the pick, CAD forward with the command cancelled, then back.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"own minimize", "setForeground 99", "escape", "sleep 5",
                                                     "own normal", "setForeground 7", "attach 1 2 on", "toTop 7",
                                                     "attach 1 2 off"}));
    EXPECT_TRUE(session->selectionSets().empty() || session->selectionSets().front()->deleted);
}

TEST_F(TextAcquisition, WithoutCoordinateOrderLinesFollowThePick)
{
    const auto a = addText(u"A", 0, 0);
    const auto b = addText(u"B", 0, 50);
    const auto c = addText(u"C", 7, 20);
    host.checkBox1 = false;
    pick({a, b, c});
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"A", u"B", u"C"}));
    EXPECT_EQ(host.edit1, u"7.00");
    EXPECT_EQ(host.edit2, u"-30.00");
}

TEST_F(TextAcquisition, ZeroPitchIsRedWithTheMessage)
{
    struct Case {
        const char* title;
        std::vector<std::pair<double, double>> points;
        bool align;
    };
    const Case cases[] = {
        {"one text", {{0, 0}}, false},
        {"pitch that rounds to 0.00", {{0, 0}, {0.003, 0.004}}, true},
    };
    host.checkBox1 = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        host.messages.clear();
        std::vector<std::u16string> handles;
        for (const auto& [x, y] : c.points)
            handles.push_back(addText(u"T", x, y));
        pick(handles);
        EXPECT_EQ(host.edit1, u"0.00");
        EXPECT_EQ(host.edit2, u"0.00");
        EXPECT_EQ(host.pitchRed, true);
        EXPECT_EQ(host.messages, std::vector<std::u16string>{kZeroPitch});
        EXPECT_EQ(host.speedButton2, true);
        EXPECT_EQ(host.speedButton6, c.align);
    }
}

TEST_F(TextAcquisition, TextsOnLockedLayersAreLeftOutAndCounted)
{
    std::vector<std::u16string> handles;
    for (int i = 0; i < 5; ++i)
        handles.push_back(addText(u"T" + std::u16string(1, char16_t(u'0' + i)), 0, 100 - 10 * i,
                                  i == 1 || i == 3 ? u"LOCKED" : u"0"));
    drawing().setLayerLocked(u"LOCKED", true);
    pick(handles);
    EXPECT_EQ(host.messages.front(), u"ロック画層のTEXT 2 個を除外しました.");
    EXPECT_EQ(host.lines, (std::vector<std::u16string>{u"T0", u"T2", u"T4"}));
    EXPECT_EQ(arrays.TextEntities[2].index, 2);
}

TEST_F(TextAcquisition, ATextOnALockedLayerSpeltInAnotherCaseIsLeftOut)
{
    drawing().addLayer(u"LOCKED", true);
    pick({addText(u"T0", 0, 100, u"0"), addText(u"T1", 0, 90, u"Locked")});
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.front(), u"ロック画層のTEXT 1 個を除外しました.");
    EXPECT_EQ(host.lines, std::vector<std::u16string>{u"T0"});
}

TEST_F(TextAcquisition, AllLockedEmptiesTheEditorButKeepsPitchAndButtons)
{
    const auto a = addText(u"A", 0, 0, u"LOCKED");
    drawing().setLayerLocked(u"LOCKED", true);
    host.lines = {u"old"};
    arrays.TextEntities.resize(1);
    host.edit1 = u"1.00";
    pick({a});
    EXPECT_TRUE(arrays.TextEntities.empty());
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(host.edit1, u"1.00");
    EXPECT_FALSE(host.speedButton2.has_value());
    EXPECT_EQ(host.messages, std::vector<std::u16string>{u"ロック画層のTEXT 1 個を除外しました."});
}

TEST_F(TextAcquisition, CancelledOrEmptyPickChangesOnlyLabelsAndMode)
{
    for (const bool cancelled : {true, false}) {
        SCOPED_TRACE(cancelled ? "cancelled" : "nothing picked");
        host.lines = {u"keep"};
        arrays.TextEntities.assign(1, Kelvo{u"1F", u"keep"});
        host.label2 = u"old";
        fields.ATTmode = true;
        windows.log.clear();
        if (cancelled)
            picker().nextPickIsCancelled();
        SpeedButton1Click(context);
        EXPECT_EQ(host.lines, std::vector<std::u16string>{u"keep"});
        EXPECT_EQ(arrays.TextEntities.front().sHnd, u"1F");
        EXPECT_EQ(host.replaceCount, 0);
        EXPECT_TRUE(host.label2.empty());
        EXPECT_FALSE(fields.ATTmode);
        EXPECT_FALSE(host.speedButton2.has_value());
        EXPECT_TRUE(logged("own normal"));
    }
}

TEST_F(TextAcquisition, CadNotRunningClearsModeAndLabelsOnly)
{
    runningObjects.revoke(link.progId);
    fields.ATTmode = true;
    host.label1 = u"x";
    SpeedButton1Click(context);
    EXPECT_FALSE(fields.ATTmode);
    EXPECT_TRUE(host.label1.empty());
    EXPECT_EQ(picker().pickCount(), 0);
    EXPECT_FALSE(logged("own minimize"));
    EXPECT_TRUE(logged("own normal"));
}

// An error while reading must not leave new records under the old lines (a later write-back
// would write them into the wrong TEXTs), nor the main window minimised.
TEST_F(TextAcquisition, ErrorWhileReadingKeepsRecordsAndLinesPairedAndBringsTheWindowBack)
{
    const auto a = addText(u"A", 0, 10);
    const auto b = addText(u"B", 0, 0);
    host.lines = {u"old"};
    Kelvo old;
    old.sHnd = u"OLD";
    old.text = u"old";
    arrays.TextEntities.assign(1, old);
    session->faults().failMember(FaultInjector::MemberFailure::of(u"TextString").onObject(b));
    picker().nextPickReturns({a, b});
    EXPECT_THROW(SpeedButton1Click(context), automation::AutomationError);
    ASSERT_EQ(arrays.TextEntities.size(), 1u);
    EXPECT_EQ(arrays.TextEntities[0].sHnd, u"OLD");
    EXPECT_EQ(host.lines, std::vector<std::u16string>{u"old"});
    EXPECT_TRUE(logged("own normal"));
    EXPECT_FALSE(fields.cadOperationRunning);
    for (const auto& set : session->selectionSets())
        EXPECT_TRUE(set->deleted) << "the work set is deleted on the way out";
}

TEST_F(TextAcquisition, FiveTextsTakeNoMoreCallsThanTheReadingNeeds)
{
    std::vector<std::u16string> handles;
    for (int i = 0; i < 5; ++i)
        handles.push_back(addText(u"T", 0, -i * 5.0));
    session->callLog().clear();
    pick(handles);
    ASSERT_EQ(host.lines.size(), 5u);

    std::vector<std::u16string> expected = {u"HWND",          u"ActiveDocument", u"Layers", u"Count", u"Item",
                                            u"Lock",          u"SelectionSets",  u"Count",  u"Add",   u"Clear",
                                            u"SelectOnScreen", u"Count"};
    for (int i = 0; i < 5; ++i)
        expected.insert(expected.end(),
                        {u"Item", u"Layer", u"TextString", u"Handle", u"Alignment", u"InsertionPoint"});
    expected.insert(expected.end(), {u"Clear", u"Delete"});
    EXPECT_EQ(session->callLog().members(), expected);
}

TEST_F(TextAcquisition, SecondAcquisitionInsideAPumpIsIgnored)
{
    const auto a = addText(u"A", 0, 10);
    const auto b = addText(u"B", 0, 0);
    picker().nextPickReturns({a, b});
    picker().nextPickReturns({a});
    host.onPump = [&](int) { SpeedButton1Click(context); };
    SpeedButton1Click(context);
    EXPECT_EQ(picker().pickCount(), 1);
    EXPECT_EQ(host.lines.size(), 2u);
}

}  // namespace
}  // namespace editor::test
