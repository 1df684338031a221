#pragma once

#include "automation/Object.h"

#include <atomic>
#include <cstdint>
#include <unordered_map>

namespace automation::socket {

// The objects one connection's client holds references to. Each time an object is sent to
// the client its count goes up; a release message takes the client's references back.
// The same object always gets the same id while it is in the table, so identity survives
// the round trip.
class ObjectTable {
public:
    // `total`, if given, is kept equal to the sum of the sizes of all tables sharing it.
    explicit ObjectTable(std::atomic<int64_t>* total = nullptr) : total_(total) {}
    ~ObjectTable() { clear(); }
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    int64_t exportObject(const ObjectRef& object);

    // Throws AutomationError(hr::InvalidArg) for an id that is not in the table.
    ObjectRef lookup(int64_t id) const;

    // Unknown ids and counts above what is held are tolerated: a confused client must not
    // be able to do more than drop its own references.
    void release(int64_t id, int64_t count);

    void clear();
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        ObjectRef object;
        int64_t count = 0;
    };

    std::unordered_map<int64_t, Entry> entries_;
    std::unordered_map<const Object*, int64_t> ids_;
    int64_t nextId_ = 1;
    std::atomic<int64_t>* total_;
};

}  // namespace automation::socket
