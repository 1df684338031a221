#include "kelvocad/model/Drawing.h"

#include "common/Utf.h"

#include <gtest/gtest.h>

namespace kelvocad {
namespace {

// A drawing of three TEXTs "A", "B", "C", with an empty journal.
class DrawingUndoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char16_t* s : {u"A", u"B", u"C"}) {
            TextEntity t;
            t.string = s;
            handles.push_back(drawing.addText(t));
        }
        drawing.clearUndo();
    }

    void rename(int i, std::u16string to)
    {
        drawing.modifyText(handles[i], [&](TextEntity& t) { t.string = to; });
    }

    // The strings of model space in drawing order, joined: "ABC".
    std::u16string strings() const
    {
        std::u16string all;
        for (const auto& e : drawing.entities())
            all += std::get<TextEntity>(e).string;
        return all;
    }

    Drawing drawing;
    std::vector<std::u16string> handles;
};

TEST_F(DrawingUndoTest, ChangesOutsideMarksAreStepsOfTheirOwn)
{
    rename(0, u"X");
    rename(1, u"Y");
    ASSERT_TRUE(drawing.undoLastStep());
    EXPECT_EQ(strings(), u"XBC");
    ASSERT_TRUE(drawing.undoLastStep());
    EXPECT_EQ(strings(), u"ABC");
    EXPECT_FALSE(drawing.undoLastStep());
}

TEST_F(DrawingUndoTest, MarkPairUndoesAsOneStep)
{
    rename(2, u"Z");  // a step before the group, which must survive
    drawing.startUndoMark();
    rename(0, u"X");
    drawing.erase(handles[1]);
    const std::u16string copy = drawing.copyEntity(handles[0]);
    rename(0, u"XX");
    drawing.endUndoMark();
    ASSERT_EQ(strings(), u"XXZX");

    ASSERT_TRUE(drawing.undoLastStep());
    EXPECT_EQ(strings(), u"ABZ");  // the erased TEXT is back in its place
    EXPECT_EQ(drawing.findText(handles[1])->string, u"B");
    EXPECT_EQ(drawing.findText(copy), nullptr);
    ASSERT_TRUE(drawing.undoLastStep());
    EXPECT_EQ(strings(), u"ABC");
}

TEST_F(DrawingUndoTest, UnbalancedMarks)
{
    struct Case {
        const char* name;
        const char* script;  // S start, E end, digits rename that TEXT, U undo
        std::u16string expected;
    } cases[] = {
        {"nested marks make one group", "SS0E1EU", u"ABC"},
        {"inner end does not close the group", "SS0E1U", u"ABC"},
        {"end without start is ignored", "E01U", u"XBC"},
        {"extra end after a pair is ignored", "S01EEU", u"ABC"},
        {"undo closes an open group", "0S12U", u"XBC"},
        {"a group without changes is no step", "0SEU", u"ABC"},
        {"changes after the group are their own steps", "S0E1U", u"XBC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        std::vector<std::u16string> h;
        for (const char16_t* s : {u"A", u"B", u"C"}) {
            TextEntity t;
            t.string = s;
            h.push_back(d.addText(t));
        }
        d.clearUndo();
        const char16_t newNames[] = {u'X', u'Y', u'Z'};
        for (const char* op = c.script; *op; ++op) {
            switch (*op) {
            case 'S': d.startUndoMark(); break;
            case 'E': d.endUndoMark(); break;
            case 'U': d.undoLastStep(); break;
            default: {
                const int i = *op - '0';
                d.modifyText(h[i], [&](TextEntity& t) { t.string = std::u16string(1, newNames[i]); });
            }
            }
        }
        std::u16string all;
        for (const auto& e : d.entities())
            all += std::get<TextEntity>(e).string;
        EXPECT_EQ(all, c.expected);
        EXPECT_EQ(d.journal().markDepth(), 0);
    }
}

TEST_F(DrawingUndoTest, HandlesAreNeverGivenOutTwice)
{
    const std::u16string first = drawing.copyEntity(handles[0]);
    drawing.erase(first);
    ASSERT_TRUE(drawing.undoLastStep());  // the copy is back, under its own handle
    ASSERT_TRUE(drawing.undoLastStep());  // and gone again
    const std::u16string second = drawing.copyEntity(handles[0]);
    EXPECT_NE(first, second);
    EXPECT_TRUE(drawing.wasErased(first));
    for (char16_t c : second)
        EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
}

TEST_F(DrawingUndoTest, FailedChangeRecordsNothing)
{
    EXPECT_THROW(drawing.modifyText(handles[0], [](TextEntity&) { throw std::runtime_error("refused"); }),
                 std::runtime_error);
    EXPECT_EQ(drawing.journal().stepCount(), 0u);
    EXPECT_THROW(drawing.erase(u"FFFF"), std::exception);
    EXPECT_EQ(strings(), u"ABC");
}

TEST_F(DrawingUndoTest, LookupIgnoresLetterCaseOfHandles)
{
    drawing.reserveHandle(u"ABC");
    const std::u16string handle = drawing.addText(TextEntity{});
    ASSERT_EQ(handle, u"ABD");
    ASSERT_NE(drawing.findText(u"abd"), nullptr);
    EXPECT_EQ(drawing.findText(u"abd")->handle, u"ABD");
}

}  // namespace
}  // namespace kelvocad

