#include "editor/AcquisitionSteps.h"

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

}  // namespace editor
