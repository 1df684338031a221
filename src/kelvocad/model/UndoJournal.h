#pragma once

#include "kelvocad/model/DrawingRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvocad {

// One change to model space: the entity as it was before (none when the change created it)
// and where it stood, so an undone erase puts it back in its place.
struct EntityChange {
    std::u16string handle;
    size_t position = 0;
    std::optional<ModelEntity> before;
};

// The changes grouped into undo steps. Marks nest the way a CAD's undo groups do: only
// the outermost StartUndoMark opens a group and only its matching EndUndoMark closes it;
// an EndUndoMark with no open group is ignored, and a change made outside any group is a
// step of its own.
class UndoJournal {
public:
    void startMark();
    void endMark();
    int markDepth() const noexcept { return depth_; }

    void record(EntityChange change);

    // Removes and returns the last step, the changes in the order they were made. An open
    // group is closed first, so everything a caller did since its StartUndoMark goes at once.
    std::optional<std::vector<EntityChange>> takeLastStep();

    size_t stepCount() const noexcept { return steps_.size() + (open_.empty() ? 0 : 1); }
    void clear();

private:
    void closeGroup();

    std::vector<std::vector<EntityChange>> steps_;
    std::vector<EntityChange> open_;
    int depth_ = 0;
};

}  // namespace kelvocad
