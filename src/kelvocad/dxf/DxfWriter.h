#pragma once

#include "kelvocad/dxf/DxfLayout.h"
#include "kelvocad/dxf/DxfTag.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

class Drawing;
class DxfFile;
class DxfRecordEditor;
class DxfTextCodec;

// Writes a DxfFile's groups back with the drawing's current state: records the model
// holds are changed group by group where they were edited, erased ones are left out, new
// ones are written in the file's version, and everything else is copied as read.
class DxfWriter {
public:
    explicit DxfWriter(const DxfFile& file);

    std::string write();

private:
    using Tags = std::vector<DxfTag>;

    Tags copy(DxfRange range) const;
    std::string encode(std::u16string_view text) const;
    std::string allocateHandle();
    std::string fileHandleOf(std::u16string_view modelHandle) const;

    // Where a TEXT and an attribute keep their vertical justification.
    struct VerticalGroup {
        int code;
        std::string_view subclass;
        int subclassOccurrence;
    };

    Tags entities();
    Tags patchedText(const DxfEntityUnit& unit, const TextEntity& now, const TextEntity& was) const;
    Tags patchedReference(const DxfEntityUnit& unit, const BlockReference& now, const BlockReference& was);
    Tags patchedAttribute(DxfRange range, const std::string& fileHandle, const AttributeReference& now,
                          const AttributeReference& was) const;
    void patchEntityGroups(DxfRecordEditor& editor, const std::string& fileHandle, const std::u16string& handle,
                           const std::u16string& layer, const std::u16string& layerAsRead) const;
    // The groups a TEXT and an attribute share (Record is TextEntity or AttributeReference).
    template <typename Record>
    void patchTextGroups(DxfRecordEditor& editor, const std::string& fileHandle, const Record& now,
                         const Record& was, VerticalGroup vertical) const;

    Tags newEntityHead(std::string_view type, const std::string& handle, const std::string& owner,
                       const std::u16string& layer) const;
    template <typename Record>
    void appendNewTextGroups(Tags& tags, const Record& text, const Tags& afterString) const;
    Tags newText(const TextEntity& text) const;
    Tags newReference(const BlockReference& reference);
    Tags newAttribute(const AttributeReference& attribute, const std::string& owner) const;
    Tags newSequenceEnd(const std::string& owner, const std::u16string& layer);
    Tags patchedLayer(size_t begin, size_t end) const;
    Tags newLayers();

    void emit(const DxfTag& tag);
    void emit(const Tags& tags);
    void emitStored(size_t tagIndex);  // a group of the file as read

    const DxfFile& file_;
    const Drawing& drawing_;
    const DxfLayout& layout_;
    const DxfTextCodec& codec_;
    bool subclassMarkers_;
    bool padCodes_;
    uint64_t nextHandle_ = 1;
    std::string out_;
};

}  // namespace kelvocad
