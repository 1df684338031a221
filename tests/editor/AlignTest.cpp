#include "EditorFixture.h"

#include "editor/Align.h"
#include "editor/TextAcquisition.h"

namespace editor::test {
namespace {

using kelvocad::FaultInjector;
using kelvocad::Point3;

// Texts acquired in pick order; Align then places them on host's dX/dY.
class Align : public EditorFixture {
protected:
    std::vector<std::u16string> handles;

    void acquire(const std::vector<std::tuple<std::u16string, double, double, int>>& texts)
    {
        for (const auto& [string, x, y, alignment] : texts)
            handles.push_back(addText(string, x, y, alignment == 9 ? u"L2" : u"0", alignment == 9 ? 0 : alignment));
        host.checkBox1 = false;
        picker().nextPickReturns(handles);
        SpeedButton1Click(context);
        host.messages.clear();
    }

    void align(const std::u16string& dX, const std::u16string& dY)
    {
        host.edit1 = dX;
        host.edit2 = dY;
        SpeedButton6Click(context);
    }

    Point3 placeOf(const std::u16string& handle)
    {
        const auto& t = text(handle);
        return t.alignment == 0 ? t.insertionPoint : t.alignmentPoint;
    }

    Point3 recordPoint(size_t i)
    {
        const auto& p = arrays.TextEntities[i].insPt;
        return {p.doubleAt(0), p.doubleAt(1), p.doubleAt(2)};
    }
};

TEST_F(Align, TextsGoToTheFirstOnesPointPlusTheirStep)
{
    acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 2}, {u"C", 50, -3, 0}, {u"D", 1, 1, 0}});
    const auto before = markDrawing();
    host.lines = {u"A", u"B2", u"C", u"D"};
    align(u"0", u"-10");

    EXPECT_EQ(placeOf(handles[0]), (Point3{0, 0, 0}));
    EXPECT_EQ(text(handles[1]).alignmentPoint, (Point3{0, -10, 0})) << "placed by its alignment point";
    EXPECT_EQ(text(handles[1]).string, u"B2");
    EXPECT_EQ(placeOf(handles[2]), (Point3{0, -20, 0}));
    EXPECT_EQ(placeOf(handles[3]), (Point3{0, -30, 0}));
    EXPECT_EQ(recordPoint(3), (Point3{0, -30, 0}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.run);
    EXPECT_FALSE(host.label2Visible);
    EXPECT_EQ(host.label2History.back(), u"4 / 4");
    expectOneUndoRestores(before);
}

TEST_F(Align, TinyStepPlacesNothingButSurplusTextsAreDeleted)
{
    acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 0}, {u"C", 50, -3, 0}});
    const auto before = markDrawing();
    host.lines = {u"A", u"B"};
    session->callLog().clear();
    align(u"0.005", u"0");
    EXPECT_EQ(placeOf(handles[1]), (Point3{3, 7, 0}));
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A", u"B"}));
    ASSERT_EQ(arrays.TextEntities.size(), 3u) << "the surplus record stays, without handle";
    EXPECT_TRUE(arrays.TextEntities[2].sHnd.empty());
    EXPECT_EQ(session->callLog().count(u"Regen"), 1u);
    expectOneUndoRestores(before);
}

TEST_F(Align, BlankLineIsMovedThenDeletedAndKeepsItsGridPlace)
{
    acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 0}, {u"C", 50, -3, 0}});
    const auto before = markDrawing();
    host.lines = {u"A", u" ", u"C"};
    align(u"5", u"0");
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A", u"C"}));
    EXPECT_TRUE(arrays.TextEntities[1].sHnd.empty());
    EXPECT_EQ(recordPoint(1), (Point3{5, 0, 0}));
    EXPECT_EQ(placeOf(handles[2]), (Point3{10, 0, 0}));
    expectOneUndoRestores(before);
}

TEST_F(Align, LinesPastTheRecordsBecomeCopiesOfTheTemplateOnTheGrid)
{
    struct Case {
        const char* title;
        std::vector<std::u16string> extra;
    };
    const Case cases[] = {{"two lines", {u"N1", u"N2"}}, {"blank among them", {u"N1", u"", u"N3"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        session->replaceDrawing(std::make_shared<kelvocad::Drawing>());
        handles.clear();
        // Alignment code 9 puts the last text on layer L2: copies must carry it.
        acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 9}});
        const auto before = markDrawing();
        host.lines = {u"A", u"B"};
        host.lines.insert(host.lines.end(), c.extra.begin(), c.extra.end());
        align(u"0", u"-10");
        ASSERT_EQ(arrays.TextEntities.size(), 2 + c.extra.size());
        for (size_t j = 2; j < arrays.TextEntities.size(); ++j) {
            const auto& record = arrays.TextEntities[j];
            const Point3 grid{0, -10.0 * static_cast<double>(j), 0};
            EXPECT_EQ(recordPoint(j), grid);
            if (c.extra[j - 2].empty()) {
                EXPECT_TRUE(record.sHnd.empty());
                continue;
            }
            EXPECT_EQ(text(record.sHnd).string, c.extra[j - 2]);
            EXPECT_EQ(text(record.sHnd).layer, u"L2");
            EXPECT_EQ(placeOf(record.sHnd), grid);
        }
        expectOneUndoRestores(before);
    }
}

TEST_F(Align, EntityErasedMeanwhileIsSkippedAndNothingElseMovesInItsPlace)
{
    acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 0}, {u"C", 50, -3, 0}});
    drawing().erase(handles[1]);
    const auto before = markDrawing();
    align(u"0", u"-10");
    EXPECT_EQ(placeOf(handles[2]), (Point3{0, -20, 0}));
    EXPECT_EQ(textStrings(), (std::vector<std::u16string>{u"A", u"C"}));
    EXPECT_TRUE(host.messages.empty());
    expectOneUndoRestores(before);
}

TEST_F(Align, ErrorClosesTheUndoGroupAndEndsTheRun)
{
    acquire({{u"A", 0, 0, 0}, {u"B", 3, 7, 0}, {u"C", 50, -3, 0}});
    const auto before = markDrawing();
    session->faults().failMember(FaultInjector::MemberFailure::of(u"Update").onObject(handles[1]));
    host.lines = {u"A", u"B2", u"C2"};
    align(u"0", u"-10");
    EXPECT_EQ(host.messages, std::vector<std::u16string>{u"エラーのため、更新処理を中止しました．"});
    EXPECT_EQ(drawing().journal().markDepth(), 0);
    EXPECT_FALSE(host.run);
    EXPECT_EQ(host.speedButton5, false);
    EXPECT_EQ(placeOf(handles[2]), (Point3{50, -3, 0})) << "the run ended at B";
    expectOneUndoRestores(before);
}

}  // namespace
}  // namespace editor::test
