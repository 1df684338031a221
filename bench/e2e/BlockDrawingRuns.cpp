// The ATTR acquisition of the line editor and the attribute grid against a drawing of block
// references served by kelvocad.
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

#include <cstdio>

namespace bench::e2e {

namespace {

void chooseItem(QComboBox& combo, const QString& item)
{
    int index = combo.findText(item);
    if (index < 0) {
        combo.addItem(item);
        index = combo.count() - 1;
    }
    combo.setCurrentIndex(index);
}

}  // namespace

void runBlockDrawing(Measurement& m, const QString& folder, int n)
{
    const auto name = [n](const char* group, const char* operation) { return rowName(group, operation, n); };
    const std::vector<std::string> names = {name("LineEditor", "AttrAcquisition"), name("LineEditor", "AttrWriteBack"),
                                            name("Grid", "Acquisition"), name("Grid", "Update"),
                                            name("Anchor", "GridAcquisition"), name("Anchor", "AttrAcquisition"),
                                            name("Anchor", "GridUpdate")};
    if (std::none_of(names.begin(), names.end(), [&m](const std::string& s) { return m.wanted(s); }))
        return;

    const GeneratedDrawing drawing = writeBlockDrawing(folder + QStringLiteral("/blocks-%1.dxf").arg(n), n);
    CadServer cad(drawing.path);
    if (!cad.start()) {
        std::fprintf(stderr, "kelvocad with %d blocks: %s\n", n, cad.error().c_str());
        return;
    }
    KelvoEditWindow edit(&cad);
    auto& ui = edit.ui();
    ui::LineEditorWidget& editor = *ui.SynEdit1;
    auto& document = cad.document();
    const std::u16string& first = drawing.handles.front();
    const std::u16string& last = drawing.handles.back();
    const std::u16string lastIndex = QString::number(n - 1).toStdU16String();

    ui.PageControl1->setCurrentIndex(0);
    chooseItem(*ui.ComboBox1, QStringLiteral("TAG3"));
    cad.planPick(drawing.handles);
    m.measure(
        &cad, {name("LineEditor", "AttrAcquisition"), "Line editor: ATTR acquisition, one tag (SpeedButton8)",
               "kelvoedit", n, "block", false},
        [&] { ui.SpeedButton8->click(); },
        [&]() -> std::string {
            if (editor.lineCount() != n)
                return "lines " + std::to_string(editor.lineCount()) + " instead of " + std::to_string(n);
            if (editor.lineText(n - 1).toStdU16String() != u"V" + lastIndex + u"-3")
                return "the last line is not the last block's TAG3";
            return noMessage(edit);
        },
        m.wanted(name("LineEditor", "AttrWriteBack")));

    QStringList changed;
    for (int i = 0; i < editor.lineCount(); ++i)
        changed << editor.lineText(i) + QStringLiteral("-A");
    loadEditor(edit, changed);
    m.measure(
        &cad, {name("LineEditor", "AttrWriteBack"), "Line editor: write-back of every attribute line (SpeedButton2)",
               "kelvoedit", n, "block", true},
        [&] { ui.SpeedButton2->click(); },
        [&]() -> std::string {
            if (attributeOf(document, first, 2) != u"V0-3-A" || attributeOf(document, last, 2) != u"V" + lastIndex + u"-3-A")
                return "an attribute was not written";
            return noMessage(edit);
        });

    ui.PageControl1->setCurrentIndex(1);
    QStringList group{QStringLiteral("IO8")};
    for (int t = 1; t <= kTagsPerBlock; ++t)
        group << QStringLiteral("TAG%1").arg(t);
    chooseItem(*ui.ComboBox2, group.join(u','));
    auto& cells = *edit.form().findChild<grid::KelvoStringGrid*>(QStringLiteral("StringGrid1"));
    cad.planPick(drawing.handles);
    m.measure(
        &cad, {name("Grid", "Acquisition"), "Attribute grid: acquisition, 8 tags (SpeedButton10)", "kelvoedit", n,
               "block", true},
        [&] { ui.SpeedButton10->click(); },
        [&]() -> std::string {
            if (cells.gridRowCount() != n + 1 || cells.gridColCount() != kTagsPerBlock + 1)
                return "grid of " + std::to_string(cells.gridRowCount()) + " rows, " +
                       std::to_string(cells.gridColCount()) + " columns";
            return noMessage(edit);
        },
        m.wanted(name("Grid", "Update")));

    for (int r = 1; r < cells.gridRowCount(); ++r)
        for (int c = 1; c < cells.gridColCount(); ++c)
            cells.setCellText(c, r, cells.cellText(c, r) + QStringLiteral("G"));
    m.measure(
        &cad, {name("Grid", "Update"), "Attribute grid: update of every cell (SpeedButton11)", "kelvoedit", n, "block",
               false},
        [&] { ui.SpeedButton11->click(); },
        [&]() -> std::string {
            if (!ui.SpeedButton11->isEnabled())
                return "the update button was not enabled";
            if (attributeOf(document, first, 0) != u"V0-1G" ||
                attributeOf(document, last, kTagsPerBlock - 1) != u"V" + lastIndex + u"-8G")
                return "a cell was not written";
            return noMessage(edit);
        });

    int anchorCells = 0;
    m.measure(
        &cad, {name("Anchor", "GridAcquisition"), "Anchor: attribute grid acquisition calls", "anchor", n, "block",
               false},
        [&] { anchorCells = anchor::gridAcquisition(cad, drawing.handles); },
        [&]() -> std::string {
            if (anchorCells != n * kTagsPerBlock)
                return "cells " + std::to_string(anchorCells);
            return {};
        });
    m.measure(
        &cad, {name("Anchor", "AttrAcquisition"), "Anchor: ATTR acquisition calls", "anchor", n, "block", false},
        [&] { anchorCells = anchor::attributeAcquisition(cad, drawing.handles, u"TAG3"); },
        [&]() -> std::string {
            if (anchorCells != n)
                return "values " + std::to_string(anchorCells);
            return {};
        });
    std::vector<std::u16string> attributes;
    if (m.wanted(name("Anchor", "GridUpdate")))
        attributes = anchor::attributeHandles(cad, drawing.handles);
    m.measure(
        &cad, {name("Anchor", "GridUpdate"), "Anchor: attribute grid update calls", "anchor", n, "block", false},
        [&] { anchorCells = anchor::gridUpdate(cad, attributes, u"c"); },
        [&]() -> std::string {
            if (attributeOf(document, last, kTagsPerBlock - 1) != u"Ac")
                return "not written";
            if (anchorCells != n * kTagsPerBlock)
                return "cells " + std::to_string(anchorCells);
            return {};
        });
}

}  // namespace bench::e2e
