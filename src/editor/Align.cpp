#include "editor/Align.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/TextUtil.h"
#include "common/Utf.h"
#include "editor/ChangeBatch.h"
#include "editor/DecimalText.h"
#include "editor/LineEditorContext.h"
#include "editor/Pitch.h"
#include "editor/PlacingPoint.h"
#include "editor/WriteBack.h"

#include <cmath>
#include <string>
#include <utility>

namespace editor {

using automation::ObjectRef;
using automation::Variant;

namespace {

std::u16string progress(size_t position, int lines)
{
    return decimal(static_cast<int64_t>(position)) + u" / " + decimal(lines);
}

class AlignRun {
public:
    AlignRun(LineEditorContext& context, automation::Object& document, const Pitch& pitch)
        : host_(context.host), records_(context.TextEntities), document_(document), pitch_(pitch)
    {
    }

    void placeRecords()
    {
        // The first record's point is the base, so the first text keeps its place.
        x0_ = records_.front().insPt.doubleAt(0);
        y0_ = records_.front().insPt.doubleAt(1);
        const size_t n = records_.size();
        for (size_t i = 0; i < n; ++i) {
            host_.setLabel2(progress(i + 1, host_.lineCount()));
            Kelvo& record = records_[i];
            if (!record.sHnd.empty()) {
                if (static_cast<int>(i) < EffectiveLineCount(host_))
                    placeEntity(record, i);
            } else {
                placeNewText(record, i);
            }
        }
    }

    void addLines()
    {
        const size_t n = records_.size();
        const int lines = EffectiveLineCount(host_);
        if (static_cast<size_t>(lines) <= n)
            return;
        if (!template_ && !FindTemplateEntity(document_, records_, template_))
            return;
        const int32_t alignment = template_->get(u"Alignment").toInt();
        const std::u16string layer = template_->get(u"Layer").toString();
        for (size_t j = n; j < static_cast<size_t>(lines); ++j) {
            Kelvo record;
            record.insPt = Variant::point(gridX(j), gridY(j), 0.0);
            record.txtAli = alignment;
            record.lay = layer;
            const std::u16string line = host_.line(static_cast<int>(j));
            if (!common::isBlank(line))
                makeText(record, line);
            records_.push_back(std::move(record));
        }
    }

    // TEXTs of records past the last line are deleted; the records stay, without handle.
    void deleteSurplus()
    {
        const size_t m = records_.size();
        const auto lines = static_cast<size_t>(EffectiveLineCount(host_));
        if (lines >= m)
            return;
        for (size_t i = lines; i < m; ++i) {
            Kelvo& record = records_[i];
            if (record.sHnd.empty())
                continue;
            const std::u16string handle = std::exchange(record.sHnd, {});
            if (const ObjectRef entity = resolve(handle))
                entity->call(u"Delete");
        }
        document_.call(u"Regen", {Variant(int32_t{0})});
    }

private:
    double gridX(size_t i) const { return static_cast<double>(i) * pitch_.dX + x0_; }
    double gridY(size_t i) const { return static_cast<double>(i) * pitch_.dY + y0_; }

    // Null when the handle no longer resolves: that record is skipped, and no other entity
    // is touched in its place.
    ObjectRef resolve(const std::u16string& handle)
    {
        try {
            return document_.call(u"HandleToObject", {Variant(handle)}).toObject();
        } catch (const automation::AutomationError&) {
            return nullptr;
        }
    }

    void placeEntity(Kelvo& record, size_t i)
    {
        record.insPt = withXY(record.insPt, gridX(i), gridY(i));
        const ObjectRef entity = resolve(record.sHnd);
        if (!entity)
            return;
        entity->put(placingPointMember(record.txtAli), record.insPt);
        const std::u16string line = host_.line(static_cast<int>(i));
        if (!common::isBlank(line)) {
            if (entity->get(u"TextString").toString() != line)
                entity->put(u"TextString", Variant(line));
            template_ = entity;
            entity->call(u"Update");
        } else {
            entity->call(u"Delete");
            record.sHnd.clear();
        }
    }

    void placeNewText(Kelvo& record, size_t i)
    {
        if (!template_ && !FindTemplateEntity(document_, records_, template_))
            return;
        record.txtAli = template_->get(u"Alignment").toInt();
        record.lay = template_->get(u"Layer").toString();
        record.insPt = withXY(template_->get(placingPointMember(record.txtAli)), gridX(i), gridY(i));
        const std::u16string line = host_.line(static_cast<int>(i));
        if (static_cast<int>(i) < EffectiveLineCount(host_) && !common::isBlank(line))
            makeText(record, line);
    }

    void makeText(Kelvo& record, const std::u16string& line)
    {
        const ObjectRef added = template_->call(u"Copy").toObject();
        record.sHnd = added->get(u"Handle").toString();
        record.text = line;
        added->put(u"TextString", Variant(line));
        added->put(placingPointMember(record.txtAli), record.insPt);
        added->call(u"Update");
    }

    LineEditorHost& host_;
    std::vector<Kelvo>& records_;
    automation::Object& document_;
    Pitch pitch_;
    double x0_ = 0.0;
    double y0_ = 0.0;
    ObjectRef template_;
};

}  // namespace

void SpeedButton6Click(LineEditorContext& context)
{
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;
    auto& host = context.host;
    const auto& link = context.link;
    if (!cadlink::IsCadRunning(link))
        return;

    const ObjectRef application = cadlink::getApplication(link);
    cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::ChangeBatch);
    const ObjectRef document = application->get(u"ActiveDocument").toObject();

    ChangeBatch batch(host, *document);
    try {
        batch.begin();
        batch.openUndoGroup();
        if (context.TextEntities.size() > 1) {
            const Pitch pitch = readPitch(host);
            AlignRun run(context, *document, pitch);
            // A step of a hundredth or less would pile the texts up; nothing is placed then.
            if (std::fabs(pitch.dX) > 0.01 || std::fabs(pitch.dY) > 0.01) {
                run.placeRecords();
                run.addLines();
            }
            run.deleteSurplus();
        }
        batch.finish();
    } catch (const std::exception&) {
        batch.fail(u"エラーのため、更新処理を中止しました．");
    }
    host.setLabel2Visible(false);
    host.setSpeedButton3Visible(true);
}

}  // namespace editor
