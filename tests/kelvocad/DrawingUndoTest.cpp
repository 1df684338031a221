#include "kelvocad/model/Drawing.h"

#include "common/Utf.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

namespace kelvocad {
namespace {

// Every field of an entity, written out, so that "back as it was" is one comparison.
std::u16string describe(const Point3& p)
{
    return common::fromUtf8(std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z));
}

std::u16string describe(const ModelEntity& entity)
{
    auto number = [](double value) { return common::fromUtf8(std::to_string(value)); };
    if (const auto* t = std::get_if<TextEntity>(&entity))
        return t->handle + u"|" + t->layer + u"|" + t->string + u"|" + describe(t->insertionPoint) + u"|" +
               describe(t->alignmentPoint) + u"|" + number(t->alignment) + u"|" + number(t->height) + u"|" +
               number(t->rotation) + u"|" + t->style;
    const auto& r = std::get<BlockReference>(entity);
    std::u16string text = r.handle + u"|" + r.name + u"|" + r.layer + u"|" + describe(r.insertionPoint);
    for (const auto& a : r.attributes)
        text += u"[" + a.handle + u"|" + a.tag + u"|" + a.string + u"|" + describe(a.insertionPoint) + u"|" +
                describe(a.alignmentPoint) + u"|" + number(a.alignment) + u"|" + number(a.height) + u"|" + a.layer +
                u"]";
    return text;
}

std::u16string describe(const Drawing& drawing)
{
    std::u16string text;
    for (const auto& entity : drawing.entities())
        text += describe(entity) + u"\n";
    return text;
}

// A change keeps only what it touched when it touched one string or the placing points, and
// the whole entity otherwise; whichever it kept, undoing the group (and a lone change after
// it) brings every field of every entity back, whatever else the group did to the entity.
TEST(DrawingUndoKinds, EveryKindOfChangeUndoesToTheEntityAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(Drawing&, const std::u16string& text, const std::u16string& reference)> change;
    };
    const auto attributeOf = [](Drawing& d, const std::u16string& reference, size_t i) {
        return d.findBlockReference(reference)->attributes[i].handle;
    };
    const Case cases[] = {
        {"string", [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity& e) { e.string = u"a longer string"; }); }},
        {"same string again", [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity&) {}); }},
        {"insertion point",
         [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity& e) { e.insertionPoint = {9, 8, 7}; }); }},
        {"both points",
         [](Drawing& d, auto& t, auto&) {
             d.modifyText(t, [](TextEntity& e) { e.insertionPoint = {1, 2, 0}, e.alignmentPoint = {3, 4, 0}; });
         }},
        {"height", [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity& e) { e.height = 9.0; }); }},
        {"string and rotation",
         [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity& e) { e.string = u"R", e.rotation = 1.0; }); }},
        {"layer and style",
         [](Drawing& d, auto& t, auto&) { d.modifyText(t, [](TextEntity& e) { e.layer = u"L2", e.style = u"S2"; }); }},
        {"string, then points, then erased",
         [](Drawing& d, auto& t, auto&) {
             d.modifyText(t, [](TextEntity& e) { e.string = u"first"; });
             d.modifyText(t, [](TextEntity& e) { e.insertionPoint = {5, 5, 0}; });
             d.erase(t);
         }},
        {"attribute string",
         [&](Drawing& d, auto&, auto& r) {
             d.modifyAttribute(attributeOf(d, r, 1), [](AttributeReference& a) { a.string = u"new value"; });
         }},
        {"two attribute strings at once",
         [](Drawing& d, auto&, auto& r) {
             d.modifyBlockReference(r, [](BlockReference& b) { b.attributes[0].string = u"x", b.attributes[1].string = u"y"; });
         }},
        {"attribute string and its height",
         [&](Drawing& d, auto&, auto& r) {
             d.modifyAttribute(attributeOf(d, r, 0), [](AttributeReference& a) { a.string = u"z", a.height = 7.0; });
         }},
        {"reference moved and an attribute string",
         [](Drawing& d, auto&, auto& r) {
             d.modifyBlockReference(r, [](BlockReference& b) { b.insertionPoint = {3, 3, 0}, b.attributes[1].string = u"w"; });
         }},
        {"every attribute string one after the other, then erased",
         [&](Drawing& d, auto&, auto& r) {
             for (size_t i = 0; i < 2; ++i)
                 d.modifyAttribute(attributeOf(d, r, i), [](AttributeReference& a) { a.string += u"+"; });
             d.erase(r);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.addBlock({u"B", {}, {{u"", u"T1", u"", u"", {}, 0, 2.5}, {u"", u"T2", u"", u"", {}, 0, 2.5}}});
        TextEntity text;
        text.string = u"original text";
        text.insertionPoint = {1.5, 2.5, 0.0};
        text.alignmentPoint = {4.0, 2.5, 0.0};
        text.alignment = 1;
        const std::u16string first = d.addText(text);
        BlockReference reference;
        reference.name = u"B";
        reference.attributes = {{u"", u"T1", u"v1", {}, {}, 0, 2.5, u"0"}, {u"", u"T2", u"v2", {}, {}, 0, 2.5, u"0"}};
        const std::u16string block = d.addBlockReference(reference);
        text.string = u"last";
        const std::u16string last = d.addText(text);
        d.clearUndo();
        const std::u16string before = describe(d);
        d.modifyText(last, [](TextEntity& e) { e.string = u"a step of its own before the group"; });
        const std::u16string beforeGroup = describe(d);

        d.startUndoMark();
        c.change(d, first, block);
        d.modifyText(last, [](TextEntity& e) { e.string = u"changed in the group"; });
        d.endUndoMark();
        ASSERT_NE(describe(d), beforeGroup);
        ASSERT_TRUE(d.undoLastStep());
        EXPECT_EQ(describe(d), beforeGroup);
        ASSERT_TRUE(d.undoLastStep());
        EXPECT_EQ(describe(d), before);
        EXPECT_FALSE(d.undoLastStep());
    }
}

}  // namespace
}  // namespace kelvocad

