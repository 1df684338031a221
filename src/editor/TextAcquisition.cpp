#include "editor/TextAcquisition.h"

#include "automation/AutomationError.h"
#include "common/Utf.h"
#include "editor/AcquisitionSteps.h"
#include "editor/LineEditorContext.h"
#include "editor/Pitch.h"
#include "editor/PlacingPoint.h"
#include "editor/records/OrderByCoordinates.h"

#include <string>

namespace editor {

using automation::ObjectRef;
using automation::Variant;

namespace {

// Lets the user pick and reads the picked TEXTs. True when at least one was taken. The
// records replace the editor's content only once all of them are read: an error halfway
// leaves the previous records and lines paired as they were.
bool pickTexts(LineEditorContext& context, automation::Object& set, const std::u16string& lockedLayers)
{
    auto& host = context.host;
    set.call(u"Clear");
    try {
        set.call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    } catch (const automation::AutomationError&) {
        // A cancelled pick: whatever the set holds now is the selection.
    }
    const int32_t n = set.get(u"Count").toInt();
    if (n <= 0)
        return false;

    std::vector<Kelvo> records;
    records.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const ObjectRef entity = set.call(u"Item", {Variant(i)}).toObject();
        const std::u16string layer = entity->get(u"Layer").toString();
        if (cadlink::isOnLockedLayer(lockedLayers, layer))
            continue;
        host.processPendingMessages();
        Kelvo record;
        record.text = entity->get(u"TextString").toString();
        record.sHnd = entity->get(u"Handle").toString();
        record.index = static_cast<int32_t>(records.size());
        record.txtAli = entity->get(u"Alignment").toInt();
        record.insPt = entity->get(placingPointMember(record.txtAli));
        record.lay = layer;
        records.push_back(std::move(record));
    }

    const auto taken = static_cast<int32_t>(records.size());
    if (n > taken)
        host.showMessage(u"ロック画層のTEXT " + common::fromAscii(std::to_string(n - taken)) + u" 個を除外しました.");
    if (taken > 0 && host.CheckBox1Checked())
        OrderByCoordinates(records, 3);
    loadIntoEditor(context, std::move(records));
    return taken > 0;
}

}  // namespace

void SpeedButton1Click(LineEditorContext& context)
{
    runAcquisition(
        context, false,
        [&context](automation::Object& document) {
            const std::u16string lockedLayers = cadlink::lockedLayerList(document);
            return withWorkSelectionSet(
                document, [&](automation::Object& set) { return pickTexts(context, set, lockedLayers); });
        },
        [&context] {
            proposePitch(context, ZeroPitchMessage::Show);
            context.host.setSpeedButton6Enabled(context.TextEntities.size() >= 2);
        });
}

}  // namespace editor
