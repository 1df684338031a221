#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/ProfileFile.h"
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "cadlink/TargetProgID.h"
#include "cadlink/ui/TTargetCADForm.h"
#include "grid/ui/KelvoStringGrid.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <optional>

using testing_support::pathText;
using testing_support::readBytes;
using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using testing_support::writeBytes;
using Kind = ui::UserMessages::Kind;

namespace {

class MainFormTest : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return std::filesystem::path(dir_.path().toStdU16String()); }
    std::filesystem::path executable() const { return folder() / "kelvoedit"; }
    std::filesystem::path settingsPath() const { return app::settingsPathFor(executable()); }
    std::filesystem::path tagListPath() const { return app::listPathFor(executable(), app::kTagListName); }
    std::filesystem::path tagGroupListPath() const { return app::listPathFor(executable(), app::kTagGroupListName); }
    std::filesystem::path cadListPath() const { return app::listPathFor(executable(), app::kTargetCadListName); }

    app::TKelvoMainForm& createForm()
    {
        form_ = std::make_unique<app::TKelvoMainForm>(executable(), messages_, launcher_);
        return *form_;
    }

    // The main window's own control: dialogs owned by the window have controls of the same
    // names (Edit3 of the numbering dialog, for one).
    template <class T>
    T* control(const char* name)
    {
        T* found = nullptr;
        for (T* candidate : form_->findChildren<T*>(QString::fromLatin1(name))) {
            bool inDialog = false;
            for (QObject* o = candidate->parent(); o && !inDialog; o = o->parent())
                inDialog = qobject_cast<QDialog*>(o) != nullptr;
            if (inDialog)
                continue;
            found = candidate;
            break;
        }
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir dir_;
    RecordingMessages messages_;
    RecordingLauncher launcher_;
    std::unique_ptr<app::TKelvoMainForm> form_;
};

struct ControlCase {
    const char* name;
    QString caption;
    bool enabled;
    std::optional<bool> checked;  // check boxes, with no settings file
};

TEST_F(MainFormTest, ControlsHaveTheirCaptionsAndInitialStates)
{
    createForm();
    const ControlCase cases[] = {
        {"SpeedButton1", "TEXT", true, {}},
        {"SpeedButton2", "更新(Ctrl+Enter)", false, {}},
        {"SpeedButton6", "整列", false, {}},
        {"SpeedButton8", "ATTR", true, {}},
        {"SpeedButton7", "CAD", true, {}},
        {"CheckBox1", "座標順取得", true, true},
        {"SpeedButton3", "すべて選択", true, {}},
        {"SpeedButton5", "中止", false, {}},
        {"SpeedButton4", "Undo", false, {}},
        {"CheckBox9", "PAN (Zoom Center)", true, false},
        {"SpeedButton10", "取得", true, {}},
        {"SpeedButton12", "中止", false, {}},
        {"SpeedButton11", "更新", false, {}},
        {"SpeedButton13", "UNDO", true, {}},
        {"CheckBox2", "Enter=[ ↓ ]", true, true},
        {"CheckBox7", "Enter = 更新", true, true},
        // Checked on the form, unchecked by the settings default.
        {"CheckBox6", "PAN (Zoom Center)", true, false},
        {"SpeedButton16", "取得順", true, {}},
        {"SpeedButton17", "文字順", true, {}},
        {"SpeedButton18", "数字順", true, {}},
        {"SpeedButton14", "検索", true, {}},
        {"SpeedButton15", "更新", false, {}},
        {"CheckBox3", "先頭一致", true, false},
        {"CheckBox4", "a->A", true, true},
        {"CheckBox8", "Enter=[↓]", true, true},
        {"CheckBox5", "Enter=更新", true, true},
        {"SpeedButton19", "選択範囲を置換", true, {}},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* button = control<QAbstractButton>(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_EQ(button->isEnabled(), c.enabled);
        EXPECT_EQ(qobject_cast<QCheckBox*>(button) != nullptr, c.checked.has_value());
        if (c.checked) {
            EXPECT_EQ(button->isChecked(), *c.checked);
        }
    }

    const std::pair<const char*, QString> labels[] = {
        {"Label3", "dX :"}, {"Label4", "dY :"}, {"Label1", ""}, {"Label2", ""}, {"Label5", ""}, {"Label6", ""},
        {"Label9", "※固定セルのクリックですべて選択"}, {"Label7", "検索 (部分一致)"}, {"Label8", "Enter=検索"},
    };
    for (const auto& [name, text] : labels) {
        SCOPED_TRACE(name);
        auto* label = control<QLabel>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), text);
    }

    for (const char* name : {"Edit1", "Edit2"}) {
        SCOPED_TRACE(name);
        auto* edit = control<QLineEdit>(name);
        EXPECT_TRUE(edit->text().isEmpty());
        EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
        EXPECT_FALSE(edit->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_EQ(control<QLineEdit>("Edit3")->toolTip(), QStringLiteral("[Enter]で検索（ワイルドカード * ? が使えます)"));

    auto* combo1 = control<QComboBox>("ComboBox1");
    auto* combo2 = control<QComboBox>("ComboBox2");
    EXPECT_TRUE(combo1->isEditable());
    EXPECT_FALSE(combo2->isEditable());
    EXPECT_EQ(combo1->maxVisibleItems(), 16);
    EXPECT_EQ(combo2->maxVisibleItems(), 16);

    auto* pages = control<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->currentIndex(), 0);
    const std::pair<const char*, QString> tabs[] = {
        {"TabSheet1", "TEXT, 属性編集"}, {"TabSheet2", " 属性編集"}, {"TEST", "TEXT 検索・編集"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), QString::fromLatin1(tabs[i].first));
        EXPECT_EQ(pages->tabText(i), tabs[i].second);
    }

    auto* grid1 = control<grid::KelvoStringGrid>("StringGrid1");
    EXPECT_EQ(grid1->fixedCols(), 1);
    EXPECT_EQ(grid1->gridColWidth(0), 30);
    EXPECT_EQ(grid1->verticalHeader()->defaultSectionSize(), 20);
    EXPECT_EQ(control<QTableWidget>("StringGrid2")->columnCount(), 1);
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->height(), 8);
    EXPECT_TRUE(control<QPlainTextEdit>("SynEdit1")->toPlainText().isEmpty());
    EXPECT_EQ(control<QPlainTextEdit>("SynEdit1")->height(), 154);
}

