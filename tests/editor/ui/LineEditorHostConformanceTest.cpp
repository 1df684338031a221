// The fake page the line editor's operations are tested on, against the real one: the same
// calls on FakeLineEditorHost and on the main window's page over SynEdit1 must give the same
// lines, text, caret and selection. A fake that counted one empty loaded line as none, or
// kept its caret where loading lines puts it back, would let the operations' tests pass
// where the program fails.
#include "editor/FakeLineEditorHost.h"

#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "editor/ui/LineEditorPage.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace editor::test {
namespace {

using Lines = std::vector<std::u16string>;

enum class Part { Fake, Page };

void PrintTo(Part part, std::ostream* os)
{
    *os << (part == Part::Fake ? "FakeLineEditorHost" : "LineEditorPage");
}

// A host with the user's selection, which the page takes from its editor's cursor.
class HostUnderTest {
public:
    virtual ~HostUnderTest() = default;
    virtual LineEditorHost& host() = 0;
    // Lines and columns from 1; the caret ends where the selection ends.
    virtual void select(int fromLine, int fromColumn, int toLine, int toColumn) = 0;
};

class FakeUnderTest : public HostUnderTest {
public:
    LineEditorHost& host() override { return fake_; }
    void select(int fromLine, int fromColumn, int toLine, int toColumn) override
    {
        fake_.select(fromLine, fromColumn, toLine, toColumn);
    }

private:
    FakeLineEditorHost fake_;
};

class PageUnderTest : public HostUnderTest {
public:
    PageUnderTest()
    {
        form_ = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir_.path().toStdU16String()) / "kelvoedit",
                                                      messages_, launcher_);
    }
    LineEditorHost& host() override { return form_->lineEditorPage(); }
    void select(int fromLine, int fromColumn, int toLine, int toColumn) override
    {
        ui::LineEditorWidget& editor = *form_->controls().SynEdit1;
        const auto position = [&editor](int line, int column) {
            return editor.document()->findBlockByNumber(line - 1).position() + column - 1;
        };
        QTextCursor cursor(editor.document());
        cursor.setPosition(position(fromLine, fromColumn));
        cursor.setPosition(position(toLine, toColumn), QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }

private:
    QTemporaryDir dir_;
    testing_support::RecordingMessages messages_;
    testing_support::RecordingLauncher launcher_;
    std::unique_ptr<app::TKelvoMainForm> form_;
};

class LineEditorHostConformance : public ::testing::TestWithParam<Part> {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        if (GetParam() == Part::Fake)
            underTest_ = std::make_unique<FakeUnderTest>();
        else
            underTest_ = std::make_unique<PageUnderTest>();
    }

    LineEditorHost& host() { return underTest_->host(); }
    void select(int fromLine, int fromColumn, int toLine, int toColumn)
    {
        underTest_->select(fromLine, fromColumn, toLine, toColumn);
    }

    Lines lines()
    {
        Lines all;
        for (int i = 0; i < host().lineCount(); ++i)
            all.push_back(host().line(i));
        return all;
    }

private:
    std::unique_ptr<HostUnderTest> underTest_;
};

struct LoadCase {
    const char* what;
    std::function<void(LineEditorHost&)> load;
    Lines lines;
    std::u16string text;
};

TEST_P(LineEditorHostConformance, LoadedLinesCountAndReadTheSame)
{
    const LoadCase cases[] = {
        {"no lines", [](LineEditorHost& h) { h.replaceLines({}); }, {}, u""},
        {"one empty loaded line", [](LineEditorHost& h) { h.replaceLines({u""}); }, {u""}, u""},
        {"two empty loaded lines", [](LineEditorHost& h) { h.replaceLines({u"", u""}); }, {u"", u""}, u"\r\n"},
        {"an empty line between two", [](LineEditorHost& h) { h.replaceLines({u"a", u"", u"b"}); },
         {u"a", u"", u"b"}, u"a\r\n\r\nb"},
        {"one empty line, then lines", [](LineEditorHost& h) {
             h.replaceLines({u""});
             h.replaceLines({u"x", u"y"});
         }, {u"x", u"y"}, u"x\r\ny"},
        {"one empty line, then empty text", [](LineEditorHost& h) {
             h.replaceLines({u""});
             h.setText(u"");
         }, {}, u""},
        {"empty text", [](LineEditorHost& h) { h.setText(u""); }, {}, u""},
        {"text split at CR LF, CR and LF", [](LineEditorHost& h) { h.setText(u"a\r\nb\rc\nd"); },
         {u"a", u"b", u"c", u"d"}, u"a\r\nb\r\nc\r\nd"},
        {"a text ending in a line break", [](LineEditorHost& h) { h.setText(u"a\r\n"); }, {u"a", u""}, u"a\r\n"},
        {"a lone line break", [](LineEditorHost& h) { h.setText(u"\r\n"); }, {u"", u""}, u"\r\n"},
        {"full-width text and blanks", [](LineEditorHost& h) { h.replaceLines({u"機器 名\u3000", u" "}); },
         {u"機器 名\u3000", u" "}, u"機器 名\u3000\r\n "},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Lines and a selection from before: loading replaces the one and drops the other.
        host().replaceLines({u"before 1", u"before 2"});
        select(1, 3, 2, 4);
        c.load(host());
        EXPECT_EQ(host().lineCount(), static_cast<int>(c.lines.size()));
        EXPECT_EQ(lines(), c.lines);
        EXPECT_EQ(host().text(), c.text);
        EXPECT_EQ(host().line(static_cast<int>(c.lines.size())), u"") << "a line past the end reads empty";
        EXPECT_EQ(host().caretLine(), 1);
        EXPECT_EQ(host().caretColumn(), 1);
        EXPECT_EQ(host().selectedText(), u"");
        EXPECT_FALSE(host().canUndo()) << "loading empties the editor's own history";
    }
}

struct SelectionCase {
    const char* what;
    int fromLine, fromColumn, toLine, toColumn;
    std::u16string selected;
};

TEST_P(LineEditorHostConformance, SelectionAndCaretReadTheSame)
{
    const SelectionCase cases[] = {
        {"caret only", 2, 2, 2, 2, u""},
        {"inside one line", 1, 2, 1, 4, u"bc"},
        {"over three lines", 1, 2, 3, 2, u"bc\r\nde\r\nf"},
        {"whole line with its break", 2, 1, 3, 1, u"de\r\n"},
        {"backwards", 3, 2, 1, 2, u"bc\r\nde\r\nf"},
        {"the empty line", 4, 1, 5, 1, u"\r\n"},
        {"to the end", 5, 1, 5, 3, u"末尾"},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.what);
        host().replaceLines({u"abc", u"de", u"fgh", u"", u"末尾"});
        select(c.fromLine, c.fromColumn, c.toLine, c.toColumn);
        EXPECT_EQ(host().selectedText(), c.selected);
        EXPECT_EQ(host().caretLine(), c.toLine);
        EXPECT_EQ(host().caretColumn(), c.toColumn);
        host().caretToStart();
        EXPECT_EQ(host().caretLine(), 1);
        EXPECT_EQ(host().caretColumn(), 1);
        EXPECT_EQ(host().selectedText(), u"") << "the caret moved alone drops the selection";
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, LineEditorHostConformance, ::testing::Values(Part::Fake, Part::Page),
                         [](const ::testing::TestParamInfo<Part>& info) {
                             return std::string(info.param == Part::Fake ? "FakeLineEditorHost" : "LineEditorPage");
                         });

}  // namespace
}  // namespace editor::test
