#include "kelvocad/objects/CadSession.h"

#include "automation/AutomationError.h"
#include "common/Utf.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/SampleDrawing.h"
#include "kelvocad/objects/ApplicationObject.h"
#include "kelvocad/objects/AttributeDefinitionObject.h"
#include "kelvocad/objects/AttributeReferenceObject.h"
#include "kelvocad/objects/BlockReferenceObject.h"
#include "kelvocad/objects/CadObject.h"
#include "kelvocad/objects/ScriptedPicker.h"
#include "kelvocad/objects/TextObject.h"

namespace kelvocad {

using automation::AutomationError;
namespace hr = automation::hr;

CadSession::CadSession(std::shared_ptr<Drawing> drawing) : drawing_(std::move(drawing))
{
    auto scripted = std::make_shared<ScriptedPicker>();
    scripted_ = scripted.get();
    picker_ = std::move(scripted);
}

std::shared_ptr<CadSession> CadSession::create(std::shared_ptr<Drawing> drawing)
{
    if (!drawing)
        drawing = makeSampleDrawing();
    return std::shared_ptr<CadSession>(new CadSession(std::move(drawing)));
}

void CadSession::replaceDrawing(std::shared_ptr<Drawing> drawing)
{
    drawing_ = std::move(drawing);
    ++documentGeneration_;
    for (auto& set : selectionSets_)
        set->handles.clear();
    notify(SessionEvent::DrawingChanged);
}

automation::ObjectRef CadSession::application()
{
    return std::make_shared<ApplicationObject>(shared_from_this());
}

automation::ObjectRef CadSession::entityObject(std::u16string_view handle)
{
    const std::u16string key = Drawing::normalizeHandle(handle);
    auto kind = drawing_->kindOf(key);
    if (!kind) {
        for (const auto& block : drawing_->blocks())
            for (const auto& definition : block.attributes)
                if (definition.handle == key)
                    return std::make_shared<AttributeDefinitionObject>(shared_from_this(), block.name, key);
        const bool erased = drawing_->wasErased(key);
        throw AutomationError(hr::Exception, erased ? u"Object was erased: " + key : u"Invalid handle: " + key);
    }
    switch (*kind) {
    case EntityKind::Text:
        return std::make_shared<TextObject>(shared_from_this(), key);
    case EntityKind::BlockReference:
        return std::make_shared<BlockReferenceObject>(shared_from_this(), key);
    case EntityKind::AttributeReference:
        return std::make_shared<AttributeReferenceObject>(shared_from_this(), key);
    }
    return nullptr;
}

void CadSession::setScreenSize(int width, int height)
{
    view_.screenWidth = width;
    view_.screenHeight = height;
    notify(SessionEvent::ViewChanged);
}

void CadSession::zoomCenter(const Point3& center, double height)
{
    view_.center = center;
    view_.height = height;
    notify(SessionEvent::ViewChanged);
}

void CadSession::setPicker(std::shared_ptr<PickStrategy> picker)
{
    picker_ = std::move(picker);
    scripted_ = dynamic_cast<ScriptedPicker*>(picker_.get());
}

bool CadSession::undoLastStep()
{
    const bool undone = drawing_->undoLastStep();
    if (undone)
        notify(SessionEvent::DrawingChanged);
    return undone;
}

void CadSession::notify(SessionEvent event)
{
    if (listener_)
        listener_(event);
}

namespace {

std::u16string lowerCase(std::u16string_view name)
{
    std::u16string lower(name);
    for (auto& c : lower)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return lower;
}

}  // namespace

uint64_t CadSession::callCount(std::u16string_view member) const
{
    auto it = memberCounts_.find(lowerCase(member));
    return it == memberCounts_.end() ? 0 : it->second;
}

automation::Variant CadSession::invoke(CadObject& object, MemberAccess access, std::u16string_view member,
                                       std::span<const automation::Variant> args, const automation::Variant* value)
{
    // Keeps the session alive even if a hook or the member drops the last other reference.
    auto self = shared_from_this();
    CallRecord record;
    record.index = ++callCount_;
    ++memberCounts_[lowerCase(member)];
    record.objectKind = object.kind();
    record.objectId = object.id();
    record.member = std::u16string(member);
    record.access = access;
    record.args.assign(args.begin(), args.end());
    if (value)
        record.value = *value;
    try {
        faults_.check(record);
        record.result = object.dispatch(access, member, args, value);
        callLog_.add(record);
        return record.result;
    } catch (const AutomationError& error) {
        record.errorCode = error.code();
        record.errorDescription = error.description();
        callLog_.add(std::move(record));
        throw;
    } catch (const std::exception& error) {
        // Whatever goes wrong inside the server reaches the client as a failed call.
        AutomationError wrapped(hr::Exception, common::fromUtf8(error.what()));
        record.errorCode = wrapped.code();
        record.errorDescription = wrapped.description();
        callLog_.add(std::move(record));
        throw wrapped;
    }
}

}  // namespace kelvocad
