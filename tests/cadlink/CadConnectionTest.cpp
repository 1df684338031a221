#include "FakeWindowServices.h"

#include "automation/AutomationError.h"

#include <gtest/gtest.h>

#include <map>

using namespace cadlink;
using cadlink::fakes::FakeOwnWindow;
using cadlink::fakes::FakeWindowServices;
using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;

namespace {

// Just enough of an application object for the window steps: its HWND.
class WindowOnlyApp : public automation::Object {
public:
    Variant get(std::u16string_view member, std::span<const Variant>) override
    {
        if (automation::memberNameEquals(member, u"HWND"))
            return Variant(int32_t{77});
        throw AutomationError(automation::hr::UnknownName, u"unknown");
    }
    void put(std::u16string_view, const Variant&, std::span<const Variant>) override {}
    Variant call(std::u16string_view, std::span<const Variant>) override { return {}; }
};

class NoRunningObjects : public automation::RunningObjects {
public:
    bool isRunning(std::u16string_view) override { return running; }
    ObjectRef activeObject(std::u16string_view) override { return nullptr; }
    bool running = false;
};

struct StepsCase {
    const char* name;
    WindowSteps steps;
    bool iconic;
    bool granted;
    std::vector<std::string> expected;
};

class WindowStepsTest : public ::testing::TestWithParam<StepsCase> {};

TEST_P(WindowStepsTest, TakesTheStepsOfItsOperationInOrder)
{
    const auto& c = GetParam();
    FakeWindowServices windows;
    windows.iconic = c.iconic;
    windows.foregroundFollows = c.granted;
    windows.ownWindow = 5;
    FakeOwnWindow own(windows.log, 5);
    NoRunningObjects rot;
    const CadLink link{rot, windows, own, u"KelvoCAD.Application"};
    WindowOnlyApp app;
    beginWindowSteps(link, app, c.steps);
    windows.log.push_back("--");
    endWindowSteps(link, app, c.steps);
    EXPECT_EQ(windows.log, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, WindowStepsTest,
    ::testing::Values(
        StepsCase{"AcquisitionFromMinimised", WindowSteps::Acquisition, true, true,
                  {"openIcon 77", "sleep 500", "own minimize", "setForeground 77", "escape", "sleep 5", "--",
                   "own normal", "setForeground 5", "attach 1 2 on", "toTop 5", "attach 1 2 off"}},
        StepsCase{"AcquisitionRefusedForeground", WindowSteps::Acquisition, false, false,
                  {"own minimize", "setForeground 77", "--", "own normal", "setForeground 5", "attach 1 2 on", "toTop 5",
                   "attach 1 2 off"}},
        StepsCase{"Search", WindowSteps::Search, false, true,
                  {"setForeground 77", "escape", "sleep 5", "--", "setForeground 77", "escape", "sleep 5",
                   "setForeground 5", "attach 1 2 on", "toTop 5", "attach 1 2 off"}},
        StepsCase{"ChangeBatch", WindowSteps::ChangeBatch, false, true, {"setForeground 77", "escape", "sleep 5", "--"}},
        StepsCase{"WriteBackNeverCancels", WindowSteps::WriteBack, true, true,
                  {"openIcon 77", "sleep 500", "setForeground 77", "--"}},
        StepsCase{"SearchUpdateOnlyRestores", WindowSteps::SearchUpdate, true, true, {"openIcon 77", "sleep 500", "--"}},
        StepsCase{"NoneTouchesNothing", WindowSteps::None, true, true, {"--"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsCadRunning, NanoCadIsRecognisedByItsExactWindowTitle)
{
    FakeWindowServices windows;
    FakeOwnWindow own(windows.log, 5);
    NoRunningObjects rot;
    rot.running = true;  // the object table is not what decides for nanoCAD
    const CadLink link{rot, windows, own, u"nanoCAD.Application.5"};
    windows.titles = {u"nanoCAD 5 - Drawing1"};
    EXPECT_FALSE(IsCadRunning(link));
    windows.titles = {u"nanoCAD 5"};
    EXPECT_TRUE(IsCadRunning(link));
    const CadLink lowerCase{rot, windows, own, u"nanocad.Application"};
    windows.titles.clear();
    EXPECT_TRUE(IsCadRunning(lowerCase)) << "the nanoCAD test is case-sensitive";
}

TEST(LockedLayers, MatchWholeNamesOnly)
{
    const std::u16string list = u"\tPOWER LINES\t電源\t";
    EXPECT_TRUE(isOnLockedLayer(list, u"POWER LINES"));
    EXPECT_TRUE(isOnLockedLayer(list, u"電源"));
    EXPECT_FALSE(isOnLockedLayer(list, u"POWER"));
    EXPECT_FALSE(isOnLockedLayer(list, u"LINES"));
    EXPECT_FALSE(isOnLockedLayer(list, u"power lines"));
    EXPECT_FALSE(isOnLockedLayer(u"\t", u""));
}

TEST(Marker, TriangleTipAtTheCentreBaseToTheLeft)
{
    const auto t = markerTriangle(1000, 600, 0.05);
    EXPECT_EQ(t[0], (MarkerPoint{500, 300}));
    EXPECT_EQ(t[1], (MarkerPoint{450, 275}));
    EXPECT_EQ(t[2], (MarkerPoint{450, 325}));
    EXPECT_EQ(t[3], t[0]);
    const auto odd = markerTriangle(999, 7, 0.05);  // 49.95 and 24.975 truncate
    EXPECT_EQ(odd[1], (MarkerPoint{499 - 49, 3 - 24}));
}

}  // namespace

namespace {

TEST(ForceForeground, AttachesInputOnlyAcrossThreads)
{
    FakeWindowServices windows;
    windows.ownWindow = 5;
    windows.foreground = 5;  // the program already has the input
    ForceForeground(windows, 5);
    EXPECT_EQ(windows.log, (std::vector<std::string>{"setForeground 5", "toTop 5"}));
}

}  // namespace
