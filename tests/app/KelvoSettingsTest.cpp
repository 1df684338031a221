#include "app/KelvoSettings.h"

#include "app/ProfileFile.h"
#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

using app::KelvoSettings;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;

bool operator==(const KelvoSettings& a, const KelvoSettings& b)
{
    return a.left == b.left && a.top == b.top && a.progId == b.progId && a.sort == b.sort && a.attTag == b.attTag &&
           a.attTagIndex2 == b.attTagIndex2 && a.cursor == b.cursor && a.attTagIndex1 == b.attTagIndex1 &&
           a.sentou == b.sentou && a.upperCase == b.upperCase && a.enter == b.enter && a.zoomCenter == b.zoomCenter &&
           a.attEnter == b.attEnter && a.attEnterDown == b.attEnterDown && a.zoomCenter2 == b.zoomCenter2;
}

class KelvoSettingsTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    app::ProfileFile file{folder / "KelvoEdit.ini"};
};

TEST_F(KelvoSettingsTest, NoFileGivesTheFirstStartValues)
{
    const KelvoSettings s = app::loadSettings(file, 596, 380);
    EXPECT_EQ(s.left, 596);
    EXPECT_EQ(s.top, 380);
    EXPECT_EQ(s.progId, u"BricscadApp.AcadApplication");
    EXPECT_EQ(s.attTag, u"");
    EXPECT_EQ(s.attTagIndex1, 0);
    EXPECT_EQ(s.attTagIndex2, 0);
    // CheckBox1, 2, 4, 5, 7, 8 checked; 3, 6, 9 not.
    const bool checkBoxes[] = {s.sort, s.cursor, s.sentou, s.upperCase, s.enter,
                               s.zoomCenter, s.attEnter, s.attEnterDown, s.zoomCenter2};
    const bool expected[] = {true, true, false, true, true, false, true, true, false};
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE("CheckBox" + std::to_string(i + 1));
        EXPECT_EQ(checkBoxes[i], expected[i]);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "KelvoEdit.ini"));
}

TEST_F(KelvoSettingsTest, SavedFileHasEveryKeyInTableOrder)
{
    KelvoSettings s;
    s.left = -30;
    s.top = 2000;
    s.attTag = u"SENBAN:線番";
    s.attTagIndex1 = -1;
    s.attTagIndex2 = 4;
    app::saveSettings(file, s);
    EXPECT_EQ(readBytes(folder / "KelvoEdit.ini"),
              "[KelvoEdit]\r\n"
              "Left=-30\r\nTop=2000\r\nSort=1\r\nAttTag=SENBAN:\x90\xFC\x94\xD4\r\nAttTagIndex2=4\r\nCursor=1\r\n"
              "AttTagIndex1=-1\r\nSentou=0\r\nUpperCase=1\r\nEnter=1\r\nZoomCenter=0\r\nAttEnter=1\r\n"
              "AttEnterDown=1\r\nZoomCenter2=0\r\n"
              "[Target]\r\n"
              "ProgID=BricscadApp.AcadApplication\r\n");
}

TEST_F(KelvoSettingsTest, EveryValueSurvivesSaveAndLoad)
{
    KelvoSettings s;
    s.left = 17;
    s.top = -4;
    s.progId = u"Other.Application.2";
    s.attTag = u"NAME:機器名";
    s.attTagIndex1 = 3;
    s.attTagIndex2 = 2;
    s.sort = !s.sort;
    s.cursor = !s.cursor;
    s.sentou = !s.sentou;
    s.upperCase = !s.upperCase;
    s.enter = !s.enter;
    s.zoomCenter = !s.zoomCenter;
    s.attEnter = !s.attEnter;
    s.attEnterDown = !s.attEnterDown;
    s.zoomCenter2 = !s.zoomCenter2;
    app::saveSettings(file, s);
    EXPECT_TRUE(app::loadSettings(file, 0, 0) == s);

    // A second close rewrites the same keys in place.
    const std::string once = readBytes(folder / "KelvoEdit.ini");
    app::saveSettings(file, s);
    EXPECT_EQ(readBytes(folder / "KelvoEdit.ini"), once);
}

TEST_F(KelvoSettingsTest, UnreadableValuesFallBackToTheirDefaults)
{
    writeBytes(folder / "KelvoEdit.ini", "[KelvoEdit]\r\nSentou=0x1\r\nSort=yes\r\nLeft=abc\r\nZoomCenter2=-1\r\n");
    const KelvoSettings s = app::loadSettings(file, 11, 22);
    EXPECT_TRUE(s.sentou);
    EXPECT_TRUE(s.sort);
    EXPECT_EQ(s.left, 11);
    EXPECT_EQ(s.top, 22);
    EXPECT_TRUE(s.zoomCenter2);
}

}  // namespace