TEST_F(MainFormTest, WindowIsAnAlwaysOnTopToolWindowWithFontsAndStatusPanels)
{
    app::TKelvoMainForm& form = createForm();
    EXPECT_EQ(form.objectName(), QStringLiteral("TKelvoMainForm"));
    form.show();
    QApplication::processEvents();
    // The pages' minimum sizes must fit the client area, or showing the window grows it.
    EXPECT_EQ(form.size(), QSize(328, 320));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(form.font().pixelSize(), 12);
    const QFont editorFont = control<QPlainTextEdit>("SynEdit1")->font();
    EXPECT_EQ(editorFont.pixelSize(), 15);
    // Whatever family the system falls back to, the columns of half-width text must line up.
    const QFontMetrics metrics(editorFont);
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')))
        << QFontInfo(editorFont).family().toStdString();
    EXPECT_EQ(control<QLineEdit>("Edit3")->font().pixelSize(), 13);
    EXPECT_EQ(control<QLabel>("Label8")->font().pixelSize(), 11);

    EXPECT_EQ(control<QLabel>("StatusPanel0")->width(), 150);
    EXPECT_EQ(control<QLabel>("StatusPanel1")->width(), 100);

    auto* timer = control<QTimer>("Timer1");
    EXPECT_EQ(timer->interval(), 200);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainFormTest, PopupMenusHoldEveryItemInOrder)
{
    createForm();
    const auto itemsOf = [](const QMenu* menu) {
        std::vector<std::pair<QString, QString>> items;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                items.emplace_back(action->objectName(), action->text());
        }
        return items;
    };
    using Items = std::vector<std::pair<QString, QString>>;
    const Items popup1 = {
        {"N20", "クリア"},
        {"N10", "カット"},
        {"N11", "コピー"},
        {"N12", "ペースト"},
        {"N1", "すべて全角に"},
        {"N2", "選択範囲を全角に"},
        {"N4", "すべて半角に"},
        {"N5", "選択範囲を半角に"},
        {"N28", "すべての半角 ( ) を全角に "},
        {"N21", "その他のすべてを変換"},
        {"N7", "すべて置換"},
        {"N8", "選択範囲を置換"},
        {"N14", "すべて加算"},
        {"N15", "選択範囲を加算"},
        {"N17", "連番作成"},
        {"N39", "■ タグリストを編集（メモ帳を起動）"},
        {"N40", "■ タグリストを再読み込み"},
        {"N25", "バージョン情報"},
        {"N19", "取り消し"},
    };
    const Items submenu = {
        {"N23", "半角カタカナを全角に"},
        {"N24", "全角カタカナを半角に"},
        {"N091", "半角数字(0..9)を全角に"},
        {"N092", "全角数字(0..9)を半角に"},
        {"N094", "半角数値(0..9+-.,)を全角に"},
        {"N093", "全角数値(0..9+-.,)を半角に"},
        {"AZ1", "半角アルファベット(A..Z)を全角に"},
        {"AZ2", "全角アルファベット(A..Z)を半角に"},
        {"N27", "半角記号を全角に"},
        {"N26", "全角記号を半角に"},
    };
    const Items popup2 = {
        {"AG1", "■TAG リスト編集(メモ帳起動)"},
        {"AG2", "■TAG リストを再読み込み"},
        {"N32", "選択範囲のスペース以外を全角に"},
        {"N33", "選択範囲を半角に"},
        {"N35", "選択範囲を置換"},
        {"N36", "選択範囲の半角数字を加算"},
        {"N42", "選択範囲を加算"},
        {"N31", "連番作成"},
    };
    const Items popup3 = {{"N47", "すべて選択"}, {"N44", "選択範囲を置換"}, {"N46", "取り消し"}};

    EXPECT_EQ(itemsOf(control<QMenu>("PopupMenu1")), popup1);
    EXPECT_EQ(itemsOf(control<QMenu>("N21")), submenu);
    EXPECT_EQ(itemsOf(control<QMenu>("PopupMenu2")), popup2);
    EXPECT_EQ(itemsOf(control<QMenu>("PopupMenu3")), popup3);
    for (const QAction* action : form_->findChildren<QAction*>())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(MainFormTest, WithoutSettingsTheWindowIsCentredWithDefaults)
{
    cadlink::TargetProgID = u"Left.Over";
    app::TKelvoMainForm& form = createForm();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.pos(), QPoint((screen.width() - form.frameGeometry().width()) / 2,
                                 (screen.height() - form.frameGeometry().height()) / 2));
    EXPECT_EQ(cadlink::TargetProgID, u"BricscadApp.AcadApplication");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("KelvoEdit"));
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), QStringLiteral("JCMNT1:コメント１"));
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentText(), QStringLiteral("I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2"));
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MainFormTest, SettingsRoundTripThroughClose)
{
    {
        app::TKelvoMainForm& form = createForm();
        form.move(-4000, 2500);  // Off every screen: restored as it is.
        cadlink::TargetProgID = u"Other.Application";
        for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6",
                                 "CheckBox7", "CheckBox8", "CheckBox9"})
            control<QCheckBox>(name)->toggle();
        control<QComboBox>("ComboBox1")->setCurrentIndex(3);
        control<QComboBox>("ComboBox2")->setCurrentIndex(2);
        form.show();
        EXPECT_TRUE(form.close());
        EXPECT_TRUE(messages_.shown.empty());
    }

    const app::ProfileFile profile(settingsPath());
    EXPECT_EQ(profile.readString(u"Target", u"ProgID", u""), u"Other.Application");
    EXPECT_EQ(profile.readString(u"KelvoEdit", u"AttTag", u""), u"NAME:機器名");
    EXPECT_EQ(profile.readString(u"KelvoEdit", u"Left", u""), u"-4000");

    cadlink::TargetProgID.clear();
    app::TKelvoMainForm& form = createForm();
    EXPECT_EQ(form.pos(), QPoint(-4000, 2500));
    EXPECT_EQ(cadlink::TargetProgID, u"Other.Application");
    const std::pair<const char*, bool> expected[] = {
        {"CheckBox1", false}, {"CheckBox2", false}, {"CheckBox3", true}, {"CheckBox4", false}, {"CheckBox5", false},
        {"CheckBox6", true},  {"CheckBox7", false}, {"CheckBox8", false}, {"CheckBox9", true},
    };
    for (const auto& [name, checked] : expected)
        EXPECT_EQ(control<QCheckBox>(name)->isChecked(), checked) << name;
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentIndex(), 3);
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentIndex(), 2);
}

