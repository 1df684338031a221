#include "taglists/TagLists.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::u16string>;

TEST(TagLists, RememberedPosition)
{
    struct Case {
        int32_t remembered;
        size_t count;
        int expected;
    };
    const Case cases[] = {
        {0, 5, 0}, {4, 5, 4}, {5, 5, 0}, {4, 3, 0},  // a shorter list falls back to the first item
        {-1, 3, -1},                                // no selection stays no selection
        {-7, 3, -1}, {0, 0, -1}, {2, 0, -1}, {-1, 0, -1},
        {INT32_MAX, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.remembered) + " of " + std::to_string(c.count));
        EXPECT_EQ(taglists::rememberedPosition(c.remembered, c.count), c.expected);
    }
}

TEST(TagLists, SortIgnoresCaseAndKeepsTheOrderOfEqualItems)
{
    Lines items{u"b", u"SENBAN", u"A", u"a", u"senban", u"Name1", u"NAME", u""};
    taglists::sortIgnoringCase(items);
    EXPECT_EQ(items, (Lines{u"", u"A", u"a", u"b", u"NAME", u"Name1", u"SENBAN", u"senban"}));

    Lines groups = taglists::builtInTagGroupItems();
    taglists::sortIgnoringCase(groups);
    EXPECT_EQ(groups.front(), u"I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2");
    EXPECT_EQ(groups.back(), u"線番,SENBAN");
}

TEST(TagLists, ReloadDropsBlankLinesButTrimsNothing)
{
    const Lines lines{u"", u"  ", u"\t\r", u" NAME:機器名 ", u"\u3000", u"SENBAN"};
    EXPECT_EQ(taglists::nonBlankLines(lines), (Lines{u" NAME:機器名 ", u"\u3000", u"SENBAN"}));
}

TEST(TagLists, DisplayNameIsTheTextBeforeTheFirstLineWithTabAndProgId)
{
    const std::u16string progId = u"BricscadApp.AcadApplication";
    struct Case {
        const char* name;
        Lines lines;
        std::optional<std::u16string> expected;
    };
    const Case cases[] = {
        // The first line's ProgID only begins with the wanted one, but it contains TAB + ProgID.
        {"PrefixWithSuffix",
         {u"BricsCAD V23\tBricscadApp.AcadApplication.23", u"BricsCAD\tBricscadApp.AcadApplication"},
         u"BricsCAD V23"},
        {"LaterLine", {u"AutoCAD\tAutoCAD.Application", u"BricsCAD\tBricscadApp.AcadApplication"}, u"BricsCAD"},
        {"CaseSensitive", {u"BricsCAD\tbricscadapp.acadapplication"}, std::nullopt},
        {"NoTab", {u"BricsCAD BricscadApp.AcadApplication"}, std::nullopt},
        {"BeforeTheMatchingTab", {u"a\tb\tBricscadApp.AcadApplication"}, u"a\tb"},
        {"EmptyName", {u"\tBricscadApp.AcadApplication"}, u""},
        {"NoLines", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(taglists::displayNameFor(c.lines, progId), c.expected);
    }
}

}  // namespace
