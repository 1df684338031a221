#include "kelvocad/model/Drawing.h"

#include "automation/AutomationError.h"
#include "automation/Object.h"

#include <algorithm>
#include <type_traits>

namespace kelvocad {

namespace {

[[noreturn]] void noSuchEntity(std::u16string_view handle)
{
    throw automation::AutomationError(automation::hr::Exception,
                                      u"No entity with handle " + std::u16string(handle));
}

bool parseHex(std::u16string_view text, uint64_t& out)
{
    if (text.empty() || text.size() > 16)
        return false;
    uint64_t value = 0;
    for (char16_t c : text) {
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else
            return false;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    out = value;
    return true;
}

// The attribute whose string alone differs between two states of a block reference; none
// when anything else differs too, or nothing does.
std::optional<size_t> onlyAttributeStringChanged(const BlockReference& was, const BlockReference& now)
{
    if (now.attributes.size() != was.attributes.size())
        return std::nullopt;
    std::optional<size_t> changed;
    for (size_t i = 0; i < now.attributes.size(); ++i) {
        if (now.attributes[i].string != was.attributes[i].string) {
            if (changed)
                return std::nullopt;
            changed = i;
        }
    }
    if (!changed)
        return std::nullopt;
    BlockReference probe = was;
    probe.attributes[*changed].string = now.attributes[*changed].string;
    return probe == now ? changed : std::nullopt;
}

}  // namespace

Drawing::Drawing()
{
    layers_.push_back({u"0", false});
}

std::u16string Drawing::normalizeHandle(std::u16string_view handle)
{
    std::u16string result(handle);
    for (auto& c : result)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return result;
}

const LayerRecord* Drawing::findLayer(std::u16string_view name) const
{
    for (const auto& layer : layers_)
        if (automation::memberNameEquals(layer.name, name))
            return &layer;
    return nullptr;
}

LayerRecord& Drawing::addLayer(std::u16string name, bool locked)
{
    for (auto& layer : layers_)
        if (automation::memberNameEquals(layer.name, name))
            return layer;
    layers_.push_back({std::move(name), locked});
    // Entities may name a layer before it is in the table; their lock may change with it.
    markReshaped();
    return layers_.back();
}

void Drawing::setLayerLocked(std::u16string_view name, bool locked)
{
    for (auto& layer : layers_)
        if (automation::memberNameEquals(layer.name, name)) {
            layer.locked = locked;
            markReshaped();
            return;
        }
    throw automation::AutomationError(automation::hr::Exception, u"No layer " + std::u16string(name));
}

std::u16string Drawing::layerName(std::u16string_view name) const
{
    const LayerRecord* layer = findLayer(name);
    return layer ? layer->name : std::u16string(name);
}

bool Drawing::isLayerLocked(std::u16string_view name) const
{
    const LayerRecord* layer = findLayer(name);
    return layer && layer->locked;
}

const BlockDefinition* Drawing::findBlock(std::u16string_view name) const
{
    for (const auto& block : blocks_)
        if (automation::memberNameEquals(block.name, name))
            return &block;
    return nullptr;
}

const BlockDefinition& Drawing::addBlock(BlockDefinition block)
{
    for (auto& definition : block.attributes)
        if (definition.handle.empty())
            definition.handle = newHandle();
        else
            reserveHandle(definition.handle);
    ++revision_;
    for (auto& existing : blocks_)
        if (automation::memberNameEquals(existing.name, block.name)) {
            existing = std::move(block);
            return existing;
        }
    blocks_.push_back(std::move(block));
    return blocks_.back();
}

void Drawing::rebuildIndex() const
{
    positions_.clear();
    attributeOwners_.clear();
    for (size_t i = 0; i < entities_.size(); ++i)
        indexEntity(i);
    indexValid_ = true;
}

void Drawing::indexEntity(size_t position) const
{
    positions_[handleOf(entities_[position])] = position;
    if (const auto* reference = std::get_if<BlockReference>(&entities_[position]))
        for (const auto& attribute : reference->attributes)
            attributeOwners_[attribute.handle] = position;
}

void Drawing::appendEntity(ModelEntity entity)
{
    entities_.push_back(std::move(entity));
    ++revision_;
    changedAt_.push_back(revision_);
    if (indexValid_)
        indexEntity(entities_.size() - 1);
    journal_.record({handleOf(entities_.back()), entities_.size() - 1, std::monostate{}});
}

void Drawing::markReshaped()
{
    ++revision_;
    reshapedAt_ = revision_;
}

std::optional<size_t> Drawing::positionOf(std::u16string_view handle) const
{
    if (!indexValid_)
        rebuildIndex();
    auto it = positions_.find(normalizeHandle(handle));
    if (it == positions_.end())
        return std::nullopt;
    return it->second;
}

size_t Drawing::requirePosition(std::u16string_view handle) const
{
    auto position = positionOf(handle);
    if (!position)
        noSuchEntity(handle);
    return *position;
}

std::optional<EntityKind> Drawing::kindOf(std::u16string_view handle) const
{
    if (auto position = positionOf(handle))
        return std::holds_alternative<TextEntity>(entities_[*position]) ? EntityKind::Text
                                                                        : EntityKind::BlockReference;
    if (findAttribute(handle))
        return EntityKind::AttributeReference;
    return std::nullopt;
}

const ModelEntity* Drawing::findEntity(std::u16string_view handle) const
{
    auto position = positionOf(handle);
    return position ? &entities_[*position] : nullptr;
}

const TextEntity* Drawing::findText(std::u16string_view handle) const
{
    auto position = positionOf(handle);
    return position ? std::get_if<TextEntity>(&entities_[*position]) : nullptr;
}

const BlockReference* Drawing::findBlockReference(std::u16string_view handle) const
{
    auto position = positionOf(handle);
    return position ? std::get_if<BlockReference>(&entities_[*position]) : nullptr;
}

const BlockReference* Drawing::ownerOfAttribute(std::u16string_view handle) const
{
    if (!indexValid_)
        rebuildIndex();
    auto it = attributeOwners_.find(normalizeHandle(handle));
    if (it == attributeOwners_.end())
        return nullptr;
    return std::get_if<BlockReference>(&entities_[it->second]);
}

const AttributeReference* Drawing::findAttribute(std::u16string_view handle) const
{
    const std::u16string key = normalizeHandle(handle);
    if (const BlockReference* owner = ownerOfAttribute(key))
        for (const auto& attribute : owner->attributes)
            if (attribute.handle == key)
                return &attribute;
    return nullptr;
}

bool Drawing::wasErased(std::u16string_view handle) const
{
    uint64_t value = 0;
    return parseHex(handle, value) && value < nextHandle_ && !kindOf(handle);
}

std::u16string Drawing::newHandle()
{
    std::u16string handle;
    for (uint64_t value = nextHandle_++; value != 0 || handle.empty(); value /= 16)
        handle.insert(handle.begin(), u"0123456789ABCDEF"[value % 16]);
    return handle;
}

void Drawing::reserveHandle(std::u16string_view handle)
{
    uint64_t value = 0;
    if (parseHex(handle, value) && value >= nextHandle_)
        nextHandle_ = value + 1;
}

void Drawing::recordBefore(size_t position)
{
    recordChange(position, std::make_unique<const ModelEntity>(entities_[position]));
}

void Drawing::recordChange(size_t position, EntityBefore before)
{
    journal_.record({handleOf(entities_[position]), position, std::move(before)});
    ++revision_;
    changedAt_[position] = revision_;
}

void Drawing::assignHandles(BlockReference& reference)
{
    reference.handle = newHandle();
    for (auto& attribute : reference.attributes)
        attribute.handle = newHandle();
}

std::u16string Drawing::keepOrAssignHandle(const std::u16string& handle)
{
    uint64_t value = 0;
    const std::u16string key = normalizeHandle(handle);
    if (!parseHex(key, value) || value == 0 || kindOf(key) || key[0] == u'0')
        return newHandle();
    reserveHandle(key);
    return key;
}

std::u16string Drawing::addText(TextEntity text)
{
    text.handle = keepOrAssignHandle(text.handle);
    addLayer(text.layer);
    appendEntity(std::move(text));
    return handleOf(entities_.back());
}

std::u16string Drawing::addBlockReference(BlockReference reference)
{
    reference.handle = keepOrAssignHandle(reference.handle);
    for (auto& attribute : reference.attributes)
        attribute.handle = keepOrAssignHandle(attribute.handle);
    addLayer(reference.layer);
    appendEntity(std::move(reference));
    return handleOf(entities_.back());
}

std::u16string Drawing::copyEntity(std::u16string_view handle)
{
    ModelEntity copy = entities_[requirePosition(handle)];
    if (auto* text = std::get_if<TextEntity>(&copy))
        text->handle = newHandle();
    else
        assignHandles(std::get<BlockReference>(copy));
    appendEntity(std::move(copy));
    return handleOf(entities_.back());
}

void Drawing::modifyText(std::u16string_view handle, const std::function<void(TextEntity&)>& change)
{
    const size_t position = requirePosition(handle);
    auto* text = std::get_if<TextEntity>(&entities_[position]);
    if (!text)
        noSuchEntity(handle);
    TextEntity changed = *text;
    change(changed);  // may throw; nothing is recorded then
    changed.handle = text->handle;
    // The whole entity compared, so a field added later can never slip past the short records.
    TextEntity probe = *text;
    probe.string = changed.string;
    if (probe == changed) {
        recordChange(position, TextStringBefore{std::move(text->string)});
    } else {
        probe = *text;
        probe.insertionPoint = changed.insertionPoint;
        probe.alignmentPoint = changed.alignmentPoint;
        if (probe == changed)
            recordChange(position, TextPlaceBefore{text->insertionPoint, text->alignmentPoint});
        else
            recordBefore(position);
    }
    entities_[position] = std::move(changed);
}

void Drawing::modifyBlockReference(std::u16string_view handle,
                                   const std::function<void(BlockReference&)>& change)
{
    const size_t position = requirePosition(handle);
    auto* reference = std::get_if<BlockReference>(&entities_[position]);
    if (!reference)
        noSuchEntity(handle);
    BlockReference changed = *reference;
    change(changed);
    // The index holds the attribute handles; a change that alters them rebuilds it.
    bool sameHandles = changed.handle == reference->handle && changed.attributes.size() == reference->attributes.size();
    for (size_t i = 0; sameHandles && i < changed.attributes.size(); ++i)
        sameHandles = changed.attributes[i].handle == reference->attributes[i].handle;
    const std::optional<size_t> onlyString = onlyAttributeStringChanged(*reference, changed);
    if (onlyString)
        recordChange(position, AttributeStringBefore{static_cast<uint32_t>(*onlyString),
                                                     std::move(reference->attributes[*onlyString].string)});
    else
        recordBefore(position);
    entities_[position] = std::move(changed);
    if (!sameHandles)
        indexValid_ = false;
}

void Drawing::modifyAttribute(std::u16string_view handle, const std::function<void(AttributeReference&)>& change)
{
    const BlockReference* owner = ownerOfAttribute(handle);
    if (!owner)
        noSuchEntity(handle);
    const std::u16string key = normalizeHandle(handle);
    modifyBlockReference(owner->handle, [&](BlockReference& reference) {
        for (auto& attribute : reference.attributes)
            if (attribute.handle == key)
                change(attribute);
    });
}

void Drawing::erase(std::u16string_view handle)
{
    const size_t position = requirePosition(handle);
    recordBefore(position);
    entities_.erase(entities_.begin() + static_cast<std::ptrdiff_t>(position));
    changedAt_.erase(changedAt_.begin() + static_cast<std::ptrdiff_t>(position));
    indexValid_ = false;
    markReshaped();
}

bool Drawing::undoLastStep()
{
    auto step = journal_.takeLastStep();
    if (!step)
        return false;
    for (auto change = step->rbegin(); change != step->rend(); ++change) {
        auto position = positionOf(change->handle);
        std::visit(
            [&](auto& before) {
                using Before = std::decay_t<decltype(before)>;
                if constexpr (std::is_same_v<Before, std::monostate>) {
                    if (position) {
                        entities_.erase(entities_.begin() + static_cast<std::ptrdiff_t>(*position));
                        changedAt_.erase(changedAt_.begin() + static_cast<std::ptrdiff_t>(*position));
                    }
                    indexValid_ = false;
                } else if constexpr (std::is_same_v<Before, std::unique_ptr<const ModelEntity>>) {
                    // A block reference as it was may carry other attribute handles.
                    indexValid_ = false;
                    if (position) {
                        entities_[*position] = *before;
                    } else {
                        const size_t at = std::min(change->position, entities_.size());
                        entities_.insert(entities_.begin() + static_cast<std::ptrdiff_t>(at), *before);
                        changedAt_.insert(changedAt_.begin() + static_cast<std::ptrdiff_t>(at), 0);
                    }
                } else if (position) {
                    // The entity stands as the change left it; only the fields it touched go back.
                    if constexpr (std::is_same_v<Before, TextStringBefore>) {
                        if (auto* text = std::get_if<TextEntity>(&entities_[*position]))
                            text->string = std::move(before.string);
                    } else if constexpr (std::is_same_v<Before, TextPlaceBefore>) {
                        if (auto* text = std::get_if<TextEntity>(&entities_[*position])) {
                            text->insertionPoint = before.insertionPoint;
                            text->alignmentPoint = before.alignmentPoint;
                        }
                    } else if constexpr (std::is_same_v<Before, AttributeStringBefore>) {
                        auto* reference = std::get_if<BlockReference>(&entities_[*position]);
                        if (reference && before.attribute < reference->attributes.size())
                            reference->attributes[before.attribute].string = std::move(before.string);
                    }
                }
            },
            change->before);
    }
    markReshaped();
    return true;
}

}  // namespace kelvocad
