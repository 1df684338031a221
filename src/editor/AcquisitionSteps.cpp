#include "editor/AcquisitionSteps.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/ScopeExit.h"
#include "editor/LineEditorContext.h"

namespace editor {

void clearAcquisitionLabels(LineEditorHost& host)
{
    host.setLabel1({});
    host.setLabel2({});
    host.setStatusPanelText(0, {});
    host.setStatusPanelText(1, {});
}

void loadIntoEditor(LineEditorContext& context, std::vector<Kelvo> records)
{
    context.TextEntities = std::move(records);
    context.fields.undoFlag = false;
    context.host.setSpeedButton4Enabled(false);
    std::vector<std::u16string> lines;
    lines.reserve(context.TextEntities.size());
    for (const auto& record : context.TextEntities)
        lines.push_back(record.text);
    context.host.replaceLines(lines);
    context.host.caretToStart();
}

void restoreMainWindow(const cadlink::CadLink& link)
{
    link.ownWindow.showNormal();
    cadlink::ForceForeground(link.windows, link.ownWindow.handle());
}

void runAcquisition(LineEditorContext& context, bool attributeMode,
                    const std::function<bool(automation::Object& document)>& pick,
                    const std::function<void()>& loaded)
{
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;
    const auto& link = context.link;
    clearAcquisitionLabels(context.host);
    context.fields.ATTmode = attributeMode;
    // The main window is minimised during the pick.
    const common::ScopeExit restore([&link]() noexcept {
        try {
            restoreMainWindow(link);
        } catch (...) {
        }
    });
    if (!cadlink::IsCadRunning(link))
        return;

    bool picked = false;
    {
        const automation::ObjectRef application = cadlink::getApplication(link);
        cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::Acquisition);
        const automation::ObjectRef document = application->get(u"ActiveDocument").toObject();
        picked = pick(*document);
    }
    if (picked)
        loaded();
}

bool withWorkSelectionSet(automation::Object& document, const std::function<bool(automation::Object& set)>& use)
{
    automation::ObjectRef set = cadlink::AcquireWorkSelectionSet(document);
    if (!set)
        throw automation::AutomationError(automation::hr::Fail, u"The selection set SSTEMP is not available");
    const common::ScopeExit dispose([&set]() noexcept { cadlink::disposeWorkSelectionSet(set); });
    return use(*set);
}

}  // namespace editor
