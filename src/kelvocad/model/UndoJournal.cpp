#include "kelvocad/model/UndoJournal.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace kelvocad {

namespace {

size_t bytesOf(const std::u16string& text)
{
    // Short strings live inside the string object.
    constexpr size_t inlineCapacity = 7;
    return text.capacity() > inlineCapacity ? (text.capacity() + 1) * sizeof(char16_t) : 0;
}

template <typename Record>
size_t textBytes(const Record& record)
{
    size_t bytes = bytesOf(record.handle) + bytesOf(record.layer) + bytesOf(record.string);
    if constexpr (std::is_same_v<Record, TextEntity>)
        bytes += bytesOf(record.style);
    else
        bytes += bytesOf(record.tag);
    return bytes;
}

size_t entityBytes(const ModelEntity& entity)
{
    if (const auto* text = std::get_if<TextEntity>(&entity))
        return sizeof(ModelEntity) + textBytes(*text);
    const auto& reference = std::get<BlockReference>(entity);
    size_t bytes = sizeof(ModelEntity) + bytesOf(reference.handle) + bytesOf(reference.name) + bytesOf(reference.layer);
    for (const auto& attribute : reference.attributes)
        bytes += sizeof(AttributeReference) + textBytes(attribute);
    return bytes;
}

}  // namespace

size_t UndoJournal::bytesOf(const EntityChange& change)
{
    size_t bytes = sizeof(EntityChange) + kelvocad::bytesOf(change.handle);
    std::visit(
        [&bytes](const auto& before) {
            using Before = std::decay_t<decltype(before)>;
            if constexpr (std::is_same_v<Before, std::unique_ptr<const ModelEntity>>)
                bytes += entityBytes(*before);
            else if constexpr (std::is_same_v<Before, TextStringBefore> || std::is_same_v<Before, AttributeStringBefore>)
                bytes += kelvocad::bytesOf(before.string);
        },
        change.before);
    return bytes;
}

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
    if (changes_.size() > closedEnd_) {
        stepStarts_.push_back(closedEnd_);
        closedEnd_ = changes_.size();
        closedBytes_ += openBytes_;
        openBytes_ = 0;
        forgetOldestBeyondBudget();
    }
}

void UndoJournal::forgetOldestBeyondBudget()
{
    while (closedBytes_ > budgetBytes_ && stepStarts_.size() > 1) {
        const size_t end = stepStarts_[1];
        for (size_t i = 0; i < end; ++i)
            closedBytes_ -= std::min(closedBytes_, bytesOf(changes_[i]));
        changes_.erase(changes_.begin(), changes_.begin() + static_cast<std::ptrdiff_t>(end));
        stepStarts_.pop_front();
        for (auto& start : stepStarts_)
            start -= end;
        closedEnd_ -= end;
    }
}

void UndoJournal::record(EntityChange change)
{
    openBytes_ += bytesOf(change);
    changes_.push_back(std::move(change));
    if (depth_ == 0)
        closeGroup();
}

std::optional<std::vector<EntityChange>> UndoJournal::takeLastStep()
{
    if (depth_ > 0) {
        depth_ = 0;
        closeGroup();
    }
    if (stepStarts_.empty())
        return std::nullopt;
    const size_t start = stepStarts_.back();
    stepStarts_.pop_back();
    std::vector<EntityChange> step(std::make_move_iterator(changes_.begin() + static_cast<std::ptrdiff_t>(start)),
                                   std::make_move_iterator(changes_.end()));
    for (const auto& change : step)
        closedBytes_ -= std::min(closedBytes_, bytesOf(change));
    changes_.erase(changes_.begin() + static_cast<std::ptrdiff_t>(start), changes_.end());
    closedEnd_ = start;
    if (changes_.empty())
        changes_.shrink_to_fit();  // the memory of a long run of changes goes back
    return step;
}

void UndoJournal::clear()
{
    std::deque<EntityChange>().swap(changes_);
    std::deque<size_t>().swap(stepStarts_);
    closedEnd_ = 0;
    closedBytes_ = 0;
    openBytes_ = 0;
    depth_ = 0;
}

void UndoJournal::setBudgetBytes(size_t budgetBytes)
{
    budgetBytes_ = budgetBytes;
    forgetOldestBeyondBudget();
}

}  // namespace kelvocad
