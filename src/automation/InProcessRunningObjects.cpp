#include "automation/InProcessRunningObjects.h"

#include "automation/AutomationError.h"

#include <algorithm>

namespace automation {

InProcessRunningObjects::Entry* InProcessRunningObjects::find(std::u16string_view progId)
{
    for (auto& entry : entries_)
        if (memberNameEquals(entry.progId, progId))
            return &entry;
    return nullptr;
}

InProcessRunningObjects::Entry& InProcessRunningObjects::registered(std::u16string_view progId)
{
    Entry* entry = find(progId);
    if (!entry)
        throw AutomationError(hr::InvalidClassString, u"Invalid class string: " + std::u16string(progId));
    return *entry;
}

void InProcessRunningObjects::registerProgId(std::u16string_view progId)
{
    if (!find(progId))
        entries_.push_back({std::u16string(progId), false, nullptr});
}

void InProcessRunningObjects::unregisterProgId(std::u16string_view progId)
{
    std::erase_if(entries_, [&](const Entry& entry) { return memberNameEquals(entry.progId, progId); });
}

void InProcessRunningObjects::announce(std::u16string_view progId, ObjectRef object)
{
    registerProgId(progId);
    Entry& entry = *find(progId);
    entry.running = true;
    entry.object = std::move(object);
}

void InProcessRunningObjects::revoke(std::u16string_view progId)
{
    if (Entry* entry = find(progId)) {
        entry->running = false;
        entry->object = nullptr;
    }
}

bool InProcessRunningObjects::isRunning(std::u16string_view progId)
{
    return registered(progId).running;
}

ObjectRef InProcessRunningObjects::activeObject(std::u16string_view progId)
{
    Entry& entry = registered(progId);
    if (!entry.running)
        throw AutomationError(hr::NotRunning, u"Operation unavailable: no running instance of " + entry.progId);
    if (!entry.object)
        throw AutomationError(hr::NoInterface, u"The running object offers no Automation interface");
    return entry.object;
}

}  // namespace automation
