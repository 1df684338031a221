#include "app/AppPaths.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(AppPaths, FilesLieBesideTheExecutable)
{
    struct Case {
        fs::path executable, settings, tagList;
    };
    const Case cases[] = {
        {"/opt/kelvo/kelvoedit", "/opt/kelvo/kelvoedit.ini", "/opt/kelvo/KelvoEditTagList.txt"},
        {"/opt/kelvo/KelvoEdit.exe", "/opt/kelvo/KelvoEdit.ini", "/opt/kelvo/KelvoEditTagList.txt"},
        {"/opt/kelvo.d/kelvoedit", "/opt/kelvo.d/kelvoedit.ini", "/opt/kelvo.d/KelvoEditTagList.txt"},
        {"/opt/ケルボ/k.v1.exe", "/opt/ケルボ/k.v1.ini", "/opt/ケルボ/KelvoEditTagList.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable.string());
        EXPECT_EQ(app::settingsPathFor(c.executable), c.settings);
        EXPECT_EQ(app::listPathFor(c.executable, app::kTagListName), c.tagList);
    }
}

}  // namespace
