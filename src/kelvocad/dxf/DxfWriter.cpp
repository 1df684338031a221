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
    tags.push_back({firstCode, formatDxfDouble(point.x)});
    tags.push_back({firstCode + 10, formatDxfDouble(point.y)});
    tags.push_back({firstCode + 20, formatDxfDouble(point.z)});
}

void append(std::vector<DxfTag>& tags, const std::vector<DxfTag>& more)
{
    tags.insert(tags.end(), more.begin(), more.end());
}

}  // namespace

DxfWriter::DxfWriter(const DxfFile& file)
    : file_(file)
    , drawing_(*file.drawing())
    , layout_(file.layout_)
    , codec_(file.codec_)
    , subclassMarkers_(file.acadVersion_ >= "AC1015")
    // New groups follow the file's style: codes right-aligned in three columns, or not.
    , padCodes_(!file.tags_.empty() && !file.tags_.codeText(0).empty() && file.tags_.codeText(0).front() == ' ')
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
    Tags tags;
    tags.reserve(range.end - range.begin);
    for (size_t i = range.begin; i < range.end; ++i)
        tags.push_back(file_.tags_.tag(i));
    return tags;
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
        if (padCodes_ && code.size() < 3)
            out_.append(3 - code.size(), ' ');
        out_ += code;
    }
    out_ += file_.crlf_ ? "\r\n" : "\n";
    out_ += tag.value;
    out_ += file_.crlf_ ? "\r\n" : "\n";
}

void DxfWriter::emitStored(size_t i)
{
    const std::string_view ending = file_.crlf_ ? "\r\n" : "\n";
    out_ += file_.tags_.codeText(i);
    out_ += ending;
    out_ += file_.tags_.value(i);
    out_ += ending;
}

void DxfWriter::emit(const Tags& tags)
{
    for (const DxfTag& tag : tags)
        emit(tag);
}

DxfWriter::Tags DxfWriter::patchedText(const DxfEntityUnit& unit, const TextEntity& now, const TextEntity& was) const
{
    DxfRecordEditor editor(copy(unit.record));
    patchTextGroups(editor, file_.recordHandle(unit.record), now, was, {73, "AcDbText", 2});
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
    patchTextGroups(editor, fileHandle, now, was, {74, "AcDbAttribute", 1});
    if (now.tag != was.tag)
        editor.set(2, encode(now.tag), "AcDbAttribute");
    return editor.tags();
}

void DxfWriter::patchEntityGroups(DxfRecordEditor& editor, const std::string& fileHandle, const std::u16string& handle,
                                  const std::u16string& layer, const std::u16string& layerAsRead) const
{
    if (Drawing::normalizeHandle(common::fromAscii(fileHandle)) != handle)
        editor.setHandle(fileHandleOf(handle));
    if (layer != layerAsRead)
        editor.set(8, encode(layer), "AcDbEntity");
}

template <typename Record>
void DxfWriter::patchTextGroups(DxfRecordEditor& editor, const std::string& fileHandle, const Record& now,
                                const Record& was, VerticalGroup vertical) const
{
    patchEntityGroups(editor, fileHandle, now.handle, now.layer, was.layer);
    if (now.string != was.string)
        editor.set(1, encode(now.string), "AcDbText");
    if (now.insertionPoint != was.insertionPoint)
        editor.setPoint(10, now.insertionPoint, "AcDbText");
    const bool alignmentChanged = now.alignment != was.alignment;
    // A text that becomes aligned needs its alignment point even where it did not move.
    if (now.alignmentPoint != was.alignmentPoint || (alignmentChanged && now.alignment != 0 && !editor.find(11)))
        editor.setPoint(11, now.alignmentPoint, "AcDbText");
    if (alignmentChanged) {
        const DxfJustification justification = dxfFromAlignment(now.alignment);
        editor.set(72, std::to_string(justification.horizontal), "AcDbText");
        editor.set(vertical.code, std::to_string(justification.vertical), vertical.subclass, vertical.subclassOccurrence);
    }
    if (now.height != was.height)
        editor.set(40, formatDxfDouble(now.height), "AcDbText");
}

DxfWriter::Tags DxfWriter::patchedReference(const DxfEntityUnit& unit, const BlockReference& now,
                                            const BlockReference& was)
{
    DxfRecordEditor editor(copy(unit.record));
    patchEntityGroups(editor, file_.recordHandle(unit.record), now.handle, now.layer, was.layer);
    if (now.name != was.name)
        editor.set(2, encode(now.name), "AcDbBlockReference");
    if (now.insertionPoint != was.insertionPoint)
        editor.setPoint(10, now.insertionPoint, "AcDbBlockReference");
    if (!now.attributes.empty() && !unit.sequenceEnd())
        editor.set(66, "1", "AcDbBlockReference");
    Tags tags = editor.tags();

    const std::string owner = fileHandleOf(now.handle);
    const std::vector<std::u16string> none;
    for (const auto& attribute : now.attributes) {
        const std::vector<std::u16string>& readHandles = unit.attributes ? unit.attributes->attributeHandles : none;
        const auto read = std::find(readHandles.begin(), readHandles.end(), attribute.handle);
        const auto original = std::find_if(was.attributes.begin(), was.attributes.end(),
                                           [&](const auto& a) { return a.handle == attribute.handle; });
        if (read != readHandles.end() && original != was.attributes.end()) {
            const DxfRange part = unit.attributes->attributes[static_cast<size_t>(read - readHandles.begin())];
            append(tags, patchedAttribute(part, file_.recordHandle(part), attribute, *original));
        } else {
            append(tags, newAttribute(attribute, owner));
        }
    }
    if (unit.sequenceEnd())
        append(tags, copy(*unit.sequenceEnd()));
    else if (!now.attributes.empty())
        append(tags, newSequenceEnd(owner, now.layer));
    return tags;
}

