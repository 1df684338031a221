// The fake clipboard of the grid tests against the real one, QtGridClipboard on the
// platform's clipboard, with the same calls: what the program placed reads back as it was,
// and text another program placed reads as the platform hands it over. On Windows Qt's
// plugin gives another program's CR LF as LF; the fake does so when told to, and the grid
// tests paste through it both ways.
#include "grid/FakeGridClipboard.h"
#include "grid/ui/QtGridClipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#ifdef _WIN32
#include <windows.h>
#endif

#include <memory>
#include <ostream>
#include <string>

namespace grid::test {
namespace {

enum class Part { FakeAsWritten, FakeCrLfBecomesLf, QtOnThisPlatform };

const char* name(Part part)
{
    switch (part) {
    case Part::FakeAsWritten: return "FakeAsWritten";
    case Part::FakeCrLfBecomesLf: return "FakeCrLfBecomesLf";
    case Part::QtOnThisPlatform: return "QtOnThisPlatform";
    }
    return "?";
}

void PrintTo(Part part, std::ostream* os)
{
    *os << name(part);
}

// Another program's text placed on the system clipboard the way that program places it:
// through the Win32 clipboard on Windows; elsewhere Qt's clipboard is the platform's own.
void placeAsAnotherProgram(const std::u16string& text)
{
#ifdef _WIN32
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    for (size_t i = 0; i < text.size(); ++i)
        target[i] = static_cast<wchar_t>(text[i]);
    target[text.size()] = L'\0';
    GlobalUnlock(memory);
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);
    CloseClipboard();
#else
    auto* data = new QMimeData;
    data->setText(QString::fromStdU16String(text));
    QGuiApplication::clipboard()->setMimeData(data);
#endif
}

class GridClipboardConformance : public ::testing::TestWithParam<Part> {
protected:
    void SetUp() override
    {
        switch (GetParam()) {
        case Part::FakeAsWritten:
            fake_ = std::make_unique<FakeGridClipboard>(ForeignText::AsWritten);
            break;
        case Part::FakeCrLfBecomesLf:
            fake_ = std::make_unique<FakeGridClipboard>(ForeignText::CrLfBecomesLf);
            break;
        case Part::QtOnThisPlatform:
            break;
        }
    }

    GridClipboard& clipboard() { return fake_ ? static_cast<GridClipboard&>(*fake_) : qt_; }

    void putFromAnotherProgram(const std::u16string& text)
    {
        if (fake_)
            fake_->putFromAnotherProgram(text);
        else
            placeAsAnotherProgram(text);
    }

    // What the part stands for: the real clipboard's behaviour is the platform's.
    ForeignText handsOver() const
    {
        if (fake_)
            return fake_->foreign;
#ifdef _WIN32
        return ForeignText::CrLfBecomesLf;
#else
        return ForeignText::AsWritten;
#endif
    }

private:
    std::unique_ptr<FakeGridClipboard> fake_;
    QtGridClipboard qt_;
};

struct ForeignCase {
    const char* what;
    std::u16string placed;
    std::u16string asWritten;
    std::u16string crLfBecomesLf;
};

TEST_P(GridClipboardConformance, AnotherProgramsTextReadsAsThePlatformHandsItOver)
{
    const ForeignCase cases[] = {
        {"spreadsheet rows", u"a\tb\r\nc\t\td\r\n", u"a\tb\r\nc\t\td\r\n", u"a\tb\nc\t\td\n"},
        {"a last row without a line end", u"機器\t名\r\nrest", u"機器\t名\r\nrest", u"機器\t名\nrest"},
        {"no line end at all", u"one", u"one", u"one"},
        {"lone LF and CR", u"a\nb\rc\r\n", u"a\nb\rc\r\n", u"a\nb\rc\n"},
    };
    for (const ForeignCase& c : cases) {
        SCOPED_TRACE(c.what);
        putFromAnotherProgram(c.placed);
        EXPECT_EQ(clipboard().text(), handsOver() == ForeignText::AsWritten ? c.asWritten : c.crLfBecomesLf);
    }
}

TEST_P(GridClipboardConformance, TheProgramsOwnTextReadsBackAsWritten)
{
    for (const std::u16string& text : {std::u16string(u"A1\tB1\r\nA2\t\r\n"), std::u16string(u"x\ny\r"),
                                       std::u16string(u"全角\r\n")}) {
        clipboard().setText(text);
        EXPECT_EQ(clipboard().text(), text);
    }
    // Another program's text, then the program's own: the own text replaces it whole.
    putFromAnotherProgram(u"old\r\nrows\r\n");
    clipboard().setText(u"new\r\n");
    EXPECT_EQ(clipboard().text(), u"new\r\n");
}

INSTANTIATE_TEST_SUITE_P(Parts, GridClipboardConformance,
                         ::testing::Values(Part::FakeAsWritten, Part::FakeCrLfBecomesLf, Part::QtOnThisPlatform),
                         [](const ::testing::TestParamInfo<Part>& info) { return std::string(name(info.param)); });

}  // namespace
}  // namespace grid::test
