#pragma once

#include "kelvocad/model/DrawingRecords.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kelvocad {

// What an entity was before one change. A client writing entity after entity changes one
// field of each, so the common changes keep only the fields they touched; anything else
// keeps the whole entity.
struct TextStringBefore {
    std::u16string string;
};
struct TextPlaceBefore {
    Point3 insertionPoint;
    Point3 alignmentPoint;
};
struct AttributeStringBefore {
    uint32_t attribute = 0;  // index in the block reference's attributes
    std::u16string string;
};
using EntityBefore = std::variant<std::monostate,  // the change created the entity
                                  std::unique_ptr<const ModelEntity>, TextStringBefore, TextPlaceBefore,
                                  AttributeStringBefore>;

// One change to model space: what the entity was before it and where it stood, so an
// undone erase puts it back in its place.
struct EntityChange {
    std::u16string handle;
    size_t position = 0;
    EntityBefore before;
};

// The changes grouped into undo steps. Marks nest the way a CAD's undo groups do: only
// the outermost StartUndoMark opens a group and only its matching EndUndoMark closes it;
// an EndUndoMark with no open group is ignored, and a change made outside any group is a
// step of its own.
//
// The history is kept within a memory budget, so that a drawing host that clients write to
// for days does not grow without end: once the closed steps hold more than the budget, the
// oldest ones are forgotten. The newest closed step and the open group are always kept
// whole, however large.
class UndoJournal {
public:
    static constexpr size_t defaultBudgetBytes = size_t{64} << 20;

    explicit UndoJournal(size_t budgetBytes = defaultBudgetBytes) : budgetBytes_(budgetBytes) {}

    void startMark();
    void endMark();
    int markDepth() const noexcept { return depth_; }

    void record(EntityChange change);

    // Removes and returns the last step, the changes in the order they were made. An open
    // group is closed first, so everything a caller did since its StartUndoMark goes at once.
    std::optional<std::vector<EntityChange>> takeLastStep();

    size_t stepCount() const noexcept { return stepStarts_.size() + (openHasChanges() ? 1 : 0); }
    void clear();

    // About what the history holds, in bytes (the figure the budget is kept by).
    size_t sizeBytes() const noexcept { return closedBytes_ + openBytes_; }
    void setBudgetBytes(size_t budgetBytes);

    static size_t bytesOf(const EntityChange& change);

private:
    bool openHasChanges() const noexcept { return depth_ > 0 && changes_.size() > closedEnd_; }
    void closeGroup();
    void forgetOldestBeyondBudget();

    // Every change, steps one after the other: a step starts at each of stepStarts_ and
    // ends where the next one starts, the last closed one at closedEnd_; the changes after
    // closedEnd_ belong to the open group.
    std::deque<EntityChange> changes_;
    std::deque<size_t> stepStarts_;
    size_t closedEnd_ = 0;
    size_t closedBytes_ = 0;
    size_t openBytes_ = 0;
    size_t budgetBytes_;
    int depth_ = 0;
};

}  // namespace kelvocad
