#include "kelvocad/dxf/DxfFile.h"

#include "common/AtomicFile.h"
#include "common/Utf.h"
#include "kelvocad/dxf/DxfAlignment.h"
#include "kelvocad/dxf/DxfError.h"
#include "kelvocad/dxf/DxfTagReader.h"
#include "kelvocad/dxf/DxfWriter.h"
#include "kelvocad/model/Drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace kelvocad {

namespace {

// Handles above this are kept as they are but never raise the model's next handle, which
// would run out of room.
constexpr uint64_t highestReservableHandle = uint64_t{1} << 60;

bool is(const DxfTagTable& tags, size_t i, int code, std::string_view word)
{
    return tags.code(i) == code && trimDxfValue(tags.value(i)) == word;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The groups of one record, read the way the model needs them.
class RecordReader {
public:
    RecordReader(const DxfTagTable& tags, DxfRange range, const DxfTextCodec& codec)
        : tags_(tags), range_(range), codec_(codec)
    {
    }

    std::optional<std::string_view> first(int code) const
    {
        bool inGroup = false;
        for (size_t i = range_.begin + 1; i < range_.end; ++i) {
            const int tagCode = tags_.code(i);
            if (tagCode == 101 || tagCode >= 1000)
                break;  // an embedded object or extended data: not the entity's own groups
            if (tagCode == 102) {
                const std::string_view value = tags_.value(i);
                inGroup = !value.empty() && value[0] == '{';
                continue;
            }
            if (!inGroup && tagCode == code)
                return tags_.value(i);
        }
        return std::nullopt;
    }

    bool has(int code) const { return first(code).has_value(); }

    std::u16string text(int code, std::u16string fallback = {}) const
    {
        auto value = first(code);
        return value ? codec_.decode(*value) : fallback;
    }

    double number(int code, double fallback) const
    {
        auto value = first(code);
        auto parsed = value ? parseDxfDouble(*value) : std::nullopt;
        return parsed ? *parsed : fallback;
    }

    int integer(int code, int fallback = 0) const
    {
        auto value = first(code);
        auto parsed = value ? parseDxfInteger(*value) : std::nullopt;
        if (!parsed)
            return fallback;
        return static_cast<int>(std::clamp<int64_t>(*parsed, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    }

    Point3 point(int code) const { return {number(code, 0.0), number(code + 10, 0.0), number(code + 20, 0.0)}; }

    std::string handle() const
    {
        auto value = first(5);
        return value ? std::string(trimDxfValue(*value)) : std::string();
    }

private:
    const DxfTagTable& tags_;
    DxfRange range_;
    const DxfTextCodec& codec_;
};

// The model's handle for a file's one; empty (the model gives a fresh one) for a handle
// the model could not count on from, which the writer then replaces.
std::u16string normalizedHandle(const std::string& fileHandle)
{
    const auto value = parseDxfHandle(fileHandle);
    if (!value || *value > highestReservableHandle)
        return {};
    return Drawing::normalizeHandle(common::fromAscii(fileHandle));
}

// The groups a TEXT and an attribute share (Record is TextEntity or AttributeReference);
// they differ in the code of the vertical justification.
template <typename Record>
void readTextGroups(const RecordReader& record, int verticalCode, Record& text)
{
    text.handle = normalizedHandle(record.handle());
    text.layer = record.text(8, text.layer);
    text.string = record.text(1);
    text.insertionPoint = record.point(10);
    text.alignmentPoint = record.has(11) ? record.point(11) : text.insertionPoint;
    text.alignment = alignmentFromDxf({record.integer(72), record.integer(verticalCode)});
    text.height = record.number(40, text.height);
}

size_t nextRecord(const DxfTagTable& tags, size_t from, size_t end)
{
    while (from < end && tags.code(from) != 0)
        ++from;
    return from;
}

std::string printable(std::string_view text)
{
    std::string result;
    for (char c : text.substr(0, 40))
        result += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) ? '?' : c;
    return result;
}

}  // namespace

DxfFile::DxfFile(std::filesystem::path path, DxfTagTable tags, bool crlf, std::string acadVersion,
                 DxfTextCodec codec)
    : path_(std::move(path))
    , tags_(std::move(tags))
    , crlf_(crlf)
    , acadVersion_(std::move(acadVersion))
    , codec_(codec)
    , drawing_(std::make_shared<Drawing>())
{
}

void DxfFile::fail(size_t tagIndex, std::string reason) const
{
    const size_t line =
        tagIndex < tags_.size() ? tags_.line(tagIndex) : (tags_.empty() ? 0 : tags_.line(tags_.size() - 1));
    throw DxfError(path_, line, std::move(reason));
}

DxfFile DxfFile::open(const std::filesystem::path& path)
{
    std::optional<std::string> bytes;
    try {
        bytes = common::readFileBytes(path);
    } catch (const common::FileError& error) {
        throw DxfError(path, 0, error.reason());
    }
    if (!bytes)
        throw DxfError(path, 0, "the file does not exist");
    return parseOwned(std::move(*bytes), path);
}

DxfFile DxfFile::parse(std::string_view bytes, const std::filesystem::path& path)
{
    return parseOwned(std::string(bytes), path);
}

DxfFile DxfFile::parseOwned(std::string bytes, const std::filesystem::path& path)
{
    DxfTagReader::Result read = DxfTagReader::read(std::move(bytes), path);
    const DxfTagTable& tags = read.tags;

    // The version and code page decide how every string reads, so they come first.
    std::string version = "AC1009";
    std::string codePageName;
    size_t versionLine = 0;
    for (size_t i = 0; i + 1 < tags.size() && !is(tags, i, 0, "ENDSEC"); ++i) {
        if (is(tags, i, 9, "$ACADVER") && tags.code(i + 1) == 1) {
            version = std::string(trimDxfValue(tags.value(i + 1)));
            versionLine = tags.line(i + 1) + 1;  // the value's line, after its code
        } else if (is(tags, i, 9, "$DWGCODEPAGE") && tags.code(i + 1) == 3) {
            codePageName = std::string(trimDxfValue(tags.value(i + 1)));
        }
    }
    const bool knownVersion = version.size() == 6 && version.substr(0, 2) == "AC" &&
                              std::all_of(version.begin() + 2, version.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                              version >= "AC1006" && version <= "AC1032";
    if (!knownVersion)
        throw DxfError(path, versionLine, "unsupported DXF version '" + printable(version) +
                                              "' (R12 AC1009 to R2018 AC1032 can be read)");

    DxfTextCodec codec = DxfTextCodec::forFile(version, codePageName, tags.bytes());
    DxfFile file(path, std::move(read.tags), read.crlf, std::move(version), codec);
    file.reserveFileHandles();
    file.readSections();
    file.layout_.layersAtOpen = file.drawing_->layers();
    file.drawing_->clearUndo();
    return file;
}

void DxfFile::reserveFileHandles()
{
    uint64_t highest = 0;
    for (size_t i = 0; i < tags_.size(); ++i) {
        std::optional<uint64_t> value;
        if (is(tags_, i, 9, "$HANDSEED") && i + 1 < tags_.size() && tags_.code(i + 1) == 5) {
            // The seed is the next free handle, not one in use.
            auto seed = parseDxfHandle(tags_.value(i + 1));
            if (seed && *seed > 0)
                value = *seed - 1;
            ++i;
        } else if (dxfValueType(tags_.code(i)) == DxfValueType::Handle) {
            value = parseDxfHandle(tags_.value(i));
        }
        if (value && *value <= highestReservableHandle)
            highest = std::max(highest, *value);
    }
    layout_.highestFileHandle = highest;
    if (highest > 0)
        drawing_->reserveHandle(common::fromAscii(formatDxfHandle(highest)));
}

void DxfFile::readSections()
{
    std::set<std::string> sectionsRead;
    size_t i = 0;
    while (true) {
        if (i >= tags_.size())
            fail(i, "the file ends without EOF");
        if (tags_.code(i) == 999) {
            ++i;
            continue;
        }
        if (is(tags_, i, 0, "EOF"))
            return;
        if (!is(tags_, i, 0, "SECTION"))
            fail(i, "SECTION expected, found group " + std::to_string(tags_.code(i)) + " '" +
                        printable(tags_.value(i)) + "'");
        if (i + 1 >= tags_.size() || tags_.code(i + 1) != 2)
            fail(i + 1, "section name (group 2) expected after SECTION");
        const std::string name(trimDxfValue(tags_.value(i + 1)));
        size_t end = i + 2;
        while (end < tags_.size() && !is(tags_, end, 0, "ENDSEC")) {
            if (is(tags_, end, 0, "SECTION") || is(tags_, end, 0, "EOF"))
                fail(end, "section " + printable(name) + " is not closed by ENDSEC");
            ++end;
        }
        if (end >= tags_.size())
            fail(end, "section " + printable(name) + " is not closed by ENDSEC");
        // A second one would be read into the drawing and copied as well.
        const bool interpreted = name == "HEADER" || name == "TABLES" || name == "BLOCKS" || name == "ENTITIES";
        if (interpreted && !sectionsRead.insert(name).second)
            fail(i, "a second " + name + " section");
        if (name == "HEADER")
            readHeader(i + 2, end);
        else if (name == "TABLES")
            readTables(i + 2, end);
        else if (name == "BLOCKS")
            readBlocks(i + 2, end);
        else if (name == "ENTITIES")
            readEntities(i + 2, end);
        i = end + 1;
    }
}

void DxfFile::readHeader(size_t begin, size_t end)
{
    for (size_t i = begin; i + 1 < end; ++i)
        if (is(tags_, i, 9, "$HANDSEED") && tags_.code(i + 1) == 5)
            layout_.handleSeedValue = i + 1;
}

void DxfFile::readTables(size_t begin, size_t end)
{
    std::string table;
    for (size_t i = nextRecord(tags_, begin, end); i < end;) {
        const size_t next = nextRecord(tags_, i + 1, end);
        const DxfRange range{i, next};
        const RecordReader record(tags_, range, codec_);
        const std::string_view type = trimDxfValue(tags_.value(i));
        if (type == "TABLE") {
            auto name = record.first(2);
            table = name ? std::string(trimDxfValue(*name)) : std::string();
            if (table == "LAYER")
                layout_.layerTableHandle = record.handle();
        } else if (type == "ENDTAB") {
            if (table == "LAYER")
                layout_.layerTableEnd = i;
            table.clear();
        } else if (table == "LAYER" && type == "LAYER") {
            std::u16string name = record.text(2);
            if (!name.empty()) {
                const bool locked = (record.integer(70) & 4) != 0;
                drawing_->addLayer(name);
                drawing_->setLayerLocked(name, locked);
                layout_.layerRecords[i] = name;
                layout_.layerRecordEnds[i] = next;
                layout_.layersAsRead.push_back({name, locked});
            }
        } else if (table == "BLOCK_RECORD" && type == "BLOCK_RECORD") {
            auto name = record.first(2);
            if (name && equalsIgnoringCase(trimDxfValue(*name), "*Model_Space"))
                layout_.modelSpaceRecordHandle = record.handle();
        }
        i = next;
    }
}

void DxfFile::readBlocks(size_t begin, size_t end)
{
    std::optional<BlockDefinition> block;
    for (size_t i = nextRecord(tags_, begin, end); i < end;) {
        const size_t next = nextRecord(tags_, i + 1, end);
        const RecordReader record(tags_, {i, next}, codec_);
        const std::string_view type = trimDxfValue(tags_.value(i));
        if (type == "BLOCK") {
            block = BlockDefinition{record.text(2), record.point(10), {}};
        } else if (type == "ENDBLK") {
            if (block && !block->name.empty() && block->name[0] != u'*')
                drawing_->addBlock(std::move(*block));
            block.reset();
        } else if (type == "ATTDEF" && block) {
            AttributeDefinition definition;
            definition.handle = normalizedHandle(record.handle());
            definition.tag = record.text(2);
            definition.prompt = record.text(3);
            definition.defaultValue = record.text(1);
            definition.insertionPoint = record.point(10) - block->basePoint;
            definition.alignment = alignmentFromDxf({record.integer(72), record.integer(74)});
            definition.height = record.number(40, definition.height);
            block->attributes.push_back(std::move(definition));
        }
        i = next;
    }
}

namespace {

TextEntity readText(const RecordReader& record)
{
    TextEntity text;
    readTextGroups(record, 73, text);
    text.rotation = record.number(50, 0.0) * std::numbers::pi / 180.0;
    text.style = record.text(7, text.style);
    return text;
}

BlockReference readReference(const DxfTagTable& tags, const DxfTextCodec& codec, const RecordReader& record,
                             const DxfAttributeRecords* parts)
{
    BlockReference reference;
    reference.handle = normalizedHandle(record.handle());
    reference.name = record.text(2);
    reference.layer = record.text(8, reference.layer);
    reference.insertionPoint = record.point(10);
    if (parts) {
        for (const DxfRange& part : parts->attributes) {
            const RecordReader attribute(tags, part, codec);
            AttributeReference value;
            readTextGroups(attribute, 74, value);
            value.tag = attribute.text(2);
            reference.attributes.push_back(std::move(value));
        }
    }
    return reference;
}

}  // namespace

void DxfFile::readEntities(size_t begin, size_t end)
{
    layout_.entitiesBegin = begin;
    layout_.entitiesEnd = end;
    size_t i = begin;
    while (i < end && tags_.code(i) == 999)
        ++i;
    if (i < end && tags_.code(i) != 0)
        fail(i, "an entity (group 0) expected in ENTITIES");
    while (i < end) {
        DxfEntityUnit unit;
        unit.record = {i, nextRecord(tags_, i + 1, end)};
        const RecordReader record(tags_, unit.record, codec_);
        const std::string_view type = trimDxfValue(tags_.value(i));
        size_t next = unit.record.end;
        if (type == "INSERT" && record.integer(66) == 1) {
            unit.attributes = std::make_unique<DxfAttributeRecords>();
            while (true) {
                if (next >= end)
                    fail(i, "the block reference's attributes are not closed by SEQEND");
                const DxfRange part{next, nextRecord(tags_, next + 1, end)};
                const std::string_view partType = trimDxfValue(tags_.value(next));
                if (partType == "ATTRIB") {
                    unit.attributes->attributes.push_back(part);
                } else if (partType == "SEQEND") {
                    unit.attributes->sequenceEnd = part;
                    next = part.end;
                    break;
                } else {
                    fail(next, "ATTRIB or SEQEND expected after INSERT, found '" + printable(partType) + "'");
                }
                next = part.end;
            }
        }
        const bool modelSpace = record.integer(67) != 1;
        if (modelSpace && type == "TEXT") {
            unit.modelHandle = drawing_->addText(readText(record));
        } else if (modelSpace && type == "INSERT") {
            unit.modelHandle = drawing_->addBlockReference(readReference(tags_, codec_, record, unit.attributes.get()));
            if (unit.attributes)
                for (const auto& attribute : drawing_->findBlockReference(unit.modelHandle)->attributes)
                    unit.attributes->attributeHandles.push_back(attribute.handle);
        }
        layout_.units.push_back(std::move(unit));
        i = next;
    }
    layout_.units.shrink_to_fit();
}

ModelEntity DxfFile::entityAsRead(const DxfEntityUnit& unit) const
{
    const RecordReader record(tags_, unit.record, codec_);
    if (trimDxfValue(tags_.value(unit.record.begin)) == "TEXT") {
        TextEntity text = readText(record);
        text.handle = unit.modelHandle;
        return text;
    }
    BlockReference reference = readReference(tags_, codec_, record, unit.attributes.get());
    reference.handle = unit.modelHandle;
    for (size_t i = 0; unit.attributes && i < reference.attributes.size(); ++i)
        reference.attributes[i].handle = unit.attributes->attributeHandles[i];
    return reference;
}

std::string DxfFile::recordHandle(DxfRange record) const
{
    return RecordReader(tags_, record, codec_).handle();
}

std::string DxfFile::serialize() const
{
    return DxfWriter(*this).write();
}

void DxfFile::save(const std::filesystem::path& path) const
{
    const std::string bytes = serialize();
    try {
        common::writeFileAtomically(path, bytes);
    } catch (const common::FileError& error) {
        throw DxfError(path, 0, error.reason());
    }
}

}  // namespace kelvocad
