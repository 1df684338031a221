#include "textops/ui/TKelvoKasanForm.h"
#include "textops/ui/TextToolsFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

using textops::ui::TKelvoKasanForm;
using textops_ui_testing::TextToolsFixture;
using textops_ui_testing::type;

class TKelvoKasanFormTest : public TextToolsFixture {
protected:
    TKelvoKasanForm& kasan() { return dialog<TKelvoKasanForm>("TKelvoKasanForm"); }
    template <class T>
    T& control(const char* name)
    {
        return child<T>(kasan(), name);
    }

    // Chooses the radix, direction, digit count and addend the way a user does, then runs
    // the item with 実行 (or 取り消し).
    struct Choice {
        const char* radixButton = "SpeedButton1";
        bool fromHead = false;
        int digits = 2;
        QString addend = "1";
    };
    void runAddition(const char* item, const Choice& choice, bool run = true)
    {
        trigger(item, &kasan(), [=, this] {
            control<QPushButton>(choice.radixButton).click();
            if (choice.fromHead)
                control<QRadioButton>("RadioButton1").click();
            control<QSpinBox>("UpDown1").setValue(choice.digits);
            type(control<QLineEdit>("Edit1"), choice.addend);
            control<QPushButton>(run ? "Button1" : "Button2").click();
        });
    }
};