DxfWriter::Tags DxfWriter::newEntityHead(std::string_view type, const std::string& handle, const std::string& owner,
                                         const std::u16string& layer) const
{
    Tags tags{{0, std::string(type)}, {5, handle}};
    if (subclassMarkers_) {
        if (!owner.empty())
            tags.push_back({330, owner});
        tags.push_back({100, "AcDbEntity"});
    }
    tags.push_back({8, encode(layer)});
    return tags;
}

template <typename Record>
void DxfWriter::appendNewTextGroups(Tags& tags, const Record& text, const Tags& afterString) const
{
    if (subclassMarkers_)
        tags.push_back({100, "AcDbText"});
    appendPoint(tags, 10, text.insertionPoint);
    tags.push_back({40, formatDxfDouble(text.height)});
    tags.push_back({1, encode(text.string)});
    append(tags, afterString);
    tags.push_back({72, std::to_string(dxfFromAlignment(text.alignment).horizontal)});
    if (text.alignment != 0)
        appendPoint(tags, 11, text.alignmentPoint);
}

DxfWriter::Tags DxfWriter::newText(const TextEntity& text) const
{
    Tags tags = newEntityHead("TEXT", fileHandleOf(text.handle), layout_.modelSpaceRecordHandle, text.layer);
    appendNewTextGroups(tags, text, {{50, degrees(text.rotation)}, {7, encode(text.style)}});
    if (subclassMarkers_)
        tags.push_back({100, "AcDbText"});
    tags.push_back({73, std::to_string(dxfFromAlignment(text.alignment).vertical)});
    return tags;
}

DxfWriter::Tags DxfWriter::newAttribute(const AttributeReference& attribute, const std::string& owner) const
{
    Tags tags = newEntityHead("ATTRIB", fileHandleOf(attribute.handle), owner, attribute.layer);
    appendNewTextGroups(tags, attribute, {});
    if (subclassMarkers_)
        tags.push_back({100, "AcDbAttribute"});
    tags.push_back({2, encode(attribute.tag)});
    tags.push_back({70, "0"});
    tags.push_back({74, std::to_string(dxfFromAlignment(attribute.alignment).vertical)});
    return tags;
}

DxfWriter::Tags DxfWriter::newSequenceEnd(const std::string& owner, const std::u16string& layer)
{
    return newEntityHead("SEQEND", allocateHandle(), owner, layer);
}

DxfWriter::Tags DxfWriter::newReference(const BlockReference& reference)
{
    const std::string handle = fileHandleOf(reference.handle);
    Tags tags = newEntityHead("INSERT", handle, layout_.modelSpaceRecordHandle, reference.layer);
    if (subclassMarkers_)
        tags.push_back({100, "AcDbBlockReference"});
    if (!reference.attributes.empty())
        tags.push_back({66, "1"});
    tags.push_back({2, encode(reference.name)});
    appendPoint(tags, 10, reference.insertionPoint);
    if (reference.attributes.empty())
        return tags;
    for (const auto& attribute : reference.attributes)
        append(tags, newAttribute(attribute, handle));
    append(tags, newSequenceEnd(handle, reference.layer));
    return tags;
}

DxfWriter::Tags DxfWriter::entities()
{
    Tags tags;
    std::set<std::u16string> fromFile;
    for (const DxfEntityUnit& unit : layout_.units) {
        if (unit.modelHandle.empty()) {
            append(tags, copy({unit.record.begin, unit.sequenceEnd() ? unit.sequenceEnd()->end : unit.record.end}));
            continue;
        }
        fromFile.insert(unit.modelHandle);
        const ModelEntity* now = drawing_.findEntity(unit.modelHandle);
        if (!now)
            continue;  // erased
        const ModelEntity was = file_.entityAsRead(unit);
        if (const auto* text = std::get_if<TextEntity>(now))
            append(tags, patchedText(unit, *text, std::get<TextEntity>(was)));
        else
            append(tags, patchedReference(unit, std::get<BlockReference>(*now), std::get<BlockReference>(was)));
    }
    for (const ModelEntity& entity : drawing_.entities()) {
        if (fromFile.count(handleOf(entity)))
            continue;
        if (const auto* text = std::get_if<TextEntity>(&entity))
            append(tags, newText(*text));
        else
            append(tags, newReference(std::get<BlockReference>(entity)));
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
        tags.push_back({0, "LAYER"});
        tags.push_back({5, allocateHandle()});
        if (subclassMarkers_) {
            if (!layout_.layerTableHandle.empty())
                tags.push_back({330, layout_.layerTableHandle});
            tags.push_back({100, "AcDbSymbolTableRecord"});
            tags.push_back({100, "AcDbLayerTableRecord"});
        }
        tags.push_back({2, encode(layer.name)});
        tags.push_back({70, layer.locked ? "4" : "0"});
        tags.push_back({62, "7"});
        tags.push_back({6, subclassMarkers_ ? "Continuous" : "CONTINUOUS"});
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
            DxfTag value = tags.tag(i);
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
            emit({0, "SECTION"});
            emit({2, "ENTITIES"});
            emit(entityTags);
            emit({0, "ENDSEC"});
        }
        emitStored(i);
        ++i;
    }
    return std::move(out_);
}

}  // namespace kelvocad