namespace kelvocad {
namespace {

TEST(DrawingHandles, FileHandlesAreKeptWhenValidAndFree)
{
    Drawing drawing;
    struct Case {
        const char* name;
        std::u16string given;
        std::u16string kept;  // empty: a fresh handle
    } cases[] = {
        {"valid", u"2a0", u"2A0"},
        {"taken", u"2A0", u""},
        {"not hexadecimal", u"XYZ", u""},
        {"leading zero", u"02B0", u""},
        {"empty", u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextEntity t;
        t.handle = c.given;
        const std::u16string handle = drawing.addText(t);
        if (!c.kept.empty()) {
            EXPECT_EQ(handle, c.kept);
        } else {
            EXPECT_FALSE(handle.empty());
            EXPECT_NE(handle, u"2A0");
        }
    }
    // New handles continue above the highest one kept.
    EXPECT_EQ(drawing.newHandle(), u"2A5");
}

}  // namespace
}  // namespace kelvocad

namespace kelvocad {
namespace {

// Lookups by handle agree with a plain scan of model space after any mix of additions,
// copies, erasures, attribute edits and undos.
TEST(DrawingHandles, LookupsStayRightThroughEveryKindOfChange)
{
    Drawing drawing;
    drawing.addBlock({u"B", {}, {{u"", u"T", u"prompt", u"", {}, 0, 2.5}}});
    std::vector<std::u16string> known;
    unsigned seed = 7;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) % 100; };
    for (int step = 0; step < 400; ++step) {
        const unsigned roll = next();
        const std::u16string pick = known.empty() ? u"" : known[next() % known.size()];
        if (roll < 30 || known.empty()) {
            BlockReference r;
            r.name = u"B";
            r.attributes.push_back({u"", u"T", u"v", {}, {}, 0, 2.5, u"0"});
            known.push_back(roll % 2 ? drawing.addText(TextEntity{}) : drawing.addBlockReference(r));
        } else if (roll < 45 && drawing.findEntity(pick)) {
            known.push_back(drawing.copyEntity(pick));
        } else if (roll < 65 && drawing.findEntity(pick)) {
            drawing.erase(pick);
        } else if (roll < 75) {
            drawing.undoLastStep();
        } else if (roll < 85) {
            roll % 2 ? drawing.startUndoMark() : drawing.endUndoMark();
        } else if (const BlockReference* r = drawing.findBlockReference(pick)) {
            drawing.modifyAttribute(r->attributes[0].handle, [](AttributeReference& a) { a.string += u"x"; });
        }
        for (const auto& handle : known) {
            const ModelEntity* scanned = nullptr;
            for (const auto& e : drawing.entities())
                if (handleOf(e) == handle)
                    scanned = &e;
            ASSERT_EQ(drawing.findEntity(handle), scanned) << "step " << step;
            if (const auto* r = scanned ? std::get_if<BlockReference>(scanned) : nullptr) {
                const auto& attribute = r->attributes[0];
                ASSERT_EQ(drawing.findAttribute(attribute.handle), &attribute) << "step " << step;
                ASSERT_EQ(drawing.ownerOfAttribute(attribute.handle), r) << "step " << step;
            }
        }
    }
}

}  // namespace
}  // namespace kelvocad
