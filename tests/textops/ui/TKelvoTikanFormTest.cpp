#include "textops/ui/TKelvoTikanForm.h"
#include "textops/ui/TextToolsFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

using textops::ui::TKelvoTikanForm;
using textops_ui_testing::TextToolsFixture;
using textops_ui_testing::type;

class TKelvoTikanFormTest : public TextToolsFixture {
protected:
    TKelvoTikanForm& tikan() { return dialog<TKelvoTikanForm>("TKelvoTikanForm"); }
    QLineEdit& edit(const char* name) { return child<QLineEdit>(tikan(), name); }

    // Runs the item; the dialog's fields as shown are kept in shownSearch / shownReplacement,
    // then the user types into the fields that are given and presses 実行 (or 取り消し).
    void runReplace(const char* item, std::optional<QString> search, std::optional<QString> replacement,
                    bool run = true)
    {
        trigger(item, &tikan(), [=, this] {
            shownSearch = edit("Edit1").text();
            shownReplacement = edit("Edit2").text();
            if (search)
                type(edit("Edit1"), *search);
            if (replacement)
                type(edit("Edit2"), *replacement);
            child<QPushButton>(tikan(), run ? "Button1" : "Button2").click();
        });
    }

    QString shownSearch;
    QString shownReplacement;
};

TEST_F(TKelvoTikanFormTest, StartsWithItsCaptionsAndEmptyFields)
{
    EXPECT_EQ(tikan().windowTitle(), QStringLiteral("文字列置換"));
    EXPECT_TRUE(child<QCheckBox>(tikan(), "CheckBox1").isChecked());
    EXPECT_EQ(child<QCheckBox>(tikan(), "CheckBox1").text(), QStringLiteral("大文字/小文字を無視"));
    EXPECT_EQ(child<QLabel>(tikan(), "Label1").text(), QStringLiteral("検索文字列"));
    EXPECT_EQ(child<QLabel>(tikan(), "Label2").text(), QStringLiteral("置換文字列"));
    EXPECT_EQ(child<QPushButton>(tikan(), "Button1").text(), QStringLiteral("実行"));
    EXPECT_EQ(child<QPushButton>(tikan(), "Button2").text(), QStringLiteral("取り消し"));
    EXPECT_TRUE(edit("Edit1").text().isEmpty());
    EXPECT_TRUE(edit("Edit2").text().isEmpty());
    EXPECT_TRUE(edit("Edit1").font().bold());
}

TEST_F(TKelvoTikanFormTest, EveryLineReplaceIgnoresCaseOnlyWhenChecked)
{
    struct Case {
        bool ignoreCase;
        QStringList after;
    };
    const Case cases[] = {
        {true, {"x", "x x", "x", "aaaa"}},
        {false, {"x", "ABC x", "Abc", "aaaa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ignoreCase);
        const QStringList before{"abc", "ABC abc", "Abc", "aaaa"};
        setLines(before);
        child<QCheckBox>(tikan(), "CheckBox1").setChecked(c.ignoreCase);
        runReplace("N7", std::nullopt, QStringLiteral("x"));
        // The first line fills both fields.
        EXPECT_EQ(shownSearch, "abc");
        EXPECT_EQ(shownReplacement, "abc");
        EXPECT_EQ(lines(), c.after);
        EXPECT_FALSE(form().runFlag);
        expectOneUndo(before.join(u'\n'));
    }
}

TEST_F(TKelvoTikanFormTest, OccurrencesDoNotOverlap)
{
    setLines({"aaaa", "baab"});
    runReplace("N7", QStringLiteral("aa"), QStringLiteral("a"));
    EXPECT_EQ(lines(), QStringList({"aa", "bab"}));
}

TEST_F(TKelvoTikanFormTest, SelectionReplaceIsExactAndJoinsAFinalLineBreak)
{
    setLines({"abc ABC", "abc", "end"});
    select(0, 0, 2, 0);
    runReplace("N8", QStringLiteral("abc"), QStringLiteral("x"));
    // The selection's first line fills both fields.
    EXPECT_EQ(shownSearch, "abc ABC");
    EXPECT_EQ(shownReplacement, "abc ABC");
    EXPECT_EQ(lines(), QStringList({"x ABC", "xend"}));
    expectOneUndo("abc ABC\nabc\nend");
}

TEST_F(TKelvoTikanFormTest, CancelOrAnEmptySearchChangesNothing)
{
    struct Case {
        const char* item;
        QString search;
        bool run;
    };
    const Case cases[] = {{"N7", "a", false}, {"N7", "", true}, {"N8", "a", false}, {"N8", "", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + (c.run ? " run" : " cancel"));
        setLines({"abc", "abc"});
        select(0, 0, 1, 3);
        runReplace(c.item, c.search, QStringLiteral("x"), c.run);
        expectUntouched({"abc", "abc"});
    }
}

TEST_F(TKelvoTikanFormTest, FieldsKeepTheirTextsWhenTheEditorIsEmpty)
{
    setLines({"abc"});
    runReplace("N7", std::nullopt, QStringLiteral("typed"));
    editor().clear();
    for (const char* item : {"N7", "N8"}) {
        SCOPED_TRACE(item);
        runReplace(item, std::nullopt, std::nullopt, false);
        EXPECT_EQ(shownSearch, "abc");
        EXPECT_EQ(shownReplacement, "typed");
    }
}

}  // namespace
