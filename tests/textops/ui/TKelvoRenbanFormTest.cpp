#include "textops/ui/TKelvoRenbanForm.h"
#include "textops/ui/TextToolsFixture.h"

#include <QLabel>
#include <QPushButton>

namespace {

using Kind = ::ui::UserMessages::Kind;
using textops::ui::TKelvoRenbanForm;
using textops_ui_testing::TextToolsFixture;
using textops_ui_testing::type;

class TKelvoRenbanFormTest : public TextToolsFixture {
protected:
    TKelvoRenbanForm& renban() { return dialog<TKelvoRenbanForm>("TKelvoRenbanForm"); }
    template <class T>
    T& control(const char* name)
    {
        return child<T>(renban(), name);
    }
    QString preview() { return control<QLabel>("StaticText1").text(); }

    struct Fields {
        const char* radixButton = "SpeedButton1";
        QString prefix;
        QString start = "00";
        QString suffix;
        QString step = "1";
        QString count = "16";
    };
    // The radix is chosen last, so a start typed for one case is never read in the radix
    // of the case before.
    void fill(const Fields& f)
    {
        type(control<QLineEdit>("Edit1"), f.prefix);
        type(control<QLineEdit>("Edit2"), f.start);
        type(control<QLineEdit>("Edit3"), f.suffix);
        type(control<QLineEdit>("Edit5"), f.step);
        type(control<QLineEdit>("Edit4"), f.count);
        control<QPushButton>(f.radixButton).click();
    }
    // Runs N17, fills the dialog and presses the button; the dialog must close then.
    void number(const Fields& f, const char* button)
    {
        trigger("N17", &renban(), [=, this] {
            fill(f);
            control<QPushButton>(button).click();
            if (renban().isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                renban().reject();
            }
        });
    }
};

TEST_F(TKelvoRenbanFormTest, StartsWithItsCaptionsAndThePreviewOfSixteenNumbers)
{
    EXPECT_EQ(renban().windowTitle(), QStringLiteral("連番作成"));
    struct Caption {
        const char* name;
        QString text;
    };
    const Caption labels[] = {
        {"Label5", QStringLiteral("10進")},  {"Label1", QStringLiteral("前固定")}, {"Label2", QStringLiteral("開始数")},
        {"Label3", QStringLiteral("後固定")}, {"Label6", QStringLiteral("アップ数")}, {"Label8", QStringLiteral("(10進)")},
        {"Label4", QStringLiteral("作成数")}, {"Label9", QStringLiteral("(10進)")},
        {"Label7", QStringLiteral("( 開始数なしで固定文字作成 )")},
        {"StaticText1", QStringLiteral("[ 00 ] ～ [ 15 ]")},
    };
    for (const Caption& c : labels) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control<QLabel>(c.name).text(), c.text);
    }
    const Caption buttons[] = {
        {"SpeedButton1", QStringLiteral("10 進")}, {"SpeedButton2", QStringLiteral("16 進")},
        {"SpeedButton3", QStringLiteral("8 進")},  {"Button3", QStringLiteral("挿入")},
        {"Button1", QStringLiteral("追加")},       {"Button2", QStringLiteral("取り消し")},
    };
    for (const Caption& c : buttons) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control<QPushButton>(c.name).text(), c.text);
    }
    EXPECT_TRUE(control<QPushButton>("SpeedButton1").isChecked());
    const Caption edits[] = {{"Edit1", ""}, {"Edit2", "00"}, {"Edit3", ""}, {"Edit5", "1"}, {"Edit4", "16"}};
    for (const Caption& c : edits) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control<QLineEdit>(c.name).text(), c.text);
        EXPECT_TRUE(control<QLineEdit>(c.name).font().bold());
    }
}

