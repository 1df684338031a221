#include "textops/LineBatch.h"

#include <gtest/gtest.h>

namespace textops {
namespace {

using Lines = std::vector<std::u16string>;

TEST(SplitSelectedLines, EndsLinesAtCrLfAndCrLf)
{
    struct Case { std::u16string selected; Lines lines; };
    const Case cases[] = {
        {u"a\r\nb", {u"a", u"b"}},
        {u"a\nb\rc", {u"a", u"b", u"c"}},
        {u"a\r\n", {u"a"}},
        {u"\r\n", {u""}},
        {u"a\r\rb", {u"a", u"", u"b"}},
        {u"a\n\r\nb\n", {u"a", u"", u"b"}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected));
        EXPECT_EQ(splitSelectedLines(c.selected), c.lines);
    }
}

TEST(JoinSelectedLines, BreaksAfterEveryLineThenTrimsBothEnds)
{
    struct Case { Lines lines; std::u16string joined; };
    const Case cases[] = {
        {{u"a", u"b"}, u"a\r\nb"},
        {{u" a", u"b\t"}, u"a\r\nb"},
        {{u"a", u""}, u"a"},
        {{u"", u"a"}, u"a"},
        {{u"\u3000a\u3000"}, u"\u3000a\u3000"},
        {{}, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joinSelectedLines(c.lines), c.joined);
}

TEST(TransformLines, StopsBetweenLinesWhenRunFlagIsCleared)
{
    int pumps = 0;
    bool runFlag = true;
    StepControl control{[&] {
                            if (++pumps == 2)
                                runFlag = false;
                        },
                        [&] { return runFlag; }};
    const auto result = transformLines({u"a", u"b", u"c", u"d"}, [](std::u16string& line) {
        line += u"!";
        return true;
    }, control);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.lines, (Lines{u"a!", u"b!", u"c", u"d"}));
    EXPECT_EQ(pumps, 2);
}

TEST(TransformLines, LinesThatAreNoStepNeitherPumpNorStop)
{
    int pumps = 0;
    StepControl control{[&] { ++pumps; }, [] { return false; }};
    const auto result = transformLines({u"-", u"-", u"x", u"x"}, [](std::u16string& line) {
        if (line != u"x")
            return false;
        line = u"y";
        return true;
    }, control);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.lines, (Lines{u"-", u"-", u"y", u"x"}));
    EXPECT_EQ(pumps, 1);
}

TEST(TransformSelection, EmptySelectionDoesNothing)
{
    bool called = false;
    EXPECT_FALSE(transformSelection(u"", [&](std::u16string&) { return called = true; }, {}).has_value());
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace textops
