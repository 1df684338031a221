#include "search/TextSearch.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/ScopeExit.h"
#include "common/Utf.h"
#include "grid/CellGrid.h"
#include "grid/TUndoCells.h"
#include "search/SearchContext.h"
#include "search/SearchResults.h"

#include <algorithm>

namespace search {

using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr std::u16string_view kSearchCaption = u"検索";
constexpr std::u16string_view kStopCaption = u"中止";
constexpr std::u16string_view kLabel7AtRest = u"検索 (部分一致)";
// Listing 100,000 hits takes a few hundred milliseconds; the window repaints between slices.
constexpr int kRowsBetweenRepaints = 4096;

std::u16string decimal(int64_t value)
{
    return common::fromAscii(std::to_string(value));
}

// Reads the hits into `hits`. Throws on the first CAD error; what was read until then stays.
void readHits(SearchContext& context, automation::Object& application, std::u16string& lockedLayers,
              std::vector<editor::Kelvo2>& hits)
{
    auto& host = context.host;
    const ObjectRef document = application.get(u"ActiveDocument").toObject();
    lockedLayers = cadlink::lockedLayerList(*document);

    const auto position = host.CheckBox3Checked() ? MatchPosition::Prefix : MatchPosition::Partial;
    const std::u16string pattern = searchPattern(host.Edit3Text(), position);
    host.setLabel7(u"[" + pattern + u"] (部分一致)");
    const Variant types = Variant::int16Array({0, 1});
    const Variant values = Variant::variantArray({Variant(u"TEXT"), Variant(pattern)});

    ObjectRef set = cadlink::AcquireWorkSelectionSet(*document);
    if (!set)
        throw automation::AutomationError(automation::hr::Fail, u"The selection set SSTEMP is not available");
    const common::ScopeExit dispose([&set]() noexcept { cadlink::disposeWorkSelectionSet(set); });
    set->call(u"Clear");
    try {
        set->call(u"Select", {Variant(int16_t{5}), Variant::omitted(), Variant::omitted(), types, values});
    } catch (const automation::AutomationError&) {
        // A failed selection leaves the set empty: no hits.
    }
    const int32_t n = set->get(u"Count").toInt();
    host.setLabel6(u"TEXT = " + decimal(n));
    hits.assign(static_cast<size_t>(std::max(n, 0)), editor::Kelvo2{});

    const int32_t step = std::max(n / 100, 1);
    for (int32_t i = 0; i < n; ++i) {
        if (i % step == 0)
            host.setLabel6(decimal(i + 1) + u" / " + decimal(n));
        host.processPendingMessages();
        if (!host.runFlag())
            break;
        const ObjectRef entity = set->call(u"Item", {Variant(i)}).toObject();
        auto& hit = hits[static_cast<size_t>(i)];
        hit.text = entity->get(u"TextString").toString();
        hit.sHnd = entity->get(u"Handle").toString();
        hit.index = i;
        hit.insPt = entity->get(u"InsertionPoint");
        hit.lay = entity->get(u"Layer").toString();
    }
}

// Shows the hits in the grid, or one empty row without a hit.
void listHits(SearchContext& context)
{
    auto& grid = context.StringGrid2;
    const auto& hits = context.SearchHits;
    const int rows = hits.empty() ? 1 : static_cast<int>(hits.size());
    grid.beginUpdate();
    const common::ScopeExit endUpdate([&grid]() noexcept { grid.endUpdate(); });
    grid.setRowCount(rows);
    if (hits.empty()) {
        grid.setCellText(0, 0, {});
        grid.setCellObject(0, 0, 0);
        return;
    }
    for (int row = 0; row < rows; ++row) {
        // Rows not reached yet still name hits of the previous search: the user's clicks
        // and keys wait until every row names its own.
        if (row > 0 && row % kRowsBetweenRepaints == 0)
            context.host.processMessagesHoldingInput();
        grid.setCellText(0, row, hits[static_cast<size_t>(row)].text);
        grid.setCellObject(0, row, row + 1);
    }
}

void runSearch(SearchContext& context)
{
    auto& host = context.host;
    const auto& link = context.link;

    // The hits are read into a list of their own and replace SearchHits only at the end:
    // until then the grid's rows keep naming the hits they were listed from, so an Enter or
    // "更新" while the search pumps messages, or an error on the way, cannot write a row's
    // text into another TEXT.
    std::vector<editor::Kelvo2> found = context.SearchHits;
    std::u16string lockedLayers;
    if (cadlink::IsCadRunning(link)) {
        host.setRunFlag(true);
        const ObjectRef application = cadlink::getApplication(link);
        cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::Search);
        try {
            readHits(context, *application, lockedLayers, found);
        } catch (const automation::AutomationError&) {
            // The hits read so far are listed; the rest stay empty rows.
        }
        cadlink::endWindowSteps(link, *application, cadlink::WindowSteps::Search);
    } else {
        cadlink::ForceForeground(link.windows, link.ownWindow.handle());
    }

    if (host.runFlag()) {
        SortHitsByText(found, [&host](const std::u16string& text) {
            host.setLabel6(text);
            host.processPendingMessages();
        });
        if (lockedLayers.size() > 1) {
            for (auto& hit : found)
                hit.locked = cadlink::isOnLockedLayer(lockedLayers, hit.lay);
        }
        context.SearchHits = std::move(found);
        listHits(context);
        if (context.SearchHits.empty())
            host.setStatusPanelText(0, {});
        showRow(context, 0);
        context.FUndoCells2.Clear();
        context.sgUndoCnt2 = 0;
    } else {
        context.SearchHits.clear();
        listHits(context);
    }
}

}  // namespace

std::u16string searchPattern(std::u16string_view text, MatchPosition position)
{
    if (text.empty())
        return u"*";
    std::u16string pattern(text);
    pattern += u"*";
    if (position == MatchPosition::Partial)
        pattern.insert(0, u"*");
    return pattern;
}

void SpeedButton14Click(SearchContext& context)
{
    auto& host = context.host;
    host.setStatusPanelText(0, {});
    host.setStatusPanelText(1, {});
    host.setEdit3Enabled(false);
    // Back at rest on every way out, an error included: a search that cannot start must not
    // leave the button reading "中止" and the search text locked.
    const common::ScopeExit atRest([&host]() noexcept {
        try {
            host.setSpeedButton14Caption(std::u16string(kSearchCaption));
            host.setEdit3Enabled(true);
        } catch (...) {
        }
    });

    if (host.SpeedButton14Caption().find(kStopCaption) != std::u16string::npos) {
        host.setRunFlag(false);
        host.processPendingMessages();
        host.setSpeedButton14Caption(std::u16string(kSearchCaption));
        host.setLabel7(std::u16string(kLabel7AtRest));
        return;
    }
    // The loop pumps window messages. A click that lands while a stopped search is still
    // unwinding, or while another page's operation runs, would start a search inside it,
    // sharing and deleting its selection set.
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;

    host.setSpeedButton14Caption(std::u16string(kStopCaption));
    runSearch(context);
}

void repeatSearchForOption(SearchContext& context, bool pageActive)
{
    if (pageActive && !context.host.Edit3Text().empty())
        SpeedButton14Click(context);
}

void SortHitsByText(std::vector<editor::Kelvo2>& hits, const std::function<void(const std::u16string&)>& label)
{
    // char16_t compares as an unsigned code unit, and a prefix sorts before the longer text.
    std::stable_sort(hits.begin(), hits.end(),
                     [](const editor::Kelvo2& a, const editor::Kelvo2& b) { return a.text < b.text; });
    label({});
}

}  // namespace search