TEST_F(TKelvoRenbanFormTest, PreviewFollowsEveryChange)
{
    struct Case {
        const char* name;
        Fields fields;
        QString preview;
        QString label5;
        bool stepEnabled;
    };
    const Case cases[] = {
        {"decimal", {"SpeedButton1", "w-", "01", "", "1", "16"}, QStringLiteral("[ W-01 ] ～ [ W-16 ]"), "10進", true},
        {"step", {"SpeedButton1", "", "8", "", "2", "3"}, QStringLiteral("[ 8 ] ～ [ 12 ]"), "10進", true},
        {"not a number", {"SpeedButton1", "", "AB", "", "1", "3"}, QStringLiteral("[ AB ] ～ [ 02 ]"), "10進", true},
        {"hexadecimal", {"SpeedButton2", "", "0e", "", "1", "3"}, QStringLiteral("[ 0E ] ～ [ 10 ]"), "16進", true},
        {"octal", {"SpeedButton3", "", "06", "", "1", "3"}, QStringLiteral("[ 06 ] ～ [ 10 ]"), " 8進", true},
        {"fixed text", {"SpeedButton3", "A", "", "B", "1", "5"}, QStringLiteral("[ AB ] x 5"), " 8進", false},
        {"full width stays", {"SpeedButton1", QStringLiteral("ａb"), "1", "", "1", "2"},
         QStringLiteral("[ ａB1 ] ～ [ ａB2 ]"), "10進", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(c.fields);
        EXPECT_EQ(preview(), c.preview);
        EXPECT_EQ(control<QLabel>("Label5").text(), c.label5);
        EXPECT_EQ(control<QLineEdit>("Edit5").isEnabled(), c.stepEnabled);
        EXPECT_EQ(control<QLabel>("Label6").isEnabled(), c.stepEnabled);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TKelvoRenbanFormTest, CountTakesDigitsOnly)
{
    struct Case {
        QString typed;
        QString kept;
    };
    for (const Case& c : {Case{"1a", "16"}, Case{"-3", "16"}, Case{"25", "25"}}) {
        SCOPED_TRACE(c.typed.toStdString());
        type(control<QLineEdit>("Edit4"), "16");
        type(control<QLineEdit>("Edit4"), c.typed);
        EXPECT_EQ(control<QLineEdit>("Edit4").text(), c.kept);
    }
}

TEST_F(TKelvoRenbanFormTest, InsertPutsTheRunAboveTheSelectionStartAndAppendAfterTheLastLine)
{
    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("line %1").arg(i);
    struct Case {
        const char* button;
        QStringList after;
    };
    QStringList inserted = ten;
    inserted.insert(4, "W-03");
    inserted.insert(4, "W-02");
    inserted.insert(4, "W-01");
    const Case cases[] = {{"Button3", inserted}, {"Button1", ten + QStringList{"W-01", "W-02", "W-03"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        setLines(ten);
        select(4, 2, 6, 1);
        number({"SpeedButton1", "w-", "01", "", "1", "3"}, c.button);
        EXPECT_EQ(lines(), c.after);
        expectOneUndo(ten.join(u'\n'));
    }
}

TEST_F(TKelvoRenbanFormTest, RunsIntoTheEditor)
{
    struct Case {
        const char* name;
        Fields fields;
        QStringList run;
    };
    const Case cases[] = {
        {"widths kept", {"SpeedButton1", "", "000", "", "1", "12"},
         {"000", "001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011"}},
        {"grows past the width", {"SpeedButton1", "", "098", "", "1", "3"}, {"098", "099", "100"}},
        {"step", {"SpeedButton1", "", "8", "", "2", "3"}, {"8", "10", "12"}},
        {"not a number starts at 1", {"SpeedButton1", "", "AB", "", "1", "2"}, {"01", "02"}},
        {"hexadecimal", {"SpeedButton2", "", "0e", "", "1", "3"}, {"0E", "0F", "10"}},
        {"octal", {"SpeedButton3", "", "06", "", "1", "3"}, {"06", "07", "10"}},
        {"fixed text", {"SpeedButton1", "ab", "", "-x", "1", "2"}, {"AB-X", "AB-X"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor().clear();
        number(c.fields, "Button1");
        EXPECT_EQ(lines(), c.run);
    }
}

TEST_F(TKelvoRenbanFormTest, ASuffixEndingInABlankKeepsItInTheEditor)
{
    const auto programLines = [this] {
        QStringList all;
        for (int i = 0; i < editor().lineCount(); ++i)
            all << editor().lineText(i);
        return all;
    };
    struct Case {
        const char* button;
        QStringList after;
    };
    const Case cases[] = {
        {"Button3", {"a", "W1 ", "W2 ", "b"}},
        {"Button1", {"a", "b", "W1 ", "W2 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        setLines({"a", "b"});
        // The user types two blanks after b: those are trimmed, as ever.
        QTextCursor typing(editor().document()->findBlockByNumber(1));
        typing.movePosition(QTextCursor::EndOfBlock);
        typing.insertText(QStringLiteral("  "));
        select(1, 0, 1, 0);
        number({"SpeedButton1", "w", "1", " ", "1", "2"}, c.button);
        EXPECT_EQ(programLines(), c.after);
        // The caret walks over every line; only the user's blanks go.
        for (int line = 0; line < editor().lineCount(); ++line)
            select(line, 0, line, 0);
        select(0, 0, 0, 0);
        EXPECT_EQ(programLines(), c.after);
        EXPECT_EQ(editor().toPlainText().count(u' '), 2) << editor().toPlainText().toStdString();
    }
}

TEST_F(TKelvoRenbanFormTest, PreviewRefusesWhatTheEditorRefusesButNotTheGrid)
{
    const QString refusal = QStringLiteral("作成数 2000000 は多すぎます。一度に作成できるのは 1000000 行までです。");
    QString forEditor, forGrid;
    trigger("N17", &renban(), [&, this] {
        fill({"SpeedButton1", "W", "1", "", "1", "2000000"});
        forEditor = preview();
        renban().reject();
    });
    trigger("N31", &renban(), [&, this] {
        forGrid = preview();
        renban().reject();
    });
    EXPECT_EQ(forEditor, refusal);
    EXPECT_EQ(forGrid, QStringLiteral("[ W1 ] ～ [ W2000000 ]")) << "the grid takes what its rows hold";
    EXPECT_EQ(preview(), refusal) << "back to the editor when the grid's dialog closes";
}

TEST_F(TKelvoRenbanFormTest, ZeroCountAddsNothingAndCloses)
{
    setLines({"a"});
    number({"SpeedButton1", "", "1", "", "1", "0"}, "Button1");
    EXPECT_EQ(lines(), QStringList({"a"}));
    EXPECT_FALSE(editor().document()->isUndoAvailable());
}

TEST_F(TKelvoRenbanFormTest, UnreadableOrTooLongRunIsReportedAndTheDialogStaysOpen)
{
    struct Case {
        const char* name;
        Fields fields;
        QString message;
        bool reportedWhileTyping;
    };
    const Case cases[] = {
        // The preview reports the octal digit as soon as it is read, and the generation once more.
        {"octal 9", {"SpeedButton3", "", "19", "", "1", "3"}, "'9' is not a valid integer value", true},
        {"count", {"SpeedButton1", "", "1", "", "1", "99999999999"},
         QStringLiteral("作成数 99999999999 は多すぎます。一度に作成できるのは 1000000 行までです。"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setLines({"a"});
        messages_.shown.clear();
        bool stayedOpen = false;
        size_t whileTyping = 0;
        trigger("N17", &renban(), [&, this] {
            fill(c.fields);
            whileTyping = messages_.shown.size();
            control<QPushButton>("Button1").click();
            stayedOpen = renban().isVisible();
            renban().reject();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(whileTyping > 0, c.reportedWhileTyping);
        ASSERT_GT(messages_.shown.size(), whileTyping);
        EXPECT_EQ(messages_.shown.back().kind, Kind::Error);
        EXPECT_TRUE(messages_.shown.back().text.contains(c.message)) << messages_.shown.back().text.toStdString();
        expectUntouched({"a"});
        // Back to a start the next case can type over.
        type(control<QLineEdit>("Edit2"), "00");
    }
}

}  // namespace
