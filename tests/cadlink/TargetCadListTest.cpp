#include "cadlink/TargetCadList.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using cadlink::TargetCadList;
using Lines = std::vector<std::u16string>;

TEST(TargetCadList, SplitsAtTheFirstTab)
{
    struct Case {
        std::u16string line, name, progId;
    };
    const Case cases[] = {
        {u"BricsCAD\tBricscadApp.AcadApplication", u"BricsCAD", u"BricscadApp.AcadApplication"},
        {u"no tab", u"", u"no tab"},
        {u"\tOnly.ProgID", u"", u"Only.ProgID"},
        {u"a\tb\tc", u"a", u"b\tc"},
        {u"", u"", u""},
    };
    for (const Case& c : cases) {
        const auto entry = TargetCadList::splitLine(c.line);
        EXPECT_EQ(entry.name, c.name);
        EXPECT_EQ(entry.progId, c.progId);
    }
}

TEST(TargetCadList, KeepsLinesSortedIgnoringCaseButChangesInPlace)
{
    TargetCadList list;
    list.load({u"b\tx", u"A\ty", u"C\tz"});
    EXPECT_EQ(list.lines(), (Lines{u"A\ty", u"b\tx", u"C\tz"}));

    // Equal but for case: the rest of the line decides.
    EXPECT_EQ(list.add(u"a\tq"), 0u);
    EXPECT_EQ(list.add(u"c\tw"), 3u);
    EXPECT_EQ(list.lines(), (Lines{u"a\tq", u"A\ty", u"b\tx", u"c\tw", u"C\tz"}));

    list.change(1, u"zz\tlast");
    EXPECT_EQ(list.lines()[1], u"zz\tlast");
    list.remove(1);
    EXPECT_EQ(list.lines(), (Lines{u"a\tq", u"b\tx", u"c\tw", u"C\tz"}));
}

TEST(TargetCadList, FindsLinesByProgIdAndIgnoringCase)
{
    TargetCadList list;
    list.load({u"V23\tBricscadApp.AcadApplication.23", u"V1\tBricscadApp.AcadApplication", u"lower\tbricscadapp.x"});
    // The first line holding TAB + ProgID anywhere, case-sensitive.
    EXPECT_EQ(list.findProgId(u"BricscadApp.AcadApplication"), 1u);
    EXPECT_EQ(list.findProgId(u"BricscadApp.X"), std::nullopt);
    EXPECT_EQ(list.findProgId(u"AcadApplication"), std::nullopt);
    EXPECT_EQ(list.findIgnoringCase(u"LOWER\tBRICSCADAPP.X"), 0u);
    EXPECT_EQ(list.findIgnoringCase(u"lower"), std::nullopt);
}

TEST(TargetCadList, IndexOutsideTheListIsAnErrorThatChangesNothing)
{
    TargetCadList list;
    list.load({u"a\tb"});
    for (const int index : {-1, 1}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(list.line(index), std::out_of_range);
        EXPECT_THROW(list.remove(index), std::out_of_range);
        EXPECT_THROW(list.change(index, u"x"), std::out_of_range);
        EXPECT_EQ(list.lines(), Lines{u"a\tb"});
    }
}

}  // namespace
