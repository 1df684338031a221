#pragma once

#include "kelvocad/model/Point3.h"

#include <string>
#include <variant>
#include <vector>

namespace kelvocad {

// The records a drawing is made of. They are plain values: the Drawing owns them, and
// everything else refers to an entity by its handle.

struct LayerRecord {
    std::u16string name;
    bool locked = false;
};

struct AttributeDefinition {
    std::u16string handle;
    std::u16string tag;
    std::u16string prompt;
    std::u16string defaultValue;
    Point3 insertionPoint;  // relative to the block's base point
    int alignment = 0;
    double height = 2.5;
};

struct BlockDefinition {
    std::u16string name;
    Point3 basePoint;
    std::vector<AttributeDefinition> attributes;
};

struct TextEntity {
    std::u16string handle;
    std::u16string layer = u"0";
    std::u16string string;
    Point3 insertionPoint;
    Point3 alignmentPoint;
    int alignment = 0;  // 0 left: the insertion point places the text; otherwise the alignment point does
    double height = 2.5;
    double rotation = 0.0;  // radians
    std::u16string style = u"Standard";

    friend bool operator==(const TextEntity&, const TextEntity&) = default;
};

struct AttributeReference {
    std::u16string handle;
    std::u16string tag;
    std::u16string string;
    Point3 insertionPoint;
    Point3 alignmentPoint;
    int alignment = 0;
    double height = 2.5;
    std::u16string layer = u"0";

    friend bool operator==(const AttributeReference&, const AttributeReference&) = default;
};

struct BlockReference {
    std::u16string handle;
    std::u16string name;
    std::u16string layer = u"0";
    Point3 insertionPoint;
    std::vector<AttributeReference> attributes;

    friend bool operator==(const BlockReference&, const BlockReference&) = default;
};

// A model-space entity.
using ModelEntity = std::variant<TextEntity, BlockReference>;

enum class EntityKind { Text, BlockReference, AttributeReference };

inline const std::u16string& handleOf(const ModelEntity& entity)
{
    return std::visit([](const auto& e) -> const std::u16string& { return e.handle; }, entity);
}

}  // namespace kelvocad