TEST_F(MainFormTest, UnreadableSettingValuesFallBackToDefaults)
{
    writeBytes(settingsPath(), "[KelvoEdit]\r\nLeft=abc\r\nTop=0x20\r\nSort=yes\r\nSentou=0x1\r\nUpperCase=0\r\n");
    app::TKelvoMainForm& form = createForm();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.pos(), QPoint((screen.width() - form.frameGeometry().width()) / 2, 32));
    EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CheckBox4")->isChecked());
}

TEST_F(MainFormTest, Edit3TurnsTypedLettersToUpperCaseOnlyWhenCheckBox4IsChecked)
{
    for (const bool upper : {true, false}) {
        SCOPED_TRACE(upper);
        writeBytes(settingsPath(), std::string("[KelvoEdit]\r\nUpperCase=") + (upper ? "1" : "0") + "\r\n");
        createForm();
        auto* edit = control<QLineEdit>("Edit3");
        edit->setFocus();
        QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        QApplication::sendEvent(edit, &a);
        QApplication::sendEvent(edit, &b);
        EXPECT_EQ(edit->text(), upper ? QStringLiteral("AB") : QStringLiteral("ab"));
    }
}

// The check box switches the upper-case input at once, not only at start.
TEST_F(MainFormTest, ClickingCheckBox4SwitchesEdit3sUpperCase)
{
    createForm();
    auto* edit = control<QLineEdit>("Edit3");
    auto* box = control<QCheckBox>("CheckBox4");
    ASSERT_TRUE(box->isChecked());
    const auto type = [edit](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    };
    type(Qt::Key_A, QStringLiteral("a"));
    box->click();
    type(Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(edit->text(), QStringLiteral("Ab"));
    box->click();
    type(Qt::Key_C, QStringLiteral("c"));
    EXPECT_EQ(edit->text(), QStringLiteral("ABC")) << "upper case again takes in the whole text";
}

struct TagListCase {
    const char* title;
    std::optional<std::string> file;  // nullopt: no file
    int remembered;
    QStringList items;
    int selected;
};

TEST_F(MainFormTest, TagListsAreLoadedSortedWithTheRememberedPosition)
{
    // Ordinal after upper-casing: '1' sorts before ':'.
    const QStringList builtIn = {"JCMNT1:コメント１", "JCMNT2:コメント２", "NAME1:機器名１", "NAME:機器名", "SENBAN:線番"};
    const TagListCase cases[] = {
        {"built-in items", std::nullopt, 2, builtIn, 2},
        {"sorted ignoring case", "b\r\nA\r\nc\r\n", 2, {"A", "b", "c"}, 2},
        {"position beyond the list", "b\r\nA\r\nc\r\n", 4, {"A", "b", "c"}, 0},
        {"position at the end", "b\r\nA\r\nc\r\n", 3, {"A", "b", "c"}, 0},
        {"no selection remembered", "b\r\nA\r\n", -1, {"A", "b"}, -1},
        {"blank lines are items at start", "x\r\n\r\ny\r\n", 0, {"", "x", "y"}, 0},
        {"empty file", "", 0, {}, -1},
    };
    for (const TagListCase& c : cases) {
        SCOPED_TRACE(c.title);
        std::filesystem::remove(tagListPath());
        if (c.file)
            writeBytes(tagListPath(), *c.file);
        writeBytes(settingsPath(), "[KelvoEdit]\r\nAttTagIndex1=" + std::to_string(c.remembered) + "\r\n");
        createForm();
        auto* combo = control<QComboBox>("ComboBox1");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(combo->currentIndex(), c.selected);
    }
}

TEST_F(MainFormTest, CloseWritesBothTagListsEveryTimeInTheEncodingRead)
{
    struct Case {
        const char* title;
        std::string bytes;
    };
    const Case cases[] = {
        {"ANSI code page", "A:\x83" "e\x83" "X\x83g\r\nb:\x8b@\x8a\xed\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBF" "A:\xE3\x83\x86\r\nb\r\n"},
        {"UTF-16 LE", std::string("\xFF\xFE" "A\0\r\0\n\0b\0\r\0\n\0", 14)},
        {"UTF-16 BE", std::string("\xFE\xFF\0A\0\r\0\n\0b\0\r\0\n", 14)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        writeBytes(tagListPath(), c.bytes);
        writeBytes(tagGroupListPath(), c.bytes);
        createForm().close();
        EXPECT_EQ(readBytes(tagListPath()), c.bytes);
        EXPECT_EQ(readBytes(tagGroupListPath()), c.bytes);
    }
}

TEST_F(MainFormTest, CloseWithoutListFilesWritesTheBuiltInItems)
{
    createForm().close();
    EXPECT_EQ(readBytes(tagListPath()),
              "JCMNT1:\x83R\x83\x81\x83\x93\x83g\x82P\r\nJCMNT2:\x83R\x83\x81\x83\x93\x83g\x82Q\r\n"
              "NAME1:\x8b@\x8a\xed\x96\xbc\x82P\r\nNAME:\x8b@\x8a\xed\x96\xbc\r\nSENBAN:\x90\xfc\x94\xd4\r\n");
    EXPECT_TRUE(std::filesystem::exists(tagGroupListPath()));
    EXPECT_FALSE(std::filesystem::exists(cadListPath()));
}

TEST_F(MainFormTest, CloseKeepsATagListEditedInTheTextEditorSinceItWasRead)
{
    writeBytes(tagListPath(), "b\r\na\r\n");
    writeBytes(tagGroupListPath(), "g\r\n");
    app::TKelvoMainForm& form = createForm();
    control<QAction>("N39")->trigger();
    writeBytes(tagListPath(), "b\r\na\r\nc\r\n");  // saved in the text editor, never reloaded
    form.close();
    EXPECT_EQ(readBytes(tagListPath()), "b\r\na\r\nc\r\n");
    EXPECT_EQ(readBytes(tagGroupListPath()), "g\r\n");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MainFormTest, ATagListThatCannotBeReadAtStartLeavesTheOtherLoadedAndNeitherOverwritten)
{
    std::filesystem::create_directory(tagListPath());
    writeBytes(tagGroupListPath(), "g\r\n");
    app::TKelvoMainForm& form = createForm();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_TRUE(messages_.shown[0].text.contains(pathText(tagListPath())));
    auto* groups = control<QComboBox>("ComboBox2");
    ASSERT_EQ(groups->count(), 1);
    EXPECT_EQ(groups->itemText(0), QStringLiteral("g"));

    // The folder goes away before the close: the built-in items shown still do not replace
    // a list the user may have had there.
    std::filesystem::remove(tagListPath());
    form.close();
    EXPECT_FALSE(std::filesystem::exists(tagListPath()));
    EXPECT_EQ(readBytes(tagGroupListPath()), "g\r\n");
}

TEST_F(MainFormTest, CaptionNamesTheTargetFromTheCadList)
{
    struct Case {
        const char* title;
        std::string list;
        QString caption;
    };
    const QString title = app::applicationTitle();
    const Case cases[] = {
        {"first line containing TAB + ProgID",
         "BricsCAD V23\tBricscadApp.AcadApplication.23\r\nBricsCAD\tBricscadApp.AcadApplication\r\n",
         title + " [ BricsCAD V23 ]"},
        {"exact line", "nano\tnanoCAD.Application\r\nBricsCAD\tBricscadApp.AcadApplication\r\n",
         title + " [ BricsCAD ]"},
        {"no line for the ProgID", "nano\tnanoCAD.Application\r\n", "KelvoEdit"},
        {"match is case-sensitive", "Brics\tbricscadapp.acadapplication\r\n", "KelvoEdit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        writeBytes(cadListPath(), c.list);
        EXPECT_EQ(createForm().windowTitle(), c.caption);
    }
}

TEST_F(MainFormTest, ChangingPagesEmptiesTheStatusPanels)
{
    app::TKelvoMainForm& form = createForm();
    auto* pages = control<QTabWidget>("PageControl1");
    for (const int page : {1, 2, 0}) {
        SCOPED_TRACE(page);
        form.setStatusPanelText(0, QStringLiteral("3 行"));
        form.setStatusPanelText(1, QStringLiteral("1 : 1"));
        pages->setCurrentIndex(page);
        EXPECT_TRUE(form.statusPanelText(0).isEmpty());
        EXPECT_TRUE(form.statusPanelText(1).isEmpty());
    }
}

TEST_F(MainFormTest, SearchColumnFollowsTheGridWidth)
{
    app::TKelvoMainForm& form = createForm();
    form.show();
    auto* grid = control<QTableWidget>("StringGrid2");
    control<QTabWidget>("PageControl1")->setCurrentIndex(2);
    for (const QSize size : {QSize(328, 320), QSize(500, 400), QSize(360, 300)}) {
        SCOPED_TRACE(size.width());
        form.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width());
    }
}

TEST_F(MainFormTest, FailedWritesAtCloseAreReportedOnceAndTheWindowStillCloses)
{
    app::TKelvoMainForm& form = createForm();
    form.show();
    // A folder in the place of each file makes every write fail, whoever runs the test.
    for (const auto& path : {settingsPath(), tagListPath(), tagGroupListPath()})
        std::filesystem::create_directory(path);
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].kind, Kind::Error);
    for (const auto& path : {settingsPath(), tagListPath(), tagGroupListPath()})
        EXPECT_TRUE(messages_.shown[0].text.contains(pathText(path))) << messages_.shown[0].text.toStdString();
}