TEST_F(TKelvoKasanFormTest, StartsDecimalFromTheTailWithAddendOne)
{
    EXPECT_EQ(kasan().windowTitle(), QStringLiteral("加算"));
    struct Caption {
        const char* name;
        QString text;
        bool enabled;
    };
    const Caption buttons[] = {
        {"SpeedButton1", QStringLiteral("10 進"), true}, {"SpeedButton2", QStringLiteral("16 進"), true},
        {"SpeedButton3", QStringLiteral("8 進"), true},  {"Button1", QStringLiteral("実行"), true},
        {"Button2", QStringLiteral("取り消し"), true},
    };
    for (const Caption& c : buttons) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control<QPushButton>(c.name).text(), c.text);
    }
    const Caption labels[] = {
        {"Label5", QStringLiteral("10 進"), true}, {"Label2", QStringLiteral("数値検出"), true},
        {"Label3", QStringLiteral("対象桁数"), false}, {"Label1", QStringLiteral("加算数"), true},
        {"Label4", QStringLiteral("(10進表記)"), true},
    };
    for (const Caption& c : labels) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(control<QLabel>(c.name).text(), c.text);
        EXPECT_EQ(control<QLabel>(c.name).isEnabled(), c.enabled);
    }
    EXPECT_TRUE(control<QPushButton>("SpeedButton1").isChecked());
    EXPECT_EQ(control<QRadioButton>("RadioButton1").text(), QStringLiteral("先頭から"));
    EXPECT_EQ(control<QRadioButton>("RadioButton2").text(), QStringLiteral("末尾から"));
    EXPECT_TRUE(control<QRadioButton>("RadioButton2").isChecked());
    EXPECT_EQ(control<QLineEdit>("Edit2").text(), "2");
    EXPECT_FALSE(control<QLineEdit>("Edit2").isEnabled());
    EXPECT_FALSE(control<QSpinBox>("UpDown1").isEnabled());
    EXPECT_EQ(control<QLineEdit>("Edit1").text(), "1");
    EXPECT_EQ(control<QLineEdit>("Edit1").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(TKelvoKasanFormTest, RadixButtonsSwitchBetweenDirectionAndDigitCount)
{
    struct Case {
        const char* button;
        QString label5;
        bool decimal;
    };
    const Case cases[] = {
        {"SpeedButton2", QStringLiteral("16進"), false},
        {"SpeedButton3", QStringLiteral(" 8進"), false},
        {"SpeedButton1", QStringLiteral("10進"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        control<QRadioButton>("RadioButton1").setChecked(true);
        control<QPushButton>(c.button).click();
        EXPECT_TRUE(control<QPushButton>(c.button).isChecked());
        EXPECT_TRUE(control<QRadioButton>("RadioButton2").isChecked());
        EXPECT_EQ(control<QRadioButton>("RadioButton1").isEnabled(), c.decimal);
        EXPECT_EQ(control<QRadioButton>("RadioButton2").isEnabled(), c.decimal);
        EXPECT_EQ(control<QLabel>("Label3").isEnabled(), !c.decimal);
        EXPECT_EQ(control<QLineEdit>("Edit2").isEnabled(), !c.decimal);
        EXPECT_EQ(control<QLabel>("Label5").text(), c.label5);
    }
}

TEST_F(TKelvoKasanFormTest, DigitCountCannotBeTypedOutsideOneToEight)
{
    control<QPushButton>("SpeedButton2").click();
    for (const QString& typed : {QStringLiteral("9"), QStringLiteral("0"), QStringLiteral("12")}) {
        SCOPED_TRACE(typed.toStdString());
        control<QSpinBox>("UpDown1").setValue(2);
        type(control<QLineEdit>("Edit2"), typed);
        const int count = kasan().settings().digitCount;
        EXPECT_GE(count, 1);
        EXPECT_LE(count, 8);
    }
}

TEST_F(TKelvoKasanFormTest, EveryLineAdditionFollowsTheChosenRadix)
{
    struct Case {
        const char* name;
        Choice choice;
        QStringList before;
        QStringList after;
    };
    const Case cases[] = {
        {"decimal tail", {}, {"A-12B3", "  A-5  ", "no digit ", "", "099", "12345678901"},
         {"A-12B4", "A-6", "no digit ", "", "100", "12345678902"}},
        {"decimal head", {"SpeedButton1", true}, {"A-12B3"}, {"A-13B3"}},
        {"decimal minus", {"SpeedButton1", false, 2, "-1"}, {"0010"}, {"0009"}},
        {"hexadecimal", {"SpeedButton2"}, {"PIN0F", "PINff", "PIN0G", ""}, {"PIN10", "PIN100", "PIN0G", ""}},
        {"hexadecimal three digits", {"SpeedButton2", false, 3}, {"AB12"}, {"AB13"}},
        {"octal", {"SpeedButton3"}, {"X07", "X08"}, {"X10", "X08"}},
        {"octal short line", {"SpeedButton3", false, 3}, {"7"}, {"010"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setLines(c.before);
        runAddition("N14", c.choice);
        EXPECT_EQ(lines(), c.after);
        EXPECT_FALSE(form().runFlag);
        EXPECT_FALSE(child<QPushButton>(form(), "SpeedButton5").isEnabled());
        expectOneUndo(c.before.join(u'\n'));
    }
}

TEST_F(TKelvoKasanFormTest, SelectionAdditionJoinsAndTrimsTheSelectedLines)
{
    setLines({"W-01", "W-02 ", "end"});
    select(0, 0, 2, 0);
    runAddition("N15", {"SpeedButton1", false, 2, "10"});
    EXPECT_EQ(lines(), QStringList({"W-11", "W-12end"}));
    expectOneUndo("W-01\nW-02 \nend");
}

TEST_F(TKelvoKasanFormTest, CancelZeroOrUnreadableAddendChangesNothing)
{
    struct Case {
        const char* item;
        QString addend;
        bool run;
    };
    const Case cases[] = {
        {"N14", "1", false}, {"N14", "0", true}, {"N14", "abc", true},
        {"N15", "1", false}, {"N15", "0", true}, {"N15", "1x", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + c.addend.toStdString());
        setLines({"A1", "B2"});
        select(0, 0, 1, 2);
        runAddition(c.item, {"SpeedButton1", false, 2, c.addend}, c.run);
        expectUntouched({"A1", "B2"});
    }
}

TEST_F(TKelvoKasanFormTest, SettingsPersistBetweenUses)
{
    setLines({"0F"});
    runAddition("N14", {"SpeedButton2", false, 2, "2"});
    EXPECT_EQ(lines(), QStringList({"11"}));
    // The next use opens with the same choices: only 実行 is pressed.
    trigger("N14", &kasan(), [this] { control<QPushButton>("Button1").click(); });
    EXPECT_EQ(lines(), QStringList({"13"}));
    EXPECT_TRUE(control<QPushButton>("SpeedButton2").isChecked());
    EXPECT_EQ(control<QLineEdit>("Edit1").text(), "2");
}

}  // namespace
