// The line editor and the search page against a drawing of TEXTs served by kelvocad.
#include "Anchor.h"
#include "CadServer.h"
#include "DrawingFiles.h"
#include "Measurement.h"
#include "RunSupport.h"
#include "Runs.h"

#include "app/TKelvoMainForm.h"
#include "grid/ui/KelvoStringGrid.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdio>

namespace bench::e2e {

namespace {

std::string countCheck(const char* what, int64_t got, int64_t expected)
{
    if (got == expected)
        return {};
    return std::string(what) + " " + std::to_string(got) + " instead of " + std::to_string(expected);
}

}  // namespace

void runTextDrawing(Measurement& m, const QString& folder, int n)
{
    const auto name = [n](const char* group, const char* operation) { return rowName(group, operation, n); };
    const std::vector<std::string> names = {
        name("LineEditor", "TextAcquisition"), name("LineEditor", "WriteBack"), name("LineEditor", "Align"),
        name("LineEditor", "TextAcquisitionOrdered"), name("Search", "SearchAndSort"), name("Search", "BatchUpdate"),
        name("Anchor", "TextAcquisition"), name("Anchor", "WriteBack"), name("Anchor", "Search"),
        name("Anchor", "Align"), name("Anchor", "BatchUpdate")};
    if (std::none_of(names.begin(), names.end(), [&m](const std::string& s) { return m.wanted(s); }))
        return;

    const GeneratedDrawing drawing = writeTextDrawing(folder + QStringLiteral("/texts-%1.dxf").arg(n), n);
    const auto strings = textDrawingStrings(n);
    CadServer cad(drawing.path);
    if (!cad.start()) {
        std::fprintf(stderr, "kelvocad with %d TEXTs: %s\n", n, cad.error().c_str());
        return;
    }
    KelvoEditWindow edit(&cad);
    auto& ui = edit.ui();
    ui::LineEditorWidget& editor = *ui.SynEdit1;
    auto& document = cad.document();
    const std::u16string& first = drawing.handles.front();
    const std::u16string& last = drawing.handles.back();

    ui.PageControl1->setCurrentIndex(0);
    ui.CheckBox1->setChecked(false);
    cad.planPick(drawing.handles);
    m.measure(
        &cad, {name("LineEditor", "TextAcquisition"), "Line editor: TEXT acquisition, pick order (SpeedButton1)",
               "kelvoedit", n, "TEXT", true},
        [&] { ui.SpeedButton1->click(); },
        [&] {
            auto check = countCheck("lines", editor.lineCount(), n);
            if (check.empty() && editor.lineText(n - 1).toStdU16String() != strings.back())
                check = "the last line is not the last TEXT picked";
            return check.empty() ? noMessage(edit) : check;
        },
        m.wanted(name("LineEditor", "WriteBack")) || m.wanted(name("LineEditor", "Align")));

    QStringList changed;
    for (int i = 0; i < editor.lineCount(); ++i)
        changed << editor.lineText(i) + QStringLiteral("-E");
    loadEditor(edit, changed);
    m.measure(
        &cad, {name("LineEditor", "WriteBack"), "Line editor: write-back of every line (SpeedButton2)", "kelvoedit", n,
               "TEXT", true},
        [&] { ui.SpeedButton2->click(); },
        [&]() -> std::string {
            if (textOf(document, first) != strings.front() + u"-E" || textOf(document, last) != strings.back() + u"-E")
                return "a line was not written";
            return noMessage(edit);
        });

    const bool alignEnabled = ui.SpeedButton6->isEnabled();
    m.measure(
        &cad, {name("LineEditor", "Align"), "Line editor: Align (SpeedButton6)", "kelvoedit", n, "TEXT", false},
        [&] { ui.SpeedButton6->click(); },
        [&]() -> std::string {
            if (!alignEnabled)
                return "Align was not enabled";
            const double dx = ui.Edit1->text().toDouble();
            const double dy = ui.Edit2->text().toDouble();
            const auto p0 = insertionPointOf(document, first);
            const auto pl = insertionPointOf(document, last);
            if (std::abs(pl.first - (p0.first + (n - 1) * dx)) > 1e-6 ||
                std::abs(pl.second - (p0.second + (n - 1) * dy)) > 1e-6)
                return "the last TEXT is not on the pitch";
            return noMessage(edit);
        });

    ui.CheckBox1->setChecked(true);
    cad.planPick(drawing.handles);
    m.measure(
        &cad, {name("LineEditor", "TextAcquisitionOrdered"),
               "Line editor: TEXT acquisition, ordered by coordinates (SpeedButton1)", "kelvoedit", n, "TEXT", true},
        [&] { ui.SpeedButton1->click(); },
        [&] {
            const auto check = countCheck("lines", editor.lineCount(), n);
            return check.empty() ? noMessage(edit) : check;
        });
    ui.CheckBox1->setChecked(false);

    // The search page: every TEXT is a hit, and the hits come sorted.
    ui.PageControl1->setCurrentIndex(2);
    ui.Edit3->setText(QStringLiteral("W-"));
    ui.CheckBox3->setChecked(true);
    auto& results = *edit.form().findChild<grid::KelvoStringGrid*>(QStringLiteral("StringGrid2"));
    m.measure(
        &cad, {name("Search", "SearchAndSort"), "Search: all TEXTs, sorted (SpeedButton14)", "kelvoedit", n, "hit", true},
        [&] { ui.SpeedButton14->click(); },
        [&] {
            auto check = countCheck("rows", results.gridRowCount(), n);
            if (check.empty() && n > 1 && results.cellText(0, 0) > results.cellText(0, 1))
                check = "the hits are not sorted";
            return check.empty() ? noMessage(edit) : check;
        },
        m.wanted(name("Search", "BatchUpdate")));

    for (int r = 0; r < results.gridRowCount(); ++r)
        results.setCellText(0, r, results.cellText(0, r) + QStringLiteral("U"));
    // The update button comes on when a changed row is drawn.
    results.viewport()->repaint();
    QCoreApplication::processEvents();
    const bool updateEnabled = ui.SpeedButton15->isEnabled();
    edit.messages.shown.clear();
    m.measure(
        &cad, {name("Search", "BatchUpdate"), "Search: batch update of every row (SpeedButton15)", "kelvoedit", n, "hit",
               false},
        [&] { ui.SpeedButton15->click(); },
        [&]() -> std::string {
            if (!updateEnabled)
                return "the update button was not enabled";
            const QString expected = QStringLiteral("%1 / %1 個の TEXT を更新しました").arg(n);
            if (edit.messages.shown.size() != 1 || !edit.messages.shown.front().text.startsWith(expected))
                return "the result message is missing or wrong";
            if (!textOf(document, first).ends_with(u"U") || !textOf(document, last).ends_with(u"U"))
                return "a row was not written";
            return {};
        });

    // The plain client, the same calls.
    int anchorCount = 0;
    m.measure(
        &cad, {name("Anchor", "TextAcquisition"), "Anchor: TEXT acquisition calls", "anchor", n, "TEXT", false},
        [&] { anchorCount = anchor::textAcquisition(cad, drawing.handles); },
        [&] { return countCheck("TEXTs", anchorCount, n); });
    m.measure(
        &cad, {name("Anchor", "WriteBack"), "Anchor: write-back calls", "anchor", n, "TEXT", false},
        [&] { anchorCount = anchor::writeBack(cad, drawing.handles, u"a"); },
        [&]() -> std::string {
            if (!textOf(document, last).ends_with(u"a"))
                return "not written";
            return countCheck("TEXTs", anchorCount, n);
        });
    m.measure(
        &cad, {name("Anchor", "Search"), "Anchor: search calls", "anchor", n, "hit", false},
        [&] { anchorCount = anchor::search(cad, u"W-*"); }, [&] { return countCheck("hits", anchorCount, n); });
    m.measure(
        &cad, {name("Anchor", "Align"), "Anchor: Align calls", "anchor", n, "TEXT", false},
        [&] { anchorCount = anchor::align(cad, drawing.handles, 5.0); },
        [&]() -> std::string {
            if (std::abs(insertionPointOf(document, last).second + 5.0 * (n - 1)) > 1e-6)
                return "not placed";
            return countCheck("TEXTs", anchorCount, n);
        });
    m.measure(
        &cad, {name("Anchor", "BatchUpdate"), "Anchor: search batch update calls", "anchor", n, "hit", false},
        [&] { anchorCount = anchor::batchUpdate(cad, drawing.handles, u"b"); },
        [&]() -> std::string {
            if (textOf(document, last) != u"Wb")
                return "not written";
            return countCheck("hits", anchorCount, n);
        });
}

}  // namespace bench::e2e
