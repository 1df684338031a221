#include "editor/AttributeAcquisition.h"

#include "automation/AutomationError.h"
#include "common/Utf.h"
#include "editor/AcquisitionSteps.h"
#include "editor/DecimalText.h"
#include "editor/LineEditorContext.h"
#include "editor/Pitch.h"
#include "editor/TagItem.h"
#include "editor/records/OrderByCoordinates.h"

#include <optional>
#include <string>

namespace editor {

using automation::ObjectRef;
using automation::Variant;

namespace {

// The block reference's own values, read once for all its matching attributes.
struct OwnerValues {
    std::u16string layer;
    Variant insertionPoint;
};

// Lets the user pick and reads the tag's values. True when the records were loaded into
// the editor; an error halfway leaves the previous records and lines as they were.
bool pickAttributes(LineEditorContext& context, automation::Object& set, const TagItem& item)
{
    auto& host = context.host;
    set.call(u"Clear");
    try {
        const std::u16string mask = item.blockMask.empty() ? std::u16string(u"*") : item.blockMask;
        set.call(u"SelectOnScreen", {Variant::int16Array({0, 2, 66}),
                                     Variant::variantArray({Variant(u"INSERT"), Variant(mask), Variant(int16_t{1})})});
    } catch (const automation::AutomationError&) {
        // A cancelled pick: whatever the set holds now is the selection.
    }
    const int32_t n = set.get(u"Count").toInt();
    host.setLabel2(u"INSERT=" + decimal(n));
    if (n <= 0)
        return false;

    std::vector<Kelvo> records;
    for (int32_t i = 0; i < n; ++i) {
        host.setLabel2(item.tag + u" : " + decimal(i + 1) + u" / " + decimal(n));
        const ObjectRef block = set.call(u"Item", {Variant(i)}).toObject();
        Variant attributes;
        try {
            attributes = block->call(u"GetAttributes");
        } catch (const automation::AutomationError&) {
            continue;  // a reference whose attributes cannot be read gives no line
        }
        if (!attributes.isArray())
            continue;
        std::optional<OwnerValues> owner;
        for (const Variant& element : attributes.elements()) {
            const ObjectRef attribute = element.toObject();
            if (attribute->get(u"TagString").toString() != item.tag)
                continue;
            Kelvo record;
            record.text = attribute->get(u"TextString").toString();
            record.sHnd = attribute->get(u"Handle").toString();
            record.index = static_cast<int32_t>(records.size());
            record.txtAli = attribute->get(u"Alignment").toInt();
            if (!owner)
                owner = OwnerValues{block->get(u"Layer").toString(), block->get(u"InsertionPoint")};
            record.lay = owner->layer;
            record.insPt = owner->insertionPoint;
            record.parentType = u"INSERT";
            records.push_back(std::move(record));
        }
    }

    if (host.CheckBox1Checked())
        OrderByCoordinates(records, 3);
    loadIntoEditor(context, std::move(records));
    host.setLabel2(item.tag + u" = " + decimal(host.lineCount()) + u" / " + decimal(n));
    return true;
}

}  // namespace

void SpeedButton8Click(LineEditorContext& context)
{
    runAcquisition(
        context, true,
        [&context](automation::Object& document) {
            const TagItem item = TagItem::parse(context.host.ComboBox1Text());
            try {
                return withWorkSelectionSet(
                    document, [&](automation::Object& set) { return pickAttributes(context, set, item); });
            } catch (const std::exception&) {
                // Reading attributes ends silently on any error; nothing was loaded.
                return false;
            }
        },
        [&context] {
            proposePitch(context, ZeroPitchMessage::Suppress);
            context.host.setSpeedButton6Enabled(false);
        });
}

}  // namespace editor
