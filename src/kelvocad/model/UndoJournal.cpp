#include "kelvocad/model/UndoJournal.h"

namespace kelvocad {

void UndoJournal::startMark()
{
    ++depth_;
}

void UndoJournal::endMark()
{
    if (depth_ == 0)
        return;
    if (--depth_ == 0)
        closeGroup();
}

void UndoJournal::closeGroup()
{
    // A group without changes would make an undo step that visibly does nothing.
    if (!open_.empty())
        steps_.push_back(std::move(open_));
    open_.clear();
}

void UndoJournal::record(EntityChange change)
{
    if (depth_ > 0)
        open_.push_back(std::move(change));
    else
        steps_.push_back({std::move(change)});
}

std::optional<std::vector<EntityChange>> UndoJournal::takeLastStep()
{
    if (depth_ > 0) {
        depth_ = 0;
        closeGroup();
    }
    if (steps_.empty())
        return std::nullopt;
    auto step = std::move(steps_.back());
    steps_.pop_back();
    return step;
}

void UndoJournal::clear()
{
    steps_.clear();
    open_.clear();
    depth_ = 0;
}

}  // namespace kelvocad