namespace kelvocad {
namespace {

EntityChange stringChange(int step, int i)
{
    return {u"H" + common::fromUtf8(std::to_string(step)), static_cast<size_t>(i),
            TextStringBefore{u"a string long enough to live on the heap " + common::fromUtf8(std::to_string(i))}};
}

// Beyond its budget the history forgets its oldest steps, never the newest closed one nor the
// open group, and what it keeps undoes in order.
TEST(UndoJournalBudget, OldestStepsAreForgottenBeyondTheBudget)
{
    const size_t perChange = UndoJournal::bytesOf(stringChange(0, 0));
    struct Case {
        const char* name;
        size_t budgetChanges;      // the budget, in changes of one size
        std::vector<int> steps;    // changes per closed step, oldest first
        std::vector<int> kept;     // the steps kept, by index, oldest first
    } cases[] = {
        {"all within the budget", 10, {2, 3, 4}, {0, 1, 2}},
        {"the oldest goes", 8, {2, 3, 4}, {1, 2}},
        {"the two oldest go", 5, {2, 3, 4}, {2}},
        {"the newest stays, larger than the budget", 1, {2, 3, 40}, {2}},
        {"exactly at the budget", 9, {2, 3, 4}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UndoJournal journal(c.budgetChanges * perChange);
        for (size_t s = 0; s < c.steps.size(); ++s) {
            journal.startMark();
            for (int i = 0; i < c.steps[s]; ++i)
                journal.record(stringChange(static_cast<int>(s), i));
            journal.endMark();
        }
        EXPECT_EQ(journal.stepCount(), c.kept.size());
        for (auto step = c.kept.rbegin(); step != c.kept.rend(); ++step) {
            const auto taken = journal.takeLastStep();
            ASSERT_TRUE(taken.has_value());
            ASSERT_EQ(taken->size(), static_cast<size_t>(c.steps[static_cast<size_t>(*step)]));
            EXPECT_EQ(taken->front().handle, u"H" + common::fromUtf8(std::to_string(*step)));
            EXPECT_EQ(taken->back().position, static_cast<size_t>(c.steps[static_cast<size_t>(*step)] - 1));
        }
        EXPECT_FALSE(journal.takeLastStep().has_value());
        EXPECT_EQ(journal.sizeBytes(), 0u);
    }
}

TEST(UndoJournalBudget, AnOpenGroupIsKeptWholeAndLowerBudgetsApplyAtOnce)
{
    const size_t perChange = UndoJournal::bytesOf(stringChange(0, 0));
    UndoJournal journal(2 * perChange);
    journal.record(stringChange(0, 0));
    journal.record(stringChange(1, 0));
    journal.startMark();
    for (int i = 0; i < 5; ++i)
        journal.record(stringChange(2, i));
    EXPECT_EQ(journal.stepCount(), 3u);  // the group is open, nothing is forgotten yet
    journal.setBudgetBytes(perChange);
    EXPECT_EQ(journal.stepCount(), 2u);  // the oldest closed step went, the open group stays
    const auto group = journal.takeLastStep();  // closes the group, which then is the newest
    ASSERT_TRUE(group.has_value());
    EXPECT_EQ(group->size(), 5u);
    EXPECT_EQ(journal.stepCount(), 0u) << "closing the group forgot the step before it";
}

}  // namespace
}  // namespace kelvocad
