#include "editor/WriteBack.h"

#include "automation/AutomationError.h"
#include "cadlink/CadOperationGuard.h"
#include "common/TextUtil.h"
#include "common/Utf.h"
#include "editor/ChangeBatch.h"
#include "editor/DecimalText.h"
#include "editor/LineEditorContext.h"
#include "editor/Pitch.h"
#include "editor/PlacingPoint.h"

#include <cmath>
#include <string>

namespace editor {

using automation::ObjectRef;
using automation::Variant;

namespace {

std::u16string progress(int64_t position, int64_t lines)
{
    return decimal(position) + u" / " + decimal(lines);
}

bool isAttribute(const Kelvo& record)
{
    return record.parentType == u"INSERT";
}

void writeTextWhenDifferent(automation::Object& entity, const std::u16string& text)
{
    if (entity.get(u"TextString").toString() != text)
        entity.put(u"TextString", Variant(text));
}

class WriteBackRun {
public:
    explicit WriteBackRun(LineEditorContext& context, automation::Object& document)
        : host_(context.host), records_(context.TextEntities), document_(document)
    {
    }

    // The pairing pass: line r with record i. Returns the line cursor where it stopped.
    int pairLines()
    {
        int r = 0;
        const size_t n = records_.size();
        for (size_t i = 0; i < n; ++i) {
            host_.setLabel2(progress(static_cast<int64_t>(i) + 1, host_.lineCount()));
            if (!records_[i].sHnd.empty())
                r = pairRecordWithEntity(records_[i], r);
            else if (!isAttribute(records_[i]))
                r = recreateText(i, r);
            host_.processPendingMessages();
            if (!host_.runFlag())
                break;
        }
        return r;
    }

    // Lines past the last record become new TEXTs on the dX/dY step.
    void addLines(int r)
    {
        if (!FindTemplateEntity(document_, records_, template_))
            return;
        if (host_.lineCount() <= r)
            return;
        const Pitch pitch = readPitch(host_);
        if (std::fabs(pitch.dX) < 0.001 && std::fabs(pitch.dY) < 0.001) {
            host_.showMessage(u"dX, dY が 0 のため、追加を中止しました．");
            return;
        }
        Variant point = records_.back().insPt;
        for (int j = r; j < EffectiveLineCount(host_) && host_.runFlag(); ++j) {
            host_.setLabel2(progress(j + 1, host_.lineCount()));
            const std::u16string line = host_.line(j);
            point = withXY(point, point.doubleAt(0) + pitch.dX, point.doubleAt(1) + pitch.dY);
            Kelvo record;
            if (!common::isBlank(line)) {
                const ObjectRef added = template_->call(u"Copy").toObject();
                const int32_t alignment = added->get(u"Alignment").toInt();
                added->put(placingPointMember(alignment), point);
                added->put(u"TextString", Variant(line));
                record.text = added->get(u"TextString").toString();
                record.sHnd = added->get(u"Handle").toString();
                record.txtAli = alignment;
                record.lay = added->get(u"Layer").toString();
                record.insPt = added->get(placingPointMember(alignment));
                template_ = added;
            } else {
                // No TEXT, but the place stays reserved: the next text lands one step further.
                record.insPt = point;
            }
            records_.push_back(std::move(record));
            host_.processPendingMessages();
        }
    }

private:
    int pairRecordWithEntity(Kelvo& record, int r)
    {
        try {
            const ObjectRef entity = document_.call(u"HandleToObject", {Variant(record.sHnd)}).toObject();
            if (r >= EffectiveLineCount(host_)) {
                if (!isAttribute(record)) {
                    entity->call(u"Delete");
                    record.sHnd.clear();
                }
                return r;
            }
            const std::u16string line = host_.line(r);
            if (!common::isBlank(line) || isAttribute(record)) {
                writeTextWhenDifferent(*entity, line);
                template_ = entity;
            } else {
                entity->call(u"Delete");
                record.sHnd.clear();
            }
            return r + 1;
        } catch (const automation::AutomationError&) {
            // An entity erased or locked meanwhile is skipped; its line is used up all the same.
            return r < EffectiveLineCount(host_) ? r + 1 : r;
        }
    }

    int recreateText(size_t i, int r)
    {
        Kelvo& record = records_[i];
        if (!template_ && !FindTemplateEntity(document_, records_, template_))
            return r;
        const ObjectRef added = template_->call(u"Copy").toObject();
        if (r >= EffectiveLineCount(host_)) {
            added->call(u"Delete");
            record.sHnd.clear();
            return r;
        }
        if (!record.insPt.isArray())
            placeOneStepAfterPrevious(i);
        const std::u16string line = host_.line(r);
        if (common::isBlank(line)) {
            added->call(u"Delete");
            record.sHnd.clear();
            return r + 1;
        }
        writeTextWhenDifferent(*added, line);
        added->put(u"Alignment", Variant(records_.back().txtAli));
        const int32_t alignment = added->get(u"Alignment").toInt();
        added->put(placingPointMember(alignment), record.insPt);
        record.lay = added->get(u"Layer").toString();
        record.sHnd = added->get(u"Handle").toString();
        return r + 1;
    }

