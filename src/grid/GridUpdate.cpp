#include "grid/GridUpdate.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/ScopeExit.h"
#include "grid/CellGrid.h"
#include "grid/GridContext.h"
#include "grid/GridPageHost.h"
#include "grid/TUndoCells.h"

#include <exception>

namespace grid {

using automation::ObjectRef;
using automation::Variant;

namespace {

void writeCells(GridContext& context, automation::Object& document)
{
    auto& grid = context.StringGrid1;
    auto& attributes = context.GridAttributes;
    for (int r = 1; r < grid.RowCount(); ++r) {
        for (int c = 1; c < grid.ColCount(); ++c) {
            const int k = grid.cellObject(c, r);
            // A cell object can outlive its record after an acquisition that ended early;
            // such a cell names nothing that could be written.
            if (k < 1 || attributes.empty() || static_cast<size_t>(k) > attributes.size())
                continue;
            auto& record = attributes[static_cast<size_t>(k) - 1];
            try {
                const ObjectRef attribute = document.call(u"HandleToObject", {Variant(record.sHnd)}).toObject();
                const std::u16string text = grid.cellText(c, r);
                attribute->put(u"TextString", Variant(text));
                attribute->call(u"Update");
                if (record.text != text)
                    record.text = text;
            } catch (const std::exception&) {
                // This cell stays as it was in the drawing and keeps showing as changed.
            }
        }
    }
}

}  // namespace

void SpeedButton11Click(GridContext& context)
{
    // An acquisition in progress pumps messages; an update inside it would write a grid
    // that is half filled.
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;
    const auto& link = context.link;
    if (!cadlink::IsCadRunning(link))
        return;
    try {
        const ObjectRef application = cadlink::getApplication(link);
        cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::ChangeBatch);
        const ObjectRef document = application->get(u"ActiveDocument").toObject();
        document->call(u"StartUndoMark");
        // The undo group is closed on every way out, so the drawing never keeps it open.
        const common::ScopeExit close([&document]() noexcept {
            try {
                document->call(u"EndUndoMark");
            } catch (...) {
            }
        });
        writeCells(context, *document);
    } catch (const std::exception&) {
        // Attaching or opening the undo group failed: nothing was written.
    }
}

void SpeedButton12Click(GridContext& context)
{
    context.host.setRunFlag(false);
    context.host.processPendingMessages();
}

void SpeedButton13Click(GridContext& context)
{
    // While an acquisition fills the grid, old texts put back would land in cells that
    // already link to the new attributes, and a later update would write them there.
    if (context.fields.cadOperationRunning)
        return;
    for (int i = 0; i < context.sgUndoCnt; ++i)
        context.FUndoCells.Undo(context.StringGrid1);
}

}  // namespace grid
