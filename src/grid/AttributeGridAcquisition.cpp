#include "grid/AttributeGridAcquisition.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/ScopeExit.h"
#include "common/Utf.h"
#include "editor/records/OrderByCoordinates.h"
#include "grid/CellGrid.h"
#include "grid/GridContext.h"
#include "grid/GridLayout.h"
#include "grid/GridPageHost.h"
#include "grid/MatchesAnyMask.h"
#include "grid/TUndoCells.h"

#include <exception>
#include <string>
#include <vector>

namespace grid {

using automation::ObjectRef;
using automation::Variant;
using common::ScopeExit;

namespace {

constexpr std::u16string_view attributeDefinitionName = u"AcDbAttributeDefinition";
constexpr int columnMargin = 10;

std::u16string decimal(int64_t value)
{
    return common::fromAscii(std::to_string(value));
}

// Strict splitting: every comma separates, spaces stay, empty fields count. An empty
// text has no fields at all.
std::vector<std::u16string> splitFields(const std::u16string& text)
{
    std::vector<std::u16string> fields;
    if (text.empty())
        return fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(u',', start);
        if (comma == std::u16string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

// The text between the caption's first "[" and its first "]", when there is any.
std::u16string blockMaskOf(const std::u16string& caption)
{
    const size_t open = caption.find(u'[');
    const size_t close = caption.find(u']');
    if (open == std::u16string::npos || close == std::u16string::npos || open + 1 >= close)
        return u"*";
    return caption.substr(open + 1, close - open - 1);
}

// The grid column of a tag: the first field after the caption that equals it; 0 for none.
int columnOfTag(const std::vector<std::u16string>& fields, const std::u16string& tag)
{
    for (size_t c = 1; c < fields.size(); ++c)
        if (fields[c] == tag)
            return static_cast<int>(c);
    return 0;
}

struct Acquisition {
    GridContext& context;
    GridPageHost& host;
    CellGrid& grid;
    std::vector<std::u16string> fields;
    std::u16string blockMask = u"*";
    int32_t picked = 0;
    // The rows of the new grid. They replace GridBlocks only when the grid is filled anew, so
    // that an acquisition that ends before leaves the rows shown and the records "更新"
    // writes them through as one.
    std::vector<editor::nBlk> blocks;

    // Step through the picked references; keeps those with a tag of the group.
    void firstPass(automation::Object& set)
    {
        host.resetProgressBar1(picked);
        blocks.clear();
        for (int32_t k = 0; k < picked; ++k) {
            host.processPendingMessages();
            if (!host.runFlag()) {
                blocks.clear();
                return;
            }
            host.stepProgressBar1();
            host.processPendingMessages();
            host.setLabel5Text(u"INSERT = " + decimal(k + 1) + u" / " + decimal(picked));
            try {
                const ObjectRef reference = set.call(u"Item", {Variant(k)}).toObject();
                for (const Variant& element : reference->call(u"GetAttributes").elements()) {
                    const std::u16string tag = element.toObject()->get(u"TagString").toString();
                    if (columnOfTag(fields, tag) == 0)
                        continue;
                    editor::nBlk record;
                    record.lay = reference->get(u"Layer").toString();
                    record.insPt = reference->get(u"InsertionPoint");
                    record.sHnd = reference->get(u"Handle").toString();
                    record.blkName = reference->get(u"Name").toString();
                    record.index = k;
                    blocks.push_back(std::move(record));
                    break;
                }
            } catch (const std::exception&) {
                // A reference that cannot be read is not taken.
            }
        }
    }

    std::u16string headerFor(automation::Object& document, automation::Object& reference,
                             const std::vector<std::u16string>& definitions, const std::u16string& tag)
    {
        if (definitions.empty())
            return ReadAttributePrompt(document, reference.get(u"Name").toString(), tag);
        const std::u16string prefix = tag + u"\t";
        for (const auto& line : definitions)
            if (line.starts_with(prefix))
                return line.substr(prefix.size());
        return {};
    }

    // Fills the rows. False when a row's reference could not be reached again, which ends
    // the acquisition.
    bool secondPass(automation::Object& document, const std::vector<std::u16string>& definitions)
    {
        auto& attributes = context.GridAttributes;
        const int rows = static_cast<int>(context.GridBlocks.size());
        for (int r = 0; r < rows; ++r) {
            host.processPendingMessages();
            if (!host.runFlag())
                return true;
            host.stepProgressBar1();
            host.setLabel5Text(u"ATTR = " + decimal(r + 1) + u" / " + decimal(picked));
            grid.setCellText(0, r + 1, decimal(r + 1));

            ObjectRef reference;
            Variant attributeArray;
            try {
                reference = document.call(u"HandleToObject", {Variant(context.GridBlocks[static_cast<size_t>(r)].sHnd)})
                                .toObject();
                attributeArray = reference->call(u"GetAttributes");
            } catch (const std::exception&) {
                return false;
            }
            try {
                for (const Variant& element : attributeArray.elements()) {
                    const ObjectRef attribute = element.toObject();
                    const std::u16string tag = attribute->get(u"TagString").toString();
                    const int c = columnOfTag(fields, tag);
                    if (c == 0)
                        continue;
                    editor::nAtt record;
                    record.text = attribute->get(u"TextString").toString();
                    record.insPt = attribute->get(u"InsertionPoint");
                    record.lay = attribute->get(u"Layer").toString();
                    record.sHnd = attribute->get(u"Handle").toString();
                    // The record is appended only once it is complete, so that every cell
                    // object names a record that exists.
                    attributes.push_back(std::move(record));
                    const int k = static_cast<int>(attributes.size());
                    grid.setCellText(c, r + 1, attributes.back().text);
                    grid.setCellObject(c, r + 1, k);
                    if (grid.cellText(c, 0).empty())
                        grid.setCellText(c, 0, headerFor(document, *reference, definitions, tag));
                }
            } catch (const std::exception&) {
                // The rest of this row stays empty; what was filled stays.
            }
        }
        return true;
    }

    void fillGrid(automation::Object& document)
    {
        std::vector<std::u16string> definitions;
        ReadAttributeDefinitions(document, blockMask, definitions);

        context.GridBlocks = std::move(blocks);
        context.GridAttributes.clear();
        const int rows = static_cast<int>(context.GridBlocks.size());
        ClearGridCells(grid);
        // The cells now belong to other attributes, also when a row ends the acquisition
        // below: an undo record of the grid before would put its old text into a cell that
        // "更新" then writes to an attribute it never came from.
        context.FUndoCells.Clear();
        context.sgUndoCnt = 0;
        bool completed = false;
        {
            grid.beginUpdate();
            // The grid always gets its repainting back, also when a row ends the acquisition.
            const ScopeExit resume([this]() noexcept {
                try {
                    grid.endUpdate();
                } catch (...) {
                }
            });
            grid.setRowCount(rows >= 1 ? rows + 1 : 2);
            if (rows >= 1)
                host.resetProgressBar1(rows);
            // A grid keeps at least one column; without a tag group it is the number column.
            grid.setColCount(std::max(static_cast<int>(fields.size()), 1));
            completed = secondPass(document, definitions);
        }
        if (!completed)
            return;
        AutoFitColumns(grid, columnMargin);
        host.setSpeedButton11Enabled(true);
    }

    void run()
    {
        const auto& link = context.link;
        const ObjectRef application = cadlink::getApplication(link);
        cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::Acquisition);
        const ObjectRef document = application->get(u"ActiveDocument").toObject();

        fields = splitFields(host.ComboBox2Item());
        if (!fields.empty())
            blockMask = blockMaskOf(fields[0]);

        ObjectRef set = cadlink::AcquireWorkSelectionSet(*document);
        if (!set)
            return;  // nothing to pick with
        const ScopeExit dispose([&set]() noexcept { cadlink::disposeWorkSelectionSet(set); });

        set->call(u"Clear");
        try {
            set->call(u"SelectOnScreen", {Variant::int16Array({0, 2, 66}),
                                          Variant::variantArray({Variant(u"INSERT"), Variant(blockMask),
                                                                 Variant(int16_t{1})})});
            // The CAD settles after the pick; the window stays live meanwhile.
            host.waitProcessingMessages(500);
        } catch (const automation::AutomationError&) {
            // A cancelled pick: whatever the set holds now is the selection.
        }
        picked = set->get(u"Count").toInt();
        link.ownWindow.showNormal();
        host.setLabel5Text(u"INSERT = " + decimal(picked));
        if (picked <= 0)
            return;

        firstPass(*set);
        editor::OrderByCoordinates(blocks, 3);
        fillGrid(*document);
    }
};

}  // namespace

void SpeedButton10Click(GridContext& context)
{
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;
    auto& host = context.host;
    auto& grid = context.StringGrid1;

    host.setLabel1Text({});
    host.setLabel2Text({});
    context.fields.ATTmode = true;
    host.setRunFlag(true);
    host.setSpeedButton12Enabled(true);
    host.setStatusPanelText(0, {});
    host.setStatusPanelText(1, {});

    try {
        if (cadlink::IsCadRunning(context.link)) {
            Acquisition acquisition{context, host, grid, {}};
            acquisition.run();
        }
    } catch (const std::exception&) {
        // The acquisition ends silently at the point of failure.
    }

    try {
        context.link.ownWindow.showNormal();
    } catch (const std::exception&) {
    }
    if (grid.RowCount() < 2) {
        grid.setRowCount(2);
        grid.setFixedCols(1);
        for (int col = 0; col < grid.ColCount(); ++col) {
            grid.setCellText(col, 1, {});
            grid.setCellObject(col, 1, 0);
        }
    }
    host.setProgressBar1Position(0);
    try {
        cadlink::ForceForeground(context.link.windows, context.link.ownWindow.handle());
    } catch (const std::exception&) {
    }
    host.setRunFlag(false);
    host.setSpeedButton12Enabled(false);
}

int ReadAttributeDefinitions(automation::Object& document, std::u16string_view blockMask,
                             std::vector<std::u16string>& list)
{
    list.clear();
    const int32_t count = document.get(u"Blocks").toObject()->get(u"Count").toInt();
    for (int32_t i = 0; i < count; ++i) {
        const ObjectRef block = document.get(u"Blocks", Variant(i)).toObject();
        const std::u16string name = block->get(u"Name").toString();
        if (name.find(u'*') != std::u16string::npos || !MatchesAnyMask(name, blockMask))
            continue;
        const int32_t items = block->get(u"Count").toInt();
        for (int32_t j = 0; j < items; ++j) {
            const ObjectRef item = block->call(u"Item", {Variant(j)}).toObject();
            if (item->get(u"EntityName").toString() == attributeDefinitionName)
                list.push_back(item->get(u"TagString").toString() + u"\t" + item->get(u"PromptString").toString());
        }
        break;
    }
    return static_cast<int>(list.size());
}

std::u16string ReadAttributePrompt(automation::Object& document, std::u16string_view blockName,
                                   std::u16string_view tag)
{
    const int32_t count = document.get(u"Blocks").toObject()->get(u"Count").toInt();
    for (int32_t i = 0; i < count; ++i) {
        const ObjectRef block = document.get(u"Blocks", Variant(i)).toObject();
        if (block->get(u"Name").toString() != blockName)
            continue;
        const int32_t items = block->get(u"Count").toInt();
        for (int32_t j = 0; j < items; ++j) {
            const ObjectRef item = block->call(u"Item", {Variant(j)}).toObject();
            if (item->get(u"EntityName").toString() == attributeDefinitionName &&
                item->get(u"TagString").toString() == tag)
                return item->get(u"PromptString").toString();
        }
        break;
    }
    return {};
}

}  // namespace grid
