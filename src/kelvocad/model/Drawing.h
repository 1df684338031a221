#pragma once

#include "kelvocad/model/DrawingRecords.h"
#include "kelvocad/model/UndoJournal.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvocad {

// The drawing: layers, block definitions and model space, with one owner. Entities are
// found by handle; handles are upper-case hexadecimal, unique, and never given out twice,
// not even after the entity they named was erased. Every change to model space goes
// through here and is written to the undo journal.
class Drawing {
public:
    Drawing();

    // Tables. Layer and block names compare regardless of ASCII letter case, as in a CAD.
    const std::vector<LayerRecord>& layers() const noexcept { return layers_; }
    const LayerRecord* findLayer(std::u16string_view name) const;
    LayerRecord& addLayer(std::u16string name, bool locked = false);  // the existing one if present
    void setLayerLocked(std::u16string_view name, bool locked);
    bool isLayerLocked(std::u16string_view name) const;
    // The layer table's spelling of a name an entity refers to (the name itself when the
    // table has no such layer), as a CAD reports an entity's layer.
    std::u16string layerName(std::u16string_view name) const;

    const std::vector<BlockDefinition>& blocks() const noexcept { return blocks_; }
    const BlockDefinition* findBlock(std::u16string_view name) const;
    // Adds a definition (replacing one of the same name); its attribute definitions get handles.
    const BlockDefinition& addBlock(BlockDefinition block);

    // Model space, in drawing order.
    const std::vector<ModelEntity>& entities() const noexcept { return entities_; }
    std::optional<EntityKind> kindOf(std::u16string_view handle) const;
    const ModelEntity* findEntity(std::u16string_view handle) const;
    const TextEntity* findText(std::u16string_view handle) const;
    const BlockReference* findBlockReference(std::u16string_view handle) const;
    const AttributeReference* findAttribute(std::u16string_view handle) const;
    // The block reference that carries the attribute.
    const BlockReference* ownerOfAttribute(std::u16string_view handle) const;
    // True for a handle this drawing once gave out whose entity no longer exists.
    bool wasErased(std::u16string_view handle) const;

    // Changes. Added entities keep the handles they bring (from a file) when those are
    // valid and free, and get fresh ones otherwise; they are appended to model space.
    std::u16string addText(TextEntity text);
    std::u16string addBlockReference(BlockReference reference);
    // A copy of an entity with new handles, appended at the end.
    std::u16string copyEntity(std::u16string_view handle);
    void modifyText(std::u16string_view handle, const std::function<void(TextEntity&)>& change);
    void modifyBlockReference(std::u16string_view handle, const std::function<void(BlockReference&)>& change);
    void modifyAttribute(std::u16string_view handle, const std::function<void(AttributeReference&)>& change);
    void erase(std::u16string_view handle);

    std::u16string newHandle();
    // Handles read from a file are kept; later new handles stay above the highest one.
    void reserveHandle(std::u16string_view handle);

    // Undo: marks group the changes between them; undoLastStep takes one step back.
    void startUndoMark() { journal_.startMark(); }
    void endUndoMark() { journal_.endMark(); }
    bool undoLastStep();
    const UndoJournal& journal() const noexcept { return journal_; }
    void clearUndo() { journal_.clear(); }

    // Counts every change, undo included, so a view can tell that it must repaint.
    uint64_t revision() const noexcept { return revision_; }
    // What a view must lay out again since it last looked at revision r: the entities whose
    // changedAt is above r, and those appended after the ones it has; everything when
    // reshapedAt is above r (entities inserted or erased before the end, an undo, a layer
    // added or its lock changed).
    uint64_t changedAt(size_t position) const { return changedAt_[position]; }
    uint64_t reshapedAt() const noexcept { return reshapedAt_; }

    // Handles are written in upper case; a lookup accepts any letter case.
    static std::u16string normalizeHandle(std::u16string_view handle);

private:
    std::optional<size_t> positionOf(std::u16string_view handle) const;
    size_t requirePosition(std::u16string_view handle) const;
    void recordBefore(size_t position);
    void recordChange(size_t position, EntityBefore before);
    void markReshaped();
    void assignHandles(BlockReference& reference);
    std::u16string keepOrAssignHandle(const std::u16string& handle);
    void appendEntity(ModelEntity entity);
    void rebuildIndex() const;
    void indexEntity(size_t position) const;

    std::vector<LayerRecord> layers_;
    std::vector<BlockDefinition> blocks_;
    std::vector<ModelEntity> entities_;
    std::vector<uint64_t> changedAt_;  // parallel to entities_
    UndoJournal journal_;
    // Where each handle stands in model space, and which entity carries each attribute;
    // rebuilt on the first lookup after entities moved.
    mutable std::unordered_map<std::u16string, size_t> positions_;
    mutable std::unordered_map<std::u16string, size_t> attributeOwners_;
    mutable bool indexValid_ = false;
    uint64_t nextHandle_ = 0x100;
    uint64_t revision_ = 0;
    uint64_t reshapedAt_ = 0;
};

}  // namespace kelvocad
