// The main window's files beside an executable whose folder has blanks, quotes, shell
// syntax and Japanese in its name.
#include "app/AppPaths.h"
#include "app/ProfileFile.h"
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>

using testing_support::readBytes;
using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using testing_support::writeBytes;

namespace {

namespace fs = std::filesystem;

TEST(UnusualFolder, SettingsAndListsRoundTripAndTheEditorGetsTheListsPath)
{
    const std::u8string folders[] = {
        u8"Program Files/Kelvo Edit",
        u8"ケルボ 'エディット'/設定",
#ifdef _WIN32
        u8"it's 'q'/$(touch injected);x `id` & y",  // Windows allows no double quote in a name
#else
        u8"it's \"q\"/$(touch injected);x `id` & y",
#endif
    };
    for (const auto& name : folders) {
        QTemporaryDir base;
        ASSERT_TRUE(base.isValid());
        const fs::path folder = fs::path(base.path().toStdU16String()) / fs::path(name);
        SCOPED_TRACE(folder.string());
        fs::create_directories(folder);
        const fs::path executable = folder / "kelvoedit";
        const fs::path tagList = app::listPathFor(executable, app::kTagListName);
        writeBytes(tagList, "B:\x8b@\x8a\xed\r\nA:\x96\xbc\x91\x4f\r\n");

        RecordingMessages messages;
        RecordingLauncher launcher;
        {
            app::TKelvoMainForm form(executable, messages, launcher);
            auto* checkBox = form.findChild<QCheckBox*>(QStringLiteral("CheckBox3"));
            ASSERT_NE(checkBox, nullptr);
            checkBox->setChecked(!checkBox->isChecked());
            form.findChild<QAction*>(QStringLiteral("N39"))->trigger();
            EXPECT_EQ(launcher.opened, std::vector<fs::path>{tagList});
            EXPECT_TRUE(form.close());
        }
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(fs::exists(app::settingsPathFor(executable)));
        EXPECT_EQ(app::ProfileFile(app::settingsPathFor(executable)).readString(u"KelvoEdit", u"AttTag", u""),
                  u"A:名前");
        EXPECT_EQ(readBytes(tagList), "A:\x96\xbc\x91\x4f\r\nB:\x8b@\x8a\xed\r\n");
        EXPECT_TRUE(fs::exists(app::listPathFor(executable, app::kTagGroupListName)));

        app::TKelvoMainForm again(executable, messages, launcher);
        EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->isChecked());
        EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(), QStringLiteral("A:名前"));
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_FALSE(fs::exists(fs::path(base.path().toStdU16String()) / "injected"));
    }
}

}  // namespace
