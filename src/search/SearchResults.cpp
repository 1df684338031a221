#include "search/SearchResults.h"

#include "automation/AutomationError.h"
#include "common/Utf.h"
#include "search/SearchContext.h"
#include "textops/ReplaceCommands.h"

namespace search {

using automation::ObjectRef;
using automation::Variant;

namespace {

std::u16string decimal(int64_t value)
{
    return common::fromAscii(std::to_string(value));
}

// The hit a row's tag names, or null for a row without a hit.
editor::Kelvo2* hitOf(SearchContext& context, int tag)
{
    if (tag < 1 || static_cast<size_t>(tag) > context.SearchHits.size())
        return nullptr;
    return &context.SearchHits[static_cast<size_t>(tag - 1)];
}

// The one-column grid as the grid commands of the text tools see it.
class ResultCells : public textops::CellTarget {
public:
    explicit ResultCells(SearchHost& host) : host_(host) {}
    std::u16string cellText(int column, int row) const override
    {
        return column == 0 ? host_.rowText(row) : std::u16string();
    }
    void setCellText(int column, int row, const std::u16string& text) override
    {
        if (column == 0)
            host_.setRowText(row, text);
    }
    void pushUndo(int column, int row) override { host_.pushCellUndo(column, row); }

private:
    SearchHost& host_;
};

}  // namespace

void StringGrid2Click(SearchContext& context)
{
    auto& host = context.host;
    const int row = host.currentRow();
    const std::u16string text = host.rowText(row);
    host.setLabel6(decimal(row + 1) + u" / " + decimal(host.rowCount()));
    const editor::Kelvo2* hit = hitOf(context, host.rowTag(row));
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

RowPaint StringGrid2DrawCell(SearchContext& context, int row)
{
    auto& host = context.host;
    const editor::Kelvo2* hit = hitOf(context, host.rowTag(row));
    if (!hit)
        return {};
    RowPaint paint;
    paint.locked = hit->locked;
    std::u16string text = host.rowText(row);
    if (text.empty() && !hit->text.empty()) {
        host.setRowText(row, hit->text);
        text = hit->text;
    }
    if (text != hit->text) {
        paint.changed = true;
        if (!host.SpeedButton15Enabled())
            host.setSpeedButton15Enabled(true);
    }
    return paint;
}

void StringGrid2GetEditText(SearchContext& context, int row)
{
    context.fields.sgUndoCnt2 = 1;
    context.host.pushCellUndo(0, row);
}

void undoGridEdits(SearchContext& context)
{
    auto& count = context.fields.sgUndoCnt2;
    if (count <= 0) {
        context.host.undoCell();
        return;
    }
    for (int i = 0; i < count; ++i)
        context.host.undoCell();
    count = 0;
}

void StringGrid2Enter(SearchContext& context)
{
    auto& host = context.host;
    if (host.CheckBox5Checked()) {
        const int row = host.currentRow();
        const std::u16string text = host.rowText(row);
        editor::Kelvo2* hit = hitOf(context, host.rowTag(row));
        if (hit && !text.empty() && text != hit->text) {
            if (cadlink::IsCadRunning(context.link)) {
                const ObjectRef application = cadlink::getApplication(context.link);
                const ObjectRef document = application->get(u"ActiveDocument").toObject();
                if (hit->locked) {
                    host.setRowText(row, hit->text);
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
                        host.setRowText(row, hit->text);
                    }
                }
            }
            StringGrid2Click(context);
        }
    }
    if (host.CheckBox8Checked() && host.cellEditorOpen()) {
        const int next = host.currentRow() + 1;
        host.setCurrentRow(next < host.rowCount() ? next : 0);
        StringGrid2Click(context);
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
    int targeted = 0;
    int written = 0;
    int lockedRows = 0;
    if (!context.SearchHits.empty() && cadlink::IsCadRunning(context.link)) {
        const ObjectRef application = cadlink::getApplication(context.link);
        cadlink::beginWindowSteps(context.link, *application, cadlink::WindowSteps::SearchUpdate);
        const ObjectRef document = application->get(u"ActiveDocument").toObject();
        document->call(u"StartUndoMark");
        const int rows = host.rowCount();
        for (int row = 0; row < rows; ++row) {
            editor::Kelvo2* hit = hitOf(context, host.rowTag(row));
            const std::u16string text = host.rowText(row);
            // An emptied row is not an edit: it shows its stored text again when drawn, and
            // a TEXT must never be blanked by a cut over rows scrolled out of sight.
            if (!hit || text.empty() || text == hit->text)
                continue;
            if (hit->locked) {
                ++lockedRows;
                continue;
            }
            ++targeted;
            try {
                const ObjectRef entity = document->call(u"HandleToObject", {Variant(hit->sHnd)}).toObject();
                entity->put(u"TextString", Variant(text));
                entity->call(u"Update");
                hit->insPt = entity->get(u"InsertionPoint");
                hit->text = text;
                ++written;
            } catch (const automation::AutomationError&) {
                // Erased or refused: the row stays changed and counts as not written.
            }
        }
        document->call(u"EndUndoMark");
        host.setSpeedButton15Enabled(false);
    }
    host.showInformation(updateMessage(written, targeted, lockedRows));
}

void N44Click(SearchContext& context)
{
    auto& host = context.host;
    const textops::CellRect rect = host.selection();
    const auto fields = host.runReplaceDialog(host.rowText(rect.top));
    if (!fields)
        return;
    ResultCells cells(host);
    if (const auto count = textops::replaceInCells(cells, rect, fields->Edit1, fields->Edit2))
        context.fields.sgUndoCnt2 = *count;
}

void N47Click(SearchContext& context)
{
    context.host.setSelection({0, 0, 0, context.host.rowCount() - 1});
}

}  // namespace search
