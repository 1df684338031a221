#include "EditorFixture.h"

#include "editor/AttributeAcquisition.h"
#include "editor/TextAcquisition.h"

#include <algorithm>
#include "editor/WriteBack.h"

namespace editor::test {
namespace {

using kelvocad::FaultInjector;

const std::u16string kError = u"エラーのため、更新を中止しました．";
const std::u16string kZeroPitchAdd = u"dX, dY が 0 のため、追加を中止しました．";

// Texts acquired from a column at x 10, from y 100 down in steps of 10, the editor showing
// them; the test then edits host.lines and writes back.
class WriteBack : public EditorFixture {
protected:
    std::vector<std::u16string> handles;

    void acquireColumn(const std::vector<std::u16string>& strings, int alignment = 0)
    {
        for (size_t i = 0; i < strings.size(); ++i)
            handles.push_back(addText(strings[i], 10, 100 - 10.0 * static_cast<double>(i), u"0", alignment));
        picker().nextPickReturns(handles);
        SpeedButton1Click(context);
        host.messages.clear();
        host.pumps = 0;
        ASSERT_EQ(host.lines, strings);
    }

    void writeBack() { SpeedButton2Click(context); }

    kelvocad::Point3 placeOf(const std::u16string& handle)
    {
        const auto& t = text(handle);
        return t.alignment == 0 ? t.insertionPoint : t.alignmentPoint;
    }
};

TEST_F(WriteBack, NothingEditedWritesNothingButStillBracketsAndRegenerates)
{
    acquireColumn({u"A", u"B"});
    session->callLog().clear();
    writeBack();
    const auto& log = session->callLog();
    EXPECT_EQ(log.count(u"StartUndoMark"), 1u);
    EXPECT_EQ(log.count(u"EndUndoMark"), 1u);
    EXPECT_EQ(log.count(u"Regen"), 1u);
    for (const auto& call : log.records())
        EXPECT_FALSE(call.member == u"TextString" && call.access == kelvocad::MemberAccess::Put);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton5, false);
    EXPECT_FALSE(host.label2Visible);
    EXPECT_TRUE(host.speedButton3);
    // Restore and to front, without minimising or cancelling the CAD command.
    EXPECT_EQ(std::count(windows.log.begin(), windows.log.end(), "escape"), 1) << "only the acquisition's";
}

TEST_F(WriteBack, FiveChangedLinesTakeThreeCallsEach)
{
    acquireColumn({u"A", u"B", u"C", u"D", u"E"});
    host.lines = {u"A2", u"B2", u"C2", u"D2", u"E2"};
    session->callLog().clear();
    writeBack();
    std::vector<std::u16string> expected = {u"HWND", u"ActiveDocument", u"StartUndoMark"};
    for (int i = 0; i < 5; ++i)
        expected.insert(expected.end(), {u"HandleToObject", u"TextString", u"TextString"});
    // The adding pass looks for its template before it sees that no line is left to add.
    expected.insert(expected.end(), {u"HandleToObject", u"EndUndoMark", u"Regen"});
    EXPECT_EQ(session->callLog().members(), expected);
}

TEST_F(WriteBack, ChangedBlankedAndRemovedLinesInOneUndoStep)
{
    acquireColumn({u"A", u"B", u"C", u"D", u"E", u"F"});
    const auto before = markDrawing();
    host.lines = {u"A2", u" \t", u"C", u"D"};  // B blanked; E and F removed
    writeBack();

    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A2", u"C", u"D"}));
    ASSERT_EQ(arrays.TextEntities.size(), 4u) << "resized to the lines";
    EXPECT_TRUE(arrays.TextEntities[1].sHnd.empty());
    EXPECT_EQ(arrays.TextEntities[1].insPt.doubleAt(1), 90.0) << "the blanked line keeps its TEXT's point";
    EXPECT_EQ(arrays.TextEntities[0].text, u"A") << "text is not refreshed for changed entities";
    EXPECT_TRUE(host.messages.empty());
    expectOneUndoRestores(before);
}

TEST_F(WriteBack, TypingIntoABlankedLineRecreatesTheTextThere)
{
    acquireColumn({u"A", u"B", u"C"}, 1);
    host.lines = {u"A", u"", u"C"};
    writeBack();
    ASSERT_TRUE(arrays.TextEntities[1].sHnd.empty());
    const auto before = markDrawing();

    host.lines = {u"A", u"B again", u"C"};
    writeBack();
    const auto& record = arrays.TextEntities[1];
    ASSERT_FALSE(record.sHnd.empty());
    const auto& made = text(record.sHnd);
    EXPECT_EQ(made.string, u"B again");
    EXPECT_EQ(made.alignment, 1) << "the alignment of the last record";
    EXPECT_EQ(made.alignmentPoint, (kelvocad::Point3{15, 90, 0}));
    EXPECT_EQ(record.lay, u"0");
    expectOneUndoRestores(before);
}

TEST_F(WriteBack, AppendedLinesLandOnThePitchAndABlankKeepsItsPlace)
{
    struct Case {
        const char* title;
        std::vector<std::u16string> appended;
        std::vector<double> ys;  // of the new TEXTs
    };
    const Case cases[] = {
        {"two lines", {u"N1", u"N2"}, {75, 70}},
        {"blank in the middle", {u"N1", u"", u"N3"}, {75, 65}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        session->replaceDrawing(std::make_shared<kelvocad::Drawing>());
        handles.clear();
        acquireColumn({u"A", u"B", u"C"});
        const auto before = markDrawing();
        host.edit1 = u"0";
        host.edit2 = u"-5";
        host.lines.insert(host.lines.end(), c.appended.begin(), c.appended.end());
        writeBack();

        ASSERT_EQ(arrays.TextEntities.size(), 3 + c.appended.size());
        std::vector<double> ys;
        for (size_t j = 3; j < arrays.TextEntities.size(); ++j) {
            const auto& record = arrays.TextEntities[j];
            if (c.appended[j - 3].empty()) {
                EXPECT_TRUE(record.sHnd.empty());
                EXPECT_EQ(record.insPt.doubleAt(1), 70.0) << "a blank appended line keeps its pitch place";
                continue;
            }
            const auto& made = text(record.sHnd);
            EXPECT_EQ(made.string, c.appended[j - 3]);
            EXPECT_EQ(record.text, made.string);
            EXPECT_EQ(made.insertionPoint.x, 10.0);
            ys.push_back(made.insertionPoint.y);
        }
        EXPECT_EQ(ys, c.ys);
        EXPECT_TRUE(host.messages.empty());
        expectOneUndoRestores(before);
    }
}

TEST_F(WriteBack, ZeroPitchStopsAddingWithTheMessage)
{
    acquireColumn({u"A"});
    const auto before = markDrawing();
    host.lines = {u"A2", u"N1", u"N2"};
    host.edit1 = u"0.0005";
    host.edit2 = u"abc";  // not a number: 0
    writeBack();
    EXPECT_EQ(host.messages, std::vector<std::u16string>{kZeroPitchAdd});
    EXPECT_EQ(textStrings(), std::vector<std::u16string>{u"A2"}) << "the pairing pass's change stays";
    ASSERT_EQ(arrays.TextEntities.size(), 3u);
    EXPECT_TRUE(arrays.TextEntities[2].sHnd.empty());
    expectOneUndoRestores(before);
}

TEST_F(WriteBack, LinesRefusedForAZeroPitchLandOnThePitchSetAfterwards)
{
    struct Case {
        const char* title;
        int alignment;
        std::vector<std::u16string> appended;
        std::vector<double> ys;  // of the new TEXTs
    };
    const Case cases[] = {
        {"two lines", 0, {u"N1", u"N2"}, {95, 90}},
        {"aligned texts, blank in the middle", 1, {u"N1", u"", u"N3"}, {95, 85}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        session->replaceDrawing(std::make_shared<kelvocad::Drawing>());
        handles.clear();
        acquireColumn({u"A"}, c.alignment);
        host.edit1 = u"0";
        host.edit2 = u"0";
        host.lines.insert(host.lines.end(), c.appended.begin(), c.appended.end());
        writeBack();
        ASSERT_EQ(host.messages, std::vector<std::u16string>{kZeroPitchAdd});
        host.messages.clear();

        host.edit2 = u"-5";
        writeBack();
        EXPECT_TRUE(host.messages.empty());
        ASSERT_EQ(arrays.TextEntities.size(), 1 + c.appended.size());
        std::vector<double> ys;
        for (size_t j = 1; j < arrays.TextEntities.size(); ++j) {
            const auto& record = arrays.TextEntities[j];
            if (c.appended[j - 1].empty()) {
                EXPECT_TRUE(record.sHnd.empty());
                continue;
            }
            ASSERT_FALSE(record.sHnd.empty());
            const auto& made = text(record.sHnd);
            EXPECT_EQ(made.string, c.appended[j - 1]);
            EXPECT_EQ(made.alignment, c.alignment);
            EXPECT_EQ(placeOf(record.sHnd).x, c.alignment == 0 ? 10.0 : 15.0);
            ys.push_back(placeOf(record.sHnd).y);
        }
        EXPECT_EQ(ys, c.ys);
    }
}

TEST_F(WriteBack, AddingEndsQuietlyWhenThePassDeletedEveryText)
{
    acquireColumn({u"A", u"B"});
    host.lines = {u"", u"B"};
    writeBack();
    ASSERT_TRUE(arrays.TextEntities[0].sHnd.empty()) << "A deleted; its line keeps the place";

    host.edit2 = u"-10";
    host.lines = {u"", u"", u"N"};  // B blanked too: no TEXT is left to copy for N
    writeBack();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(textStrings().empty());
    EXPECT_EQ(drawing().journal().markDepth(), 0);
    EXPECT_EQ(arrays.TextEntities.size(), 3u);
}

TEST_F(WriteBack, AttributeModeWritesValuesOnly)
{
    kelvocad::BlockReference reference;
    reference.name = u"A1";
    for (const auto* value : {u"v1", u"v2", u"v3"}) {
        kelvocad::AttributeReference a;
        a.tag = u"NAME";
        a.string = value;
        reference.attributes.push_back(a);
    }
    const auto block = drawing().addBlockReference(reference);
    host.comboBox1 = u"NAME";
    host.checkBox1 = false;
    picker().nextPickReturns({block});
    SpeedButton8Click(context);
    ASSERT_EQ(host.lines.size(), 3u);
    const auto before = markDrawing();

    struct Case {
        const char* title;
        std::vector<std::u16string> lines;
        std::vector<std::u16string> values;
    };
    const Case cases[] = {
        {"blank empties, surplus ignored", {u"w1", u"", u"w3", u"extra", u"more"}, {u"w1", u"", u"w3"}},
        {"fewer lines keep the rest", {u"x1"}, {u"x1", u"", u"w3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        host.lines = c.lines;
        host.edit2 = u"-5";
        writeBack();
        std::vector<std::u16string> values;
        for (const auto& a : drawing().findBlockReference(block)->attributes)
            values.push_back(a.string);
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(arrays.TextEntities.size(), 3u) << "the array keeps its length";
        EXPECT_EQ(drawing().entities().size(), 1u) << "nothing created";
    }
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(WriteBack, EntityErasedMeanwhileIsSkippedAndItsLineUsedUp)
{
    acquireColumn({u"A", u"B", u"C"});
    drawing().erase(handles[1]);
    const auto before = markDrawing();
    host.lines = {u"A2", u"B2", u"C2"};
    writeBack();
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A2", u"C2"})) << "C2 stays with C";
    EXPECT_TRUE(host.messages.empty());
    expectOneUndoRestores(before);
}

TEST_F(WriteBack, StopAtRecordKEndsThePassAndAddsNothing)
{
    acquireColumn({u"A", u"B", u"C", u"D"});
    const auto before = markDrawing();
    host.lines = {u"A2", u"B2", u"C2"};  // D's line removed, one line short
    host.edit2 = u"-10";
    host.lines.push_back(u"");
    host.onPump = [&](int pump) {
        if (pump == 2)
            host.setRunFlag(false);  // Stop clicked while record 2 is written
    };
    writeBack();
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A2", u"B2", u"C", u"D"}));
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton5, false);
    // The records of C and D still hold their TEXTs; the next write-back finishes the job.
    ASSERT_EQ(arrays.TextEntities.size(), 4u);
    EXPECT_EQ(arrays.TextEntities[3].sHnd, handles[3]);
    expectOneUndoRestores(before);

    host.onPump = nullptr;
    writeBack();
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A2", u"B2", u"C2"}));
    EXPECT_EQ(arrays.TextEntities.size(), 3u);
}

TEST_F(WriteBack, StopWhileAddingLeavesTheRestOnThePitchForLater)
{
    acquireColumn({u"A", u"B"});
    host.edit1 = u"0";
    host.edit2 = u"-10";
    host.lines = {u"A", u"B", u"N1", u"N2", u"N3"};
    host.onPump = [&](int pump) {
        if (pump == 3)  // after the first added line
            host.setRunFlag(false);
    };
    writeBack();
    ASSERT_EQ(arrays.TextEntities.size(), 5u);
    EXPECT_TRUE(arrays.TextEntities[3].sHnd.empty());
    ASSERT_TRUE(arrays.TextEntities[4].insPt.isArray());
    EXPECT_EQ(arrays.TextEntities[4].insPt.doubleAt(1), 60.0);

    host.onPump = nullptr;
    writeBack();
    std::vector<double> ys;
    for (const auto& r : arrays.TextEntities)
        ys.push_back(placeOf(r.sHnd).y);
    EXPECT_EQ(ys, (std::vector<double>{100, 90, 80, 70, 60}));
}

TEST_F(WriteBack, ErrorMidPassClosesTheUndoGroupAndEndsTheRun)
{
    acquireColumn({u"A", u"B"});
    const auto before = markDrawing();
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Copy"));
    host.edit2 = u"-10";
    host.lines = {u"A2", u"B2", u"N1"};
    writeBack();
    EXPECT_EQ(host.messages, std::vector<std::u16string>{kError});
    EXPECT_EQ(drawing().journal().markDepth(), 0);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton5, false);
    EXPECT_FALSE(host.label2Visible);
    EXPECT_EQ(session->callLog().count(u"Regen"), 1u);
    EXPECT_EQ(arrays.TextEntities.size(), 3u);
    expectOneUndoRestores(before);
}

TEST_F(WriteBack, AFailedRunShowsOneBoxEvenWhenTheRegenFailsToo)
{
    acquireColumn({u"A"});
    host.lines = {u"A2"};
    session->faults().failMember(FaultInjector::MemberFailure::of(u"StartUndoMark"));
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Regen"));
    EXPECT_NO_THROW(writeBack());
    EXPECT_EQ(host.messages, std::vector<std::u16string>{kError});

    // After a run that went well, a failing Regen is an error of its own.
    session->faults().clear();
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Regen"));
    host.messages.clear();
    EXPECT_THROW(writeBack(), automation::AutomationError);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(textStrings(), std::vector<std::u16string>{u"A2"});
}

TEST_F(WriteBack, WithoutRecordsNoUndoGroupAndOneEmptyRecordPerLine)
{
    host.lines = {u"x", u"", u"y", u" "};
    session->callLog().clear();
    writeBack();
    EXPECT_EQ(session->callLog().count(u"StartUndoMark"), 0u);
    EXPECT_EQ(arrays.TextEntities.size(), 3u);
    EXPECT_TRUE(drawing().entities().empty());

    host.lines.clear();
    session->callLog().clear();
    writeBack();
    EXPECT_EQ(session->callLog().records().size(), 0u) << "an empty editor does nothing";
}

TEST_F(WriteBack, SecondOperationInsideAPumpIsIgnored)
{
    acquireColumn({u"A", u"B"});
    host.lines = {u"A2", u"B2"};
    session->callLog().clear();
    host.onPump = [&](int) {
        SpeedButton2Click(context);
        SpeedButton1Click(context);
    };
    writeBack();
    EXPECT_EQ(session->callLog().count(u"StartUndoMark"), 1u);
    EXPECT_EQ(picker().pickCount(), 1) << "only the acquisition of the fixture";
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A2", u"B2"}));
}

TEST_F(WriteBack, TemplateIsTheLastRecordThatStillResolves)
{
    acquireColumn({u"A", u"B", u"C"});
    drawing().erase(handles[2]);
    auto document = session->application()->get(u"ActiveDocument").toObject();
    automation::ObjectRef templateEntity;
    ASSERT_TRUE(FindTemplateEntity(*document, arrays.TextEntities, templateEntity));
    EXPECT_EQ(templateEntity->get(u"Handle").toString(), handles[1]);

    drawing().erase(handles[0]);
    drawing().erase(handles[1]);
    EXPECT_TRUE(FindTemplateEntity(*document, arrays.TextEntities, templateEntity)) << "the earlier one is kept";
    automation::ObjectRef none;
    EXPECT_FALSE(FindTemplateEntity(*document, arrays.TextEntities, none));
}

TEST(EffectiveLineCount, IgnoresTrailingBlankLinesOnly)
{
    struct Case {
        std::vector<std::u16string> lines;
        int expected;
    };
    const Case cases[] = {
        {{}, 0},
        {{u"", u" ", u"\t"}, 0},
        {{u"a", u"", u"b", u" ", u"\x01"}, 3},
        {{u"\u3000"}, 1},  // a full-width space is text
    };
    for (const auto& c : cases) {
        FakeLineEditorHost host;
        host.lines = c.lines;
        EXPECT_EQ(EffectiveLineCount(host), c.expected);
    }
}

}  // namespace
}  // namespace editor::test
