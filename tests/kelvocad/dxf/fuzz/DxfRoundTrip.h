#pragma once

// What the fuzzer checks of every input, shared with the test that replays its findings:
// bytes that read are edited (a text changed, an entity copied, one erased), written back
// and read again, which must succeed and give the same texts under the same handles.
#include "kelvocad/dxf/DxfError.h"
#include "kelvocad/dxf/DxfFile.h"
#include "kelvocad/model/Drawing.h"

#include <string>
#include <string_view>

namespace kelvocad::test {

inline bool sameAttributes(const BlockReference& a, const BlockReference& b)
{
    if (a.attributes.size() != b.attributes.size())
        return false;
    for (size_t i = 0; i < a.attributes.size(); ++i) {
        const AttributeReference& x = a.attributes[i];
        const AttributeReference& y = b.attributes[i];
        if (x.handle != y.handle || x.tag != y.tag || x.string != y.string || x.layer != y.layer ||
            x.alignment != y.alignment)
            return false;
    }
    return true;
}

// Empty when every entity of `written` reads back from the saved file as it was.
inline std::string differences(const Drawing& written, const Drawing& read)
{
    if (written.entities().size() != read.entities().size())
        return "entities written: " + std::to_string(written.entities().size()) +
               ", read back: " + std::to_string(read.entities().size());
    for (const ModelEntity& entity : written.entities()) {
        const std::string handle(handleOf(entity).begin(), handleOf(entity).end());
        const ModelEntity* again = read.findEntity(handleOf(entity));
        if (!again || again->index() != entity.index())
            return "entity " + handle + " is not read back";
        if (const auto* text = std::get_if<TextEntity>(&entity)) {
            const auto& other = std::get<TextEntity>(*again);
            if (text->string != other.string || text->layer != other.layer || text->style != other.style ||
                text->alignment != other.alignment)
                return "text " + handle + " reads back otherwise";
        } else {
            const auto& reference = std::get<BlockReference>(entity);
            const auto& other = std::get<BlockReference>(*again);
            if (reference.name != other.name || reference.layer != other.layer || !sameAttributes(reference, other))
                return "block reference " + handle + " reads back otherwise";
        }
    }
    return {};
}

// Empty when the bytes do not read (a DxfError) or survive the round trip; otherwise what
// went wrong. Anything else thrown is left to the caller.
inline std::string checkDxfRoundTrip(std::string_view bytes)
{
    std::string saved;
    std::shared_ptr<Drawing> drawing;
    try {
        DxfFile file = DxfFile::parse(bytes, "fuzz.dxf");
        drawing = file.drawing();
        if (!drawing->entities().empty()) {
            const std::u16string first = handleOf(drawing->entities().front());
            drawing->copyEntity(first);
            if (drawing->kindOf(first) == EntityKind::Text)
                drawing->modifyText(first, [](TextEntity& t) { t.string += u"^J\\U+0041\n\xFF21"; });
            if (drawing->entities().size() > 2)
                drawing->erase(handleOf(drawing->entities()[1]));
        }
        saved = file.serialize();
    } catch (const DxfError&) {
        return {};
    }
    try {
        return differences(*drawing, *DxfFile::parse(saved, "fuzz-saved.dxf").drawing());
    } catch (const DxfError& error) {
        return std::string("the saved file does not read: ") + error.what();
    }
}

}  // namespace kelvocad::test
