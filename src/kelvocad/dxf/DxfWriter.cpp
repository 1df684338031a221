#include "kelvocad/dxf/DxfWriter.h"

#include "common/Utf.h"
#include "kelvocad/dxf/DxfAlignment.h"
#include "kelvocad/dxf/DxfFile.h"
#include "kelvocad/dxf/DxfRecordEditor.h"
#include "kelvocad/model/Drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <map>
#include <set>

namespace kelvocad {

namespace {

std::string asciiOf(std::u16string_view text)
{
    std::string result;
    for (char16_t c : text)
        result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}

std::string upperAscii(std::u16string_view text)
{
    std::string result = common::toUtf8(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string degrees(double radians)
{
    return formatDxfDouble(radians * 180.0 / std::numbers::pi);
}

void appendPoint(std::vector<DxfTag>& tags, int firstCode, const Point3& point)
{
    tags.push_back({firstCode, formatDxfDouble(point.x), 0});
    tags.push_back({firstCode + 10, formatDxfDouble(point.y), 0});
    tags.push_back({firstCode + 20, formatDxfDouble(point.z), 0});
}

}  // namespace

DxfWriter::DxfWriter(const DxfFile& file)
    : file_(file)
    , drawing_(*file.drawing())
    , layout_(file.layout_)
    , codec_(file.codec_)
    , subclassMarkers_(file.acadVersion_ >= "AC1015")
{
    // New records need handles above every one in the file and in the drawing.
    uint64_t highest = layout_.highestFileHandle;
    auto consider = [&highest](const std::u16string& handle) {
        if (auto value = parseDxfHandle(asciiOf(handle)); value && *value < (uint64_t{1} << 60))
            highest = std::max(highest, *value);
    };
    for (const auto& entity : drawing_.entities()) {
        consider(handleOf(entity));
        if (const auto* reference = std::get_if<BlockReference>(&entity))
            for (const auto& attribute : reference->attributes)
                consider(attribute.handle);
    }
    for (const auto& block : drawing_.blocks())
        for (const auto& definition : block.attributes)
            consider(definition.handle);
    nextHandle_ = highest + 1;
}

std::string DxfWriter::allocateHandle()
{
    return formatDxfHandle(nextHandle_++);
}

std::string DxfWriter::encode(std::u16string_view text) const
{
    return codec_.encode(text);
}

DxfWriter::Tags DxfWriter::copy(DxfRange range) const
{
    return Tags(file_.tags_.begin() + static_cast<std::ptrdiff_t>(range.begin),
                file_.tags_.begin() + static_cast<std::ptrdiff_t>(range.end));
}

std::string DxfWriter::fileHandleOf(std::u16string_view modelHandle) const
{
    return asciiOf(modelHandle);
}

void DxfWriter::emit(const DxfTag& tag)
{
    if (!tag.codeText.empty()) {
        out_ += tag.codeText;
    } else {
        const std::string code = std::to_string(tag.code);
        if (code.size() < 3)
            out_.append(3 - code.size(), ' ');
        out_ += code;
    }
    out_ += file_.crlf_ ? "\r\n" : "\n";
    out_ += tag.value;
    out_ += file_.crlf_ ? "\r\n" : "\n";
}

void DxfWriter::emit(const Tags& tags)
{
    for (const DxfTag& tag : tags)
        emit(tag);
}

DxfWriter::Tags DxfWriter::patchedText(const DxfEntityUnit& unit, const TextEntity& now, const TextEntity& was) const
{
    DxfRecordEditor editor(copy(unit.record));
    if (fileHandleOf(now.handle) != unit.fileHandle)
        editor.setHandle(fileHandleOf(now.handle));
    if (now.layer != was.layer)
        editor.set(8, encode(now.layer), "AcDbEntity");
    if (now.string != was.string)
        editor.set(1, encode(now.string), "AcDbText");
    if (now.insertionPoint != was.insertionPoint)
        editor.setPoint(10, now.insertionPoint, "AcDbText");
    const bool alignmentChanged = now.alignment != was.alignment;
    if (now.alignmentPoint != was.alignmentPoint || (alignmentChanged && now.alignment != 0 && !editor.find(11)))
        editor.setPoint(11, now.alignmentPoint, "AcDbText");
    if (alignmentChanged) {
        const DxfJustification justification = dxfFromAlignment(now.alignment);
        editor.set(72, std::to_string(justification.horizontal), "AcDbText");
        editor.set(73, std::to_string(justification.vertical), "AcDbText", 2);
    }
    if (now.height != was.height)
        editor.set(40, formatDxfDouble(now.height), "AcDbText");
    if (now.rotation != was.rotation)
        editor.set(50, degrees(now.rotation), "AcDbText");
    if (now.style != was.style)
        editor.set(7, encode(now.style), "AcDbText");
    return editor.tags();
}

DxfWriter::Tags DxfWriter::patchedAttribute(DxfRange range, const std::string& fileHandle,
                                            const AttributeReference& now, const AttributeReference& was) const
{
    DxfRecordEditor editor(copy(range));
    if (fileHandleOf(now.handle) != fileHandle)
        editor.setHandle(fileHandleOf(now.handle));
    if (now.layer != was.layer)
        editor.set(8, encode(now.layer), "AcDbEntity");
    if (now.string != was.string)
        editor.set(1, encode(now.string), "AcDbText");
    if (now.tag != was.tag)
        editor.set(2, encode(now.tag), "AcDbAttribute");
    if (now.insertionPoint != was.insertionPoint)
        editor.setPoint(10, now.insertionPoint, "AcDbText");
    const bool alignmentChanged = now.alignment != was.alignment;
    if (now.alignmentPoint != was.alignmentPoint || (alignmentChanged && now.alignment != 0 && !editor.find(11)))
        editor.setPoint(11, now.alignmentPoint, "AcDbText");
    if (alignmentChanged) {
        const DxfJustification justification = dxfFromAlignment(now.alignment);
        editor.set(72, std::to_string(justification.horizontal), "AcDbText");
        editor.set(74, std::to_string(justification.vertical), "AcDbAttribute");
    }
    if (now.height != was.height)
        editor.set(40, formatDxfDouble(now.height), "AcDbText");
    return editor.tags();
}

DxfWriter::Tags DxfWriter::patchedReference(const DxfEntityUnit& unit, const BlockReference& now,
                                            const BlockReference& was)
{
    DxfRecordEditor editor(copy(unit.record));
    if (fileHandleOf(now.handle) != unit.fileHandle)
        editor.setHandle(fileHandleOf(now.handle));
    if (now.layer != was.layer)
        editor.set(8, encode(now.layer), "AcDbEntity");
    if (now.name != was.name)
        editor.set(2, encode(now.name), "AcDbBlockReference");
    if (now.insertionPoint != was.insertionPoint)
        editor.setPoint(10, now.insertionPoint, "AcDbBlockReference");
    if (!now.attributes.empty() && !unit.sequenceEnd)
        editor.set(66, "1", "AcDbBlockReference");
    Tags tags = editor.tags();

    const std::string owner = fileHandleOf(now.handle);
    for (const auto& attribute : now.attributes) {
        Tags part;
        for (size_t i = 0; i < unit.attributes.size() && part.empty(); ++i) {
            if (unit.attributeHandles[i] != attribute.handle)
                continue;
            const auto original = std::find_if(was.attributes.begin(), was.attributes.end(),
                                               [&](const auto& a) { return a.handle == attribute.handle; });
            if (original != was.attributes.end())
                part = patchedAttribute(unit.attributes[i], unit.attributeFileHandles[i], attribute, *original);
        }
        if (part.empty())
            part = newAttribute(attribute, owner);
        tags.insert(tags.end(), part.begin(), part.end());
    }
    Tags end;
    if (unit.sequenceEnd)
        end = copy(*unit.sequenceEnd);
    else if (!now.attributes.empty())
        end = newSequenceEnd(owner, now.layer);
    tags.insert(tags.end(), end.begin(), end.end());
    return tags;
}

DxfWriter::Tags DxfWriter::newText(const TextEntity& text) const
{
    const DxfJustification justification = dxfFromAlignment(text.alignment);
    Tags tags{{0, "TEXT", 0}, {5, fileHandleOf(text.handle), 0}};
    if (subclassMarkers_) {
        if (!layout_.modelSpaceRecordHandle.empty())
            tags.push_back({330, layout_.modelSpaceRecordHandle, 0});
        tags.push_back({100, "AcDbEntity", 0});
    }
    tags.push_back({8, encode(text.layer), 0});
    if (subclassMarkers_)
        tags.push_back({100, "AcDbText", 0});
    appendPoint(tags, 10, text.insertionPoint);
    tags.push_back({40, formatDxfDouble(text.height), 0});
    tags.push_back({1, encode(text.string), 0});
    tags.push_back({50, degrees(text.rotation), 0});
    tags.push_back({7, encode(text.style), 0});
    tags.push_back({72, std::to_string(justification.horizontal), 0});
    if (text.alignment != 0)
        appendPoint(tags, 11, text.alignmentPoint);
    if (subclassMarkers_)
        tags.push_back({100, "AcDbText", 0});
    tags.push_back({73, std::to_string(justification.vertical), 0});
    return tags;
}

DxfWriter::Tags DxfWriter::newAttribute(const AttributeReference& attribute, const std::string& owner) const
{
    const DxfJustification justification = dxfFromAlignment(attribute.alignment);
    Tags tags{{0, "ATTRIB", 0}, {5, fileHandleOf(attribute.handle), 0}};
    if (subclassMarkers_) {
        tags.push_back({330, owner, 0});
        tags.push_back({100, "AcDbEntity", 0});
    }
    tags.push_back({8, encode(attribute.layer), 0});
    if (subclassMarkers_)
        tags.push_back({100, "AcDbText", 0});
    appendPoint(tags, 10, attribute.insertionPoint);
    tags.push_back({40, formatDxfDouble(attribute.height), 0});
    tags.push_back({1, encode(attribute.string), 0});
    tags.push_back({72, std::to_string(justification.horizontal), 0});
    if (attribute.alignment != 0)
        appendPoint(tags, 11, attribute.alignmentPoint);
    if (subclassMarkers_)
        tags.push_back({100, "AcDbAttribute", 0});
    tags.push_back({2, encode(attribute.tag), 0});
    tags.push_back({70, "0", 0});
    tags.push_back({74, std::to_string(justification.vertical), 0});
    return tags;
}

DxfWriter::Tags DxfWriter::newSequenceEnd(const std::string& owner, const std::u16string& layer)
{
    Tags tags{{0, "SEQEND", 0}, {5, allocateHandle(), 0}};
    if (subclassMarkers_) {
        tags.push_back({330, owner, 0});
        tags.push_back({100, "AcDbEntity", 0});
    }
    tags.push_back({8, encode(layer), 0});
    return tags;
}

DxfWriter::Tags DxfWriter::newReference(const BlockReference& reference)
{
    const std::string handle = fileHandleOf(reference.handle);
    Tags tags{{0, "INSERT", 0}, {5, handle, 0}};
    if (subclassMarkers_) {
        if (!layout_.modelSpaceRecordHandle.empty())
            tags.push_back({330, layout_.modelSpaceRecordHandle, 0});
        tags.push_back({100, "AcDbEntity", 0});
    }
    tags.push_back({8, encode(reference.layer), 0});
    if (subclassMarkers_)
        tags.push_back({100, "AcDbBlockReference", 0});
    if (!reference.attributes.empty())
        tags.push_back({66, "1", 0});
    tags.push_back({2, encode(reference.name), 0});
    appendPoint(tags, 10, reference.insertionPoint);
    if (reference.attributes.empty())
        return tags;
    for (const auto& attribute : reference.attributes) {
        Tags part = newAttribute(attribute, handle);
        tags.insert(tags.end(), part.begin(), part.end());
    }
    Tags end = newSequenceEnd(handle, reference.layer);
    tags.insert(tags.end(), end.begin(), end.end());
    return tags;
}

DxfWriter::Tags DxfWriter::entities()
{
    Tags tags;
    std::set<std::u16string> fromFile;
    for (const DxfEntityUnit& unit : layout_.units) {
        if (unit.modelHandle.empty()) {
            for (DxfRange range : {unit.record}) {
                Tags part = copy(range);
                tags.insert(tags.end(), part.begin(), part.end());
            }
            for (DxfRange range : unit.attributes) {
                Tags part = copy(range);
                tags.insert(tags.end(), part.begin(), part.end());
            }
            if (unit.sequenceEnd) {
                Tags part = copy(*unit.sequenceEnd);
                tags.insert(tags.end(), part.begin(), part.end());
            }
            continue;
        }
        fromFile.insert(unit.modelHandle);
        const ModelEntity* now = drawing_.findEntity(unit.modelHandle);
        if (!now)
            continue;  // erased
        const ModelEntity& was = layout_.entitiesAsRead.at(unit.modelHandle);
        Tags part;
        if (const auto* text = std::get_if<TextEntity>(now))
            part = patchedText(unit, *text, std::get<TextEntity>(was));
        else
            part = patchedReference(unit, std::get<BlockReference>(*now), std::get<BlockReference>(was));
        tags.insert(tags.end(), part.begin(), part.end());
    }
    for (const ModelEntity& entity : drawing_.entities()) {
        if (fromFile.count(handleOf(entity)))
            continue;
        Tags part = std::holds_alternative<TextEntity>(entity) ? newText(std::get<TextEntity>(entity))
                                                               : newReference(std::get<BlockReference>(entity));
        tags.insert(tags.end(), part.begin(), part.end());
    }
    return tags;
}

DxfWriter::Tags DxfWriter::patchedLayer(size_t begin, size_t end) const
{
    const std::u16string& name = layout_.layerRecords.at(begin);
    Tags tags = copy({begin, end});
    const LayerRecord* layer = drawing_.findLayer(name);
    const auto asRead = std::find_if(layout_.layersAsRead.begin(), layout_.layersAsRead.end(),
                                     [&](const LayerRecord& l) { return l.name == name; });
    if (!layer || asRead == layout_.layersAsRead.end() || layer->locked == asRead->locked)
        return tags;
    DxfRecordEditor editor(std::move(tags));
    auto flags = parseDxfInteger(editor.find(70).value_or("0")).value_or(0);
    flags = layer->locked ? (flags | 4) : (flags & ~int64_t{4});
    editor.set(70, std::to_string(flags), "AcDbLayerTableRecord");
    return editor.tags();
}

DxfWriter::Tags DxfWriter::newLayers()
{
    std::set<std::string> inTable;
    for (const LayerRecord& layer : layout_.layersAsRead)
        inTable.insert(upperAscii(layer.name));
    // A layer the file names without a table entry gets one only when its lock changed.
    std::map<std::string, bool> untabled;
    for (const LayerRecord& layer : layout_.layersAtOpen)
        untabled.emplace(upperAscii(layer.name), layer.locked);
    Tags tags;
    for (const LayerRecord& layer : drawing_.layers()) {
        const std::string key = upperAscii(layer.name);
        if (!inTable.insert(key).second)
            continue;
        if (auto known = untabled.find(key); known != untabled.end() && known->second == layer.locked)
            continue;
        tags.push_back({0, "LAYER", 0});
        tags.push_back({5, allocateHandle(), 0});
        if (subclassMarkers_) {
            if (!layout_.layerTableHandle.empty())
                tags.push_back({330, layout_.layerTableHandle, 0});
            tags.push_back({100, "AcDbSymbolTableRecord", 0});
            tags.push_back({100, "AcDbLayerTableRecord", 0});
        }
        tags.push_back({2, encode(layer.name), 0});
        tags.push_back({70, layer.locked ? "4" : "0", 0});
        tags.push_back({62, "7", 0});
        tags.push_back({6, subclassMarkers_ ? "Continuous" : "CONTINUOUS", 0});
    }
    return tags;
}

std::string DxfWriter::write()
{
    const Tags entityTags = entities();
    const Tags layerTags = layout_.layerTableEnd ? newLayers() : Tags{};
    const bool entitiesSectionMissing = !layout_.entitiesBegin && !entityTags.empty();

    const auto& tags = file_.tags_;
    out_.clear();
    out_.reserve(tags.size() * 16);
    bool entitiesWritten = false;
    for (size_t i = 0; i < tags.size();) {
        if (layout_.entitiesBegin && i == *layout_.entitiesBegin && !entitiesWritten) {
            emit(entityTags);
            entitiesWritten = true;
            i = *layout_.entitiesEnd;
            continue;
        }
        if (layout_.handleSeedValue && i == *layout_.handleSeedValue) {
            // A file without a seed is left without one: its readers count the handles.
            DxfTag value = tags[i];
            if (parseDxfHandle(value.value) != nextHandle_)
                value.value = formatDxfHandle(nextHandle_);
            emit(value);
            ++i;
            continue;
        }
        if (auto record = layout_.layerRecordEnds.find(i); record != layout_.layerRecordEnds.end()) {
            emit(patchedLayer(i, record->second));
            i = record->second;
            continue;
        }
        if (layout_.layerTableEnd && i == *layout_.layerTableEnd)
            emit(layerTags);
        if (entitiesSectionMissing && i + 1 == tags.size()) {
            emit({0, "SECTION", 0});
            emit({2, "ENTITIES", 0});
            emit(entityTags);
            emit({0, "ENDSEC", 0});
        }
        emit(tags[i]);
        ++i;
    }
    return std::move(out_);
}

}  // namespace kelvocad