    // A record that got no point when it was made (the pitch was zero then) takes its place
    // one step of the pitch now set after the record before it, as the adding pass would have
    // placed it; so does the blank line's record, which keeps the place reserved.
    void placeOneStepAfterPrevious(size_t i)
    {
        if (i == 0 || !records_[i - 1].insPt.isArray())
            return;
        const Pitch pitch = readPitch(host_);
        const Variant& previous = records_[i - 1].insPt;
        records_[i].insPt =
            withXY(previous, previous.doubleAt(0) + pitch.dX, previous.doubleAt(1) + pitch.dY);
    }

    LineEditorHost& host_;
    std::vector<Kelvo>& records_;
    automation::Object& document_;
    ObjectRef template_;
};

// After the run, a TEXT editor has one record per line up to the last non-blank one.
// Records past the lines still holding a TEXT stay when the run was cut short, so that the
// next write-back deletes those TEXTs instead of losing track of them. Records added here
// get the point and alignment the adding pass would have given them, so that text typed on
// their line later is re-created where the user expects it. A zero pitch, which the adding
// pass refused, gives no point: every such record would sit on the last one's point, and the
// next write-back places them on the pitch set by then.
void resizeToLines(std::vector<Kelvo>& records, int lines, bool completed, const Pitch& pitch)
{
    const bool zeroPitch = std::fabs(pitch.dX) < 0.001 && std::fabs(pitch.dY) < 0.001;
    const auto target = static_cast<size_t>(lines);
    if (records.size() > target) {
        size_t keep = target;
        if (!completed)
            for (size_t i = target; i < records.size(); ++i)
                if (!records[i].sHnd.empty())
                    keep = i + 1;
        records.resize(keep);
    }
    while (records.size() < target) {
        Kelvo record;
        if (!records.empty()) {
            record.txtAli = records.back().txtAli;
            const Variant& last = records.back().insPt;
            if (last.isArray() && !zeroPitch)
                record.insPt = withXY(last, last.doubleAt(0) + pitch.dX, last.doubleAt(1) + pitch.dY);
        }
        records.push_back(std::move(record));
    }
}

}  // namespace

int EffectiveLineCount(const LineEditorHost& host)
{
    int count = host.lineCount();
    while (count > 0 && common::isBlank(host.line(count - 1)))
        --count;
    return count;
}

bool FindTemplateEntity(automation::Object& document, const std::vector<Kelvo>& TextEntities,
                        ObjectRef& templateEntity)
{
    bool anyHandle = false;
    for (auto record = TextEntities.rbegin(); record != TextEntities.rend(); ++record) {
        if (record->sHnd.empty())
            continue;
        anyHandle = true;
        try {
            templateEntity = document.call(u"HandleToObject", {Variant(record->sHnd)}).toObject();
            return true;
        } catch (const automation::AutomationError&) {
            // Erased meanwhile: an older text still makes a good template.
        }
    }
    // With no handle left, the template held can only be a TEXT this run has deleted since.
    return anyHandle && templateEntity != nullptr;
}

void SpeedButton2Click(LineEditorContext& context)
{
    cadlink::CadOperationGuard guard(context.fields.cadOperationRunning);
    if (!guard.acquired())
        return;
    auto& host = context.host;
    auto& records = context.TextEntities;
    const auto& link = context.link;
    if (host.lineCount() == 0 || !cadlink::IsCadRunning(link))
        return;

    const ObjectRef application = cadlink::getApplication(link);
    cadlink::beginWindowSteps(link, *application, cadlink::WindowSteps::WriteBack);
    const ObjectRef document = application->get(u"ActiveDocument").toObject();

    ChangeBatch batch(host, *document);
    bool completed = false;
    bool failed = false;
    try {
        batch.begin();
        if (!records.empty()) {
            batch.openUndoGroup();
            WriteBackRun run(context, *document);
            const int r = run.pairLines();
            if (!context.fields.ATTmode && host.runFlag())
                run.addLines(r);
            completed = host.runFlag();
        } else {
            completed = true;
        }
        batch.finish();
    } catch (const std::exception&) {
        batch.fail(u"エラーのため、更新を中止しました．");
        failed = true;
    }
    if (!context.fields.ATTmode)
        resizeToLines(records, EffectiveLineCount(host), completed, readPitch(host));
    host.setLabel2Visible(false);
    host.setSpeedButton3Visible(true);
    try {
        document->call(u"Regen", {Variant(int32_t{0})});
    } catch (const automation::AutomationError&) {
        // The user has just been told the write-back failed; a CAD application that is gone
        // fails the Regen too, and a second box would only repeat it.
        if (!failed)
            throw;
    }
}

}  // namespace editor
