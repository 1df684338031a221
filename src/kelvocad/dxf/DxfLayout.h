#pragma once

#include "kelvocad/dxf/DxfTag.h"
#include "kelvocad/model/DrawingRecords.h"

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvocad {

// Tag indices [begin, end) of one record in a file's group stream.
struct DxfRange {
    size_t begin = 0;
    size_t end = 0;
};

// The ATTRIBs and the SEQEND that follow an INSERT.
struct DxfAttributeRecords {
    std::vector<DxfRange> attributes;
    std::vector<std::u16string> attributeHandles;  // model handles, parallel to attributes
    std::optional<DxfRange> sequenceEnd;
};

// One entity of the ENTITIES section as it stands in the file: an INSERT with its ATTRIBs
// and SEQEND is one unit, as is a POLYLINE with its vertices. modelHandle names the model
// entity read from it (empty for what the model does not hold). A drawing holds one of
// these for every entity of its file, so they keep only what the file's groups do not say
// again when asked (the handles as written, the entity as read).
struct DxfEntityUnit {
    DxfRange record;
    std::u16string modelHandle;
    std::unique_ptr<DxfAttributeRecords> attributes;  // for an INSERT with attributes, else null

    const std::optional<DxfRange>& sequenceEnd() const
    {
        static const std::optional<DxfRange> none;
        return attributes ? attributes->sequenceEnd : none;
    }
};

// Where the parts that a save may change stand in a file, and the model's records as they
// were read from it, so that a save changes only what was edited.
struct DxfLayout {
    std::optional<size_t> handleSeedValue;  // the tag holding $HANDSEED's value
    std::optional<size_t> layerTableEnd;    // ENDTAB of the LAYER table
    std::string layerTableHandle;
    std::string modelSpaceRecordHandle;     // owner of model-space entities (R2000 on)
    std::map<size_t, std::u16string> layerRecords;  // first tag of a LAYER entry -> name
    std::map<size_t, size_t> layerRecordEnds;
    std::vector<LayerRecord> layersAsRead;
    // Every layer of the drawing once read: those of the table and those that entities
    // name without a table entry (and layer 0, which a drawing always has).
    std::vector<LayerRecord> layersAtOpen;

    std::optional<size_t> entitiesBegin;  // first tag after 2/ENTITIES
    std::optional<size_t> entitiesEnd;    // its ENDSEC
    std::vector<DxfEntityUnit> units;

    uint64_t highestFileHandle = 0;  // of every handle the file holds or names, $HANDSEED - 1 included
};

}  // namespace kelvocad