TEST_F(MainFormTest, AboutBoxNamesProgramAndVersion)
{
    createForm();
    control<QAction>("N25")->trigger();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].kind, Kind::Information);
    EXPECT_TRUE(messages_.shown[0].text.contains(app::applicationName()));
    EXPECT_TRUE(messages_.shown[0].text.contains(app::applicationVersion()));
    EXPECT_TRUE(messages_.shown[0].text.contains(app::applicationReleaseDate()));
}

TEST_F(MainFormTest, TagListMenuItemsActOnTheirOwnListAndCombo)
{
    struct Case {
        const char* launch;
        const char* reload;
        std::filesystem::path file;
        const char* combo;
    };
    const Case cases[] = {{"N39", "N40", tagListPath(), "ComboBox1"}, {"AG1", "AG2", tagGroupListPath(), "ComboBox2"}};
    createForm();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.launch);
        launcher_.opened.clear();
        writeBytes(c.file, "z\r\ny\r\n");
        control<QAction>(c.launch)->trigger();
        EXPECT_EQ(launcher_.opened, std::vector<std::filesystem::path>{c.file});
        control<QAction>(c.reload)->trigger();
        EXPECT_EQ(control<QComboBox>(c.combo)->itemText(0), QStringLiteral("y"));
        EXPECT_EQ(control<QComboBox>(c.combo)->count(), 2);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(MainFormTest, TargetCadDialogRunsWithTheTopmostHandOverAndSetsTheCaption)
{
    app::TKelvoMainForm& form = createForm();
    cadlink::TTargetCADForm dialog(cadListPath(), messages_, &form);
    form.setTargetCadForm(&dialog);
    form.show();
    form.move(40, 50);
    const QRect before = form.geometry();

    bool mainTopmostDuring = true;
    bool dialogTopmostDuring = false;
    QTimer::singleShot(0, &dialog, [&] {
        mainTopmostDuring = form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        dialogTopmostDuring = dialog.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        dialog.findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("My CAD"));
        dialog.findChild<QLineEdit*>("Edit2")->setText(QStringLiteral("My.Application"));
        dialog.findChild<QAbstractButton*>("Button1")->click();
    });
    control<QAbstractButton>("SpeedButton7")->click();

    EXPECT_FALSE(mainTopmostDuring);
    EXPECT_TRUE(dialogTopmostDuring);
    EXPECT_TRUE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(dialog.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.geometry(), before);
    EXPECT_EQ(form.windowTitle(), app::applicationTitle() + QStringLiteral(" [ My CAD ]"));
    EXPECT_EQ(cadlink::TargetProgID, u"My.Application");
    EXPECT_FALSE(std::filesystem::exists(cadListPath()));
}

// dX, dY and the target CAD dialog's boxes take numbers and ProgIDs: the input method is
// closed there. Qt's Windows input context detaches the IME where a widget does not accept
// input methods; a Latin hint alone leaves it open.
TEST_F(MainFormTest, NumberAndProgIdBoxesCloseTheInputMethod)
{
    app::TKelvoMainForm& form = createForm();
    cadlink::TTargetCADForm dialog(cadListPath(), messages_, &form);
    for (QLineEdit* edit : {control<QLineEdit>("Edit1"), control<QLineEdit>("Edit2"),
                            dialog.findChild<QLineEdit*>(QStringLiteral("Edit1")),
                            dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))}) {
        ASSERT_NE(edit, nullptr);
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    }
}

}  // namespace
