#include "editor/LineEditorBehaviour.h"

#include "common/Utf.h"
#include "editor/DecimalText.h"
#include "editor/LineEditorContext.h"
#include "editor/Pitch.h"
#include "editor/PlacingPoint.h"
#include "editor/WriteBack.h"

#include <algorithm>
#include <optional>
#include <string>

namespace editor {

using automation::Variant;

namespace {

// The point the caret line stands for, if any.
std::optional<Variant> caretPoint(const LineEditorContext& context, int caretY)
{
    const auto& records = context.TextEntities;
    const auto n = static_cast<int>(records.size());
    if (caretY < 1)
        return std::nullopt;
    if (caretY <= n)
        return records[static_cast<size_t>(caretY - 1)].insPt;
    if (context.fields.ATTmode)
        return std::nullopt;
    const Pitch pitch = readPitchStrict(context.host);
    const Variant& last = records.back().insPt;
    if (!last.isArray())
        return std::nullopt;
    const double steps = caretY - n;
    return withXY(last, last.doubleAt(0) + pitch.dX * steps, last.doubleAt(1) + pitch.dY * steps);
}

}  // namespace

void UndoMark(LineEditorContext& context, bool flag)
{
    UndoMark(context.host, context.fields, flag);
}

void UndoMark(LineEditorHost& host, LineEditorFields& fields, bool flag)
{
    if (flag)
        fields.undoText = host.text();
    else
        host.setText(fields.undoText);
    host.setSpeedButton4Enabled(flag);
    fields.undoFlag = flag;
}

void SpeedButton4Click(LineEditorContext& context)
{
    SpeedButton4Click(context.host, context.fields);
}

void SpeedButton4Click(LineEditorHost& host, LineEditorFields& fields)
{
    if (host.canUndo())
        host.undoOneStep();
    else
        UndoMark(host, fields, false);
}

void SpeedButton5Click(LineEditorContext& context)
{
    SpeedButton5Click(context.host);
}

void SpeedButton5Click(LineEditorHost& host)
{
    host.setRunFlag(false);
    host.processPendingMessages();
    host.setSpeedButton5Enabled(false);
}

void N20Click(LineEditorContext& context)
{
    N20Click(context.host, context.fields);
}

void N20Click(LineEditorHost& host, LineEditorFields& fields)
{
    UndoMark(host, fields, true);
    host.replaceLines({});
}

void CaretYChanged(LineEditorContext& context, int caretY)
{
    if (caretY == context.fields.CaretY_Old)
        return;
    // A click while an operation pumps messages must not start CAD calls of its own; the
    // line is handled at the next caret move once the operation has ended.
    if (context.fields.cadOperationRunning)
        return;
    std::optional<Variant> point;
    if (context.host.CheckBox9Checked() && !context.TextEntities.empty())
        point = caretPoint(context, caretY);
    if (point && point->isArray()) {
        try {
            if (cadlink::IsCadRunning(context.link)) {
                const auto application = cadlink::getApplication(context.link);
                cadlink::ZoomToEntity(context.link.windows, *application, *point, 3, false, 0.05);
            }
        } catch (const std::exception&) {
            // Following the caret is a convenience; a CAD that does not answer is left alone.
        }
    }
    context.fields.CaretY_Old = caretY;
}

int selectedRowCount(std::u16string_view selectedText)
{
    if (selectedText.empty())
        return 0;
    const auto feeds = static_cast<int>(std::count(selectedText.begin(), selectedText.end(), u'\n'));
    return selectedText.back() == u'\n' ? feeds : feeds + 1;
}

void refreshLineEditorStatus(LineEditorContext& context)
{
    refreshLineEditorStatus(context.host, context.TextEntities, context.fields);
}

void refreshLineEditorStatus(LineEditorHost& host, const std::vector<Kelvo>& TextEntities, LineEditorFields& fields)
{
    const auto records = static_cast<int>(TextEntities.size());
    fields.iLineLast = fields.ATTmode ? records : EffectiveLineCount(host);
    host.setLabel1(u"取得データ数 = " + decimal(fields.iLineLast));

    const int caretLine = host.caretLine();
    EditorBackground background = EditorBackground::Window;
    if (records < caretLine)
        background = fields.ATTmode ? EditorBackground::Yellow : EditorBackground::PaleCyan;
    if (host.editorBackground() != background)
        host.setEditorBackground(background);

    const bool undoEnabled = host.canUndo() || fields.undoFlag;
    if (host.SpeedButton4Enabled() != undoEnabled)
        host.setSpeedButton4Enabled(undoEnabled);

    const std::u16string rows = u"selRows = " + decimal(selectedRowCount(host.selectedText()));
    if (host.statusPanelText(1) != rows)
        host.setStatusPanelText(1, rows);
    const std::u16string position = u"Row = " + decimal(caretLine) + u" / " + decimal(fields.iLineLast) +
                                    u" Col= " + decimal(host.caretColumn());
    if (host.statusPanelText(0) != position)
        host.setStatusPanelText(0, position);
}

PopupMenuEnabling popupMenuEnabling(int lineCount, bool selectionEmpty)
{
    return {lineCount > 0, !selectionEmpty};
}

}  // namespace editor
