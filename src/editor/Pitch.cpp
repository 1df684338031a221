#include "editor/Pitch.h"

#include "editor/LineEditorContext.h"
#include "editor/NumberConversionError.h"

namespace editor {

Pitch readPitch(const LineEditorHost& host)
{
    return {host.parseNumber(host.Edit1Text()).value_or(0.0), host.parseNumber(host.Edit2Text()).value_or(0.0)};
}

Pitch readPitchStrict(const LineEditorHost& host)
{
    const auto number = [&](const std::u16string& text) {
        const auto value = host.parseNumber(text);
        if (!value)
            throw NumberConversionError(text);
        return *value;
    };
    return {number(host.Edit1Text()), number(host.Edit2Text())};
}

void proposePitch(LineEditorContext& context, ZeroPitchMessage message)
{
    auto& records = context.TextEntities;
    auto& host = context.host;
    Pitch pitch;
    if (records.size() >= 2) {
        const auto& last = records[records.size() - 1].insPt;
        const auto& before = records[records.size() - 2].insPt;
        pitch.dX = last.doubleAt(0) - before.doubleAt(0);
        pitch.dY = last.doubleAt(1) - before.doubleAt(1);
    }
    host.setEdit1Text(host.formatNumber(pitch.dX));
    host.setEdit2Text(host.formatNumber(pitch.dY));
    // Read back, so that a step that rounds to 0.00 counts as zero.
    pitch = readPitch(host);
    const bool zero = pitch.dX == 0.0 && pitch.dY == 0.0;
    host.setPitchBoxesRed(zero);
    if (zero && message == ZeroPitchMessage::Show)
        host.showMessage(u"dX, dY が 0 です．\rdX, dY の値を設定するか、[取得]で複数の TEXT を選択してください．");
    host.setSpeedButton2Enabled(!records.empty());
}

}  // namespace editor
