#include "search/SearchResults.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/Utf.h"
#include "grid/CellGrid.h"
#include "textops/CellGridTarget.h"
#include "grid/HandleGridKey.h"
#include "grid/TUndoCells.h"
#include "grid/UndoGroup.h"
#include "search/SearchContext.h"
#include "textops/ReplaceCommands.h"

#include <functional>

namespace search {

using automation::ObjectRef;
using automation::Variant;

namespace {

std::u16string decimal(int64_t value)
{
    return common::fromAscii(std::to_string(value));
}

// The hit a row's cell object names, or null for a row without a hit.
editor::Kelvo2* hitOf(SearchContext& context, int row)
{
    const int tag = context.StringGrid2.cellObject(0, row);
    if (tag < 1 || static_cast<size_t>(tag) > context.SearchHits.size())
        return nullptr;
    return &context.SearchHits[static_cast<size_t>(tag - 1)];
}

}  // namespace

void StringGrid2Click(SearchContext& context)
{
    auto& host = context.host;
    const auto& grid = context.StringGrid2;
    const int row = grid.Row();
    const std::u16string text = grid.cellText(0, row);
    host.setLabel6(decimal(row + 1) + u" / " + decimal(grid.RowCount()));
    const editor::Kelvo2* hit = hitOf(context, row);
    if (!hit || text.empty()) {
        host.setStatusPanelText(0, {});
        host.setLabel6({});
        return;
    }
    host.setStatusPanelText(0, hit->sHnd);
    // A hit whose point could not be read has no coordinates to show.
    host.setStatusPanelText(1, hit->insPt.isArray() ? host.formatPoint(hit->insPt.doubleAt(0), hit->insPt.doubleAt(1))
                                                    : std::u16string());
    if (!cadlink::IsCadRunning(context.link))
        return;
    ObjectRef application;
    try {
        application = cadlink::getApplication(context.link);
    } catch (const automation::AutomationError&) {
        // The CAD ended a moment ago: there is no view left to pan.
        return;
    }
    cadlink::ZoomToEntity(context.link.windows, *application, hit->insPt, 3, false, 0.05);
}

void showRow(SearchContext& context, int row)
{
    if (context.StringGrid2.Row() != row)
        context.StringGrid2.setRow(row);
    else
        StringGrid2Click(context);
}

RowPaint StringGrid2DrawCell(SearchContext& context, int row)
{
    auto& grid = context.StringGrid2;
    const editor::Kelvo2* hit = hitOf(context, row);
    if (!hit)
        return {};
    RowPaint paint;
    paint.locked = hit->locked;
    std::u16string text = grid.cellText(0, row);
    // The editor writes into its cell as the user types; a row cleared there to type anew
    // must not fill up again under the user's hands. It springs back once the editor closes.
    const bool beingEdited = context.host.cellEditorOpen() && row == grid.Row();
    if (text.empty() && !hit->text.empty()) {
        if (beingEdited)
            return paint;
        grid.setCellText(0, row, hit->text);
        text = hit->text;
    }
    if (text != hit->text) {
        paint.changed = true;
        if (!context.host.SpeedButton15Enabled())
            context.host.setSpeedButton15Enabled(true);
    }
    return paint;
}

void StringGrid2GetEditText(SearchContext& context, int col, int row)
{
    context.sgUndoCnt2 = 1;
    context.FUndoCells2.Add(context.StringGrid2, col, row);
}

void StringGrid2KeyDown(SearchContext& context, int& key, grid::KeyModifiers modifiers,
                        grid::GridClipboard& clipboard)
{
    if (key == grid::keys::Z && modifiers.control) {
        key = 0;
        grid::undoGroupByKey(context.FUndoCells2, context.StringGrid2, context.sgUndoCnt2);
        return;
    }
    if (key == grid::keys::Enter) {
        // Not consumed: the grid's own Enter opens or closes the editor afterwards.
        StringGrid2Enter(context);
        return;
    }
    grid::HandleGridKey(context.StringGrid2, key, modifiers, context.FUndoCells2, context.sgUndoCnt2, clipboard);
}

void StringGrid2Enter(SearchContext& context)
{
    auto& host = context.host;
    auto& grid = context.StringGrid2;
    if (host.CheckBox5Checked()) {
        const int row = grid.Row();
        const std::u16string text = grid.cellText(0, row);
        editor::Kelvo2* hit = hitOf(context, row);
        if (hit && !text.empty() && text != hit->text) {
            // A write inside another page's running operation would join its undo group.
            cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
            if (guard.acquired() && cadlink::IsCadRunning(context.link)) {
                const ObjectRef application = cadlink::getApplication(context.link);
                const ObjectRef document = application->get(u"ActiveDocument").toObject();
                if (hit->locked) {
                    grid.setCellText(0, row, hit->text);
                } else {
                    try {
                        const ObjectRef entity = document->call(u"HandleToObject", {Variant(hit->sHnd)}).toObject();
                        entity->put(u"TextString", Variant(text));
                        entity->call(u"Update");
                        hit->insPt = entity->get(u"InsertionPoint");
                        hit->text = entity->get(u"TextString").toString();
                    } catch (const automation::AutomationError&) {
                        // The TEXT is gone or refuses the change: the row shows what the
                        // drawing holds.
                        grid.setCellText(0, row, hit->text);
                    }
                }
            }
            StringGrid2Click(context);
        }
    }
    if (host.CheckBox8Checked() && host.cellEditorOpen()) {
        const int next = grid.Row() + 1;
        const int target = next < grid.RowCount() ? next : 0;
        if (target != grid.Row())
            grid.setRow(target);
    }
}

std::u16string updateMessage(int written, int targeted, int lockedRows)
{
    std::u16string message = targeted == 0
                                 ? std::u16string(u"更新対象の TEXT はありません．")
                                 : decimal(written) + u" / " + decimal(targeted) + u" 個の TEXT を更新しました．";
    if (lockedRows > 0)
        message += u"\nロック画層の TEXT " + decimal(lockedRows) + u" 個は更新されません．";
    return message;
}

void SpeedButton15Click(SearchContext& context)
{
    auto& host = context.host;
    const auto& grid = context.StringGrid2;
    int targeted = 0;
    int written = 0;
    int lockedRows = 0;
    // The rows to write: changed, with a hit, not on a locked layer (those are only counted).
    const auto forEachRowToWrite = [&](const std::function<bool(editor::Kelvo2& hit, const std::u16string& text)>& write) {
        const int rows = grid.RowCount();
        for (int row = 0; row < rows; ++row) {
            editor::Kelvo2* hit = hitOf(context, row);
            const std::u16string text = grid.cellText(0, row);
            // An emptied row is not an edit: it shows its stored text again when drawn, and
            // a TEXT must never be blanked by a cut over rows scrolled out of sight.
            if (!hit || text.empty() || text == hit->text)
                continue;
            if (hit->locked) {
                ++lockedRows;
                continue;
            }
            ++targeted;
            if (write && write(*hit, text))
                ++written;
        }
    };

    // Pumping operations of other pages hold an undo group open; this batch must not join it.
    // Nothing is written then, and the user is told so like after any batch.
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired()) {
        forEachRowToWrite(nullptr);
        host.showInformation(updateMessage(written, targeted, lockedRows));
        return;
    }
    if (!context.SearchHits.empty() && cadlink::IsCadRunning(context.link)) {
        const ObjectRef application = cadlink::getApplication(context.link);
        cadlink::beginWindowSteps(context.link, *application, cadlink::WindowSteps::SearchUpdate);
        const ObjectRef document = application->get(u"ActiveDocument").toObject();
        bool undoGroupOpen = false;
        try {
            document->call(u"StartUndoMark");
            undoGroupOpen = true;
        } catch (const automation::AutomationError&) {
            // Written without a group, the batch could not be taken back in one step: nothing
            // is written, and the count says so.
        }
        forEachRowToWrite([&](editor::Kelvo2& hit, const std::u16string& text) {
            if (!undoGroupOpen)
                return false;
            try {
                const ObjectRef entity = document->call(u"HandleToObject", {Variant(hit.sHnd)}).toObject();
                entity->put(u"TextString", Variant(text));
                entity->call(u"Update");
                hit.insPt = entity->get(u"InsertionPoint");
                hit.text = text;
                return true;
            } catch (const automation::AutomationError&) {
                // Erased or refused: the row stays changed and counts as not written.
                return false;
            }
        });
        if (undoGroupOpen) {
            try {
                document->call(u"EndUndoMark");
            } catch (const automation::AutomationError&) {
                // The texts are written; the count tells what was.
            }
        }
        host.setSpeedButton15Enabled(false);
    }
    host.showInformation(updateMessage(written, targeted, lockedRows));
}

void N44Click(SearchContext& context)
{
    auto& grid = context.StringGrid2;
    const grid::GridRect selection = grid.selection();
    const auto fields = context.host.runReplaceDialog(grid.cellText(selection.Left, selection.Top));
    if (!fields)
        return;
    textops::CellGridTarget cells(grid, context.FUndoCells2);
    const textops::CellRect rect{selection.Left, selection.Top, selection.Right, selection.Bottom};
    if (const auto count = textops::replaceInCells(cells, rect, fields->Edit1, fields->Edit2))
        context.sgUndoCnt2 = *count;
}

void N47Click(SearchContext& context)
{
    context.StringGrid2.setSelection({0, 0, 0, context.StringGrid2.RowCount() - 1});
}

}  // namespace search
