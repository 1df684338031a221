// Round trips through ezdxf: drawings written by ezdxf in three versions are opened,
// edited through the model, saved, and read back by ezdxf.
#include "DxfTestSupport.h"

#include "common/Utf.h"
#include "kelvocad/model/TextPlacement.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <set>
#include <sstream>

namespace kelvocad::test {
namespace {

namespace fs = std::filesystem;
using Line = std::vector<std::string>;

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult run(const std::string& command)
{
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    result.status = ::pclose(pipe);
    return result;
}

std::string quotedPath(const fs::path& path)
{
    return "'" + path.string() + "'";
}

std::string python()
{
    return KELVO_DXF_PYTHON;
}

std::vector<Line> parseDump(const std::string& text)
{
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string row;
    while (std::getline(in, row)) {
        Line fields;
        size_t start = 0;
        while (true) {
            const size_t tab = row.find('\t', start);
            fields.push_back(row.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        lines.push_back(std::move(fields));
    }
    return lines;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string u8(std::u16string_view text)
{
    return common::toUtf8(text);
}

std::string fixed(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    return buffer;
}

Line pointFields(const Point3& p)
{
    return {fixed(p.x), fixed(p.y), fixed(p.z)};
}

Line slice(const Line& line, size_t from, size_t count)
{
    return Line(line.begin() + static_cast<std::ptrdiff_t>(from),
                line.begin() + static_cast<std::ptrdiff_t>(from + count));
}

uint64_t hexValue(const std::string& handle)
{
    return std::stoull(handle, nullptr, 16);
}

// The Automation Alignment of a TEXT by its DXF justification, as a CAD shows it.
int expectedAlignment(int horizontal, int vertical)
{
    static const std::map<std::pair<int, int>, int> table{
        {{0, 0}, 0}, {{1, 0}, 1}, {{2, 0}, 2}, {{3, 0}, 3}, {{4, 0}, 4}, {{5, 0}, 5},
        {{0, 3}, 6}, {{1, 3}, 7}, {{2, 3}, 8}, {{0, 2}, 9}, {{1, 2}, 10}, {{2, 2}, 11},
        {{0, 1}, 12}, {{1, 1}, 13}, {{2, 1}, 14}};
    return table.at({horizontal, vertical});
}

class DxfEzdxf : public testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/kelvo-dxf-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_FALSE(python().empty()) << "python3 was not found when the tests were configured";
        const CommandResult made =
            run(python() + " " + quotedPath(fs::path(KELVO_DXF_SCRIPTS) / "make_drawings.py") + " " + quotedPath(folder_));
        ASSERT_EQ(made.status, 0) << "python3 with ezdxf (Debian's python3-ezdxf) is needed:\n" << made.output;
        generated_ = true;
    }

    static void TearDownTestSuite()
    {
        if (!folder_.empty())
            fs::remove_all(folder_);
    }

    void SetUp() override { ASSERT_TRUE(generated_) << "the drawings could not be made"; }

    fs::path source() const { return folder_ / (GetParam() + ".dxf"); }
    fs::path target(const std::string& name) const { return folder_ / (GetParam() + "-" + name + ".dxf"); }

    std::vector<Line> dump(const fs::path& path) const
    {
        const CommandResult result =
            run(python() + " " + quotedPath(fs::path(KELVO_DXF_SCRIPTS) / "dump_drawing.py") + " " + quotedPath(path));
        EXPECT_EQ(result.status, 0) << result.output;
        return parseDump(result.output);
    }

    static std::vector<Line> rows(const std::vector<Line>& lines, const std::string& kind)
    {
        std::vector<Line> result;
        for (const auto& line : lines)
            if (!line.empty() && line[0] == kind)
                result.push_back(line);
        return result;
    }

    static std::map<std::string, Line> byHandle(const std::vector<Line>& lines, const std::string& kind,
                                                size_t handleField = 1)
    {
        std::map<std::string, Line> result;
        for (const auto& line : rows(lines, kind))
            result[line.at(handleField)] = line;
        return result;
    }

    // The handles a file holds (group 5, and 105 of a DIMSTYLE) and its $HANDSEED, read from
    // its lines: ezdxf gives out handles of its own while it loads a file.
    struct FileHandles {
        std::multiset<std::string> handles;
        std::string seed;
    };

    static FileHandles fileHandles(const fs::path& path)
    {
        FileHandles result;
        std::istringstream in(readBytes(path));
        std::string code, value, record, previous;
        auto trim = [](std::string text) {
            while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
                text.pop_back();
            return text.substr(std::min(text.find_first_not_of(' '), text.size()));
        };
        while (std::getline(in, code) && std::getline(in, value)) {
            code = trim(code);
            value = trim(value);
            if (code == "0")
                record = value;
            else if (code == "5" && previous == "$HANDSEED")
                result.seed = value;
            else if ((code == "5" && record != "DIMSTYLE") || (code == "105" && record == "DIMSTYLE"))
                result.handles.insert(value);
            previous = code == "9" ? value : std::string();
        }
        return result;
    }

    static inline fs::path folder_;
    static inline bool generated_ = false;
};

TEST_P(DxfEzdxf, UnchangedSaveReadsAsTheSameDrawing)
{
    DxfFile file = DxfFile::open(source());
    file.save(target("unchanged"));
    const auto before = dump(source());
    const auto after = dump(target("unchanged"));
    ASSERT_GT(rows(before, "ENTITY").size(), 20u);
    EXPECT_EQ(after, before);
    EXPECT_EQ(readBytes(target("unchanged")), readBytes(source()));
}

TEST_P(DxfEzdxf, ModelHoldsWhatEzdxfReads)
{
    DxfFile file = DxfFile::open(source());
    const Drawing& drawing = *file.drawing();
    const auto lines = dump(source());

    for (const auto& layer : rows(lines, "LAYER")) {
        SCOPED_TRACE(layer[1]);
        ASSERT_NE(drawing.findLayer(common::fromUtf8(layer[1])), nullptr);
        EXPECT_EQ(drawing.isLayerLocked(common::fromUtf8(layer[1])), layer[2] == "1");
    }
    EXPECT_TRUE(drawing.isLayerLocked(u"Locked"));

    for (const auto& block : rows(lines, "BLOCK")) {
        const BlockDefinition* definition = drawing.findBlock(common::fromUtf8(block[1]));
        ASSERT_NE(definition, nullptr) << block[1];
        std::string attdefs = "[";
        for (const auto& a : definition->attributes)
            attdefs += (attdefs.size() > 1 ? ", " : "") + ("[\"" + u8(a.tag) + "\", \"" + u8(a.prompt) + "\", \"" +
                                                           u8(a.defaultValue) + "\"]");
        EXPECT_EQ(attdefs + "]", block[2]);
    }

    const auto texts = rows(lines, "TEXT");
    const auto references = rows(lines, "INSERT");
    // 15 alignments and the locked layer's text, and from R2000 on the text with extended data.
    ASSERT_EQ(texts.size(), GetParam() == "R12" ? 16u : 17u);
    EXPECT_EQ(drawing.entities().size(), texts.size() + references.size());
    std::set<int> alignments;
    for (const auto& line : texts) {
        SCOPED_TRACE(line[1]);
        const TextEntity* text = drawing.findText(common::fromUtf8(line[1]));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(u8(text->layer), line[2]);
        EXPECT_EQ(u8(text->string), line[3]);
        EXPECT_EQ(pointFields(text->insertionPoint), slice(line, 4, 3));
        const int alignment = expectedAlignment(std::stoi(line[10]), std::stoi(line[11]));
        alignments.insert(alignment);
        EXPECT_EQ(text->alignment, alignment);
        if (alignment != 0) {
            EXPECT_EQ(pointFields(text->alignmentPoint), slice(line, 7, 3));
        }
        EXPECT_EQ(fixed(text->height), line[12]);
        EXPECT_EQ(fixed(text->rotation * 180 / std::numbers::pi), line[13]);
        EXPECT_EQ(u8(text->style), line[14]);
    }
    EXPECT_EQ(alignments.size(), 15u);

    const auto attributes = byHandle(lines, "ATTRIB");
    for (const auto& line : references) {
        SCOPED_TRACE(line[1]);
        const BlockReference* reference = drawing.findBlockReference(common::fromUtf8(line[1]));
        ASSERT_NE(reference, nullptr);
        EXPECT_EQ(u8(reference->layer), line[2]);
        EXPECT_EQ(u8(reference->name), line[3]);
        EXPECT_EQ(pointFields(reference->insertionPoint), slice(line, 4, 3));
        std::string handles;
        for (const auto& attribute : reference->attributes) {
            handles += (handles.empty() ? "" : ",") + u8(attribute.handle);
            const Line& a = attributes.at(u8(attribute.handle));
            EXPECT_EQ(u8(attribute.tag), a[3]);
            EXPECT_EQ(u8(attribute.string), a[4]);
            EXPECT_EQ(pointFields(attribute.insertionPoint), slice(a, 5, 3));
            EXPECT_EQ(u8(attribute.layer), a[10]);
        }
        EXPECT_EQ(handles, line[7]);
    }
}

TEST_P(DxfEzdxf, EditsAreSeenByEzdxf)
{
    DxfFile file = DxfFile::open(source());
    Drawing& drawing = *file.drawing();
    const auto before = dump(source());
    const auto beforeTexts = byHandle(before, "TEXT");
    const auto beforeEntities = byHandle(before, "ENTITY", 3);
    const std::multiset<std::string> beforeHandles = fileHandles(source()).handles;

    std::vector<std::u16string> texts;
    std::vector<std::u16string> references;
    for (const auto& entity : drawing.entities()) {
        if (std::holds_alternative<TextEntity>(entity))
            texts.push_back(handleOf(entity));
        else if (!std::get<BlockReference>(entity).attributes.empty())
            references.push_back(handleOf(entity));
    }
    ASSERT_GE(texts.size(), 3u);
    ASSERT_EQ(references.size(), 2u);
    const std::string changed = u8(texts[0]), moved = u8(texts[1]), erased = u8(texts[2]);
    const std::u16string newString = u"changed Ա € ｱ";

    drawing.modifyText(texts[0], [&](TextEntity& t) {
        t.string = newString;
        changeAlignment(t, 10);
        placeByInsertionPoint(t, Point3{7, 8, 9});
    });
    const Point3 movedFrom = drawing.findText(texts[1])->insertionPoint;
    const Point3 alignedFrom = drawing.findText(texts[1])->alignmentPoint;
    drawing.modifyText(texts[1], [](TextEntity& t) { placeByAlignmentPoint(t, Point3{1000, 2000, 0}); });
    drawing.erase(texts[2]);

    const BlockReference erasedReference = *drawing.findBlockReference(references[0]);
    drawing.erase(references[0]);
    const std::u16string renamed = drawing.findBlockReference(references[1])->attributes[0].handle;
    drawing.modifyAttribute(renamed, [](AttributeReference& a) {
        a.string = u"renamed ｱ";
        placeByInsertionPoint(a, Point3{-1, -2, 0});
    });
    const std::u16string textCopy = drawing.copyEntity(texts[1]);
    const std::u16string referenceCopy = drawing.copyEntity(references[1]);
    TextEntity added;
    added.layer = u"Added";
    added.string = u"added Ω";
    added.insertionPoint = {1, 2, 3};
    const std::u16string addedHandle = drawing.addText(added);
    drawing.setLayerLocked(u"Notes", true);
    drawing.setLayerLocked(u"Locked", false);

    file.save(target("edited"));
    const auto after = dump(target("edited"));
    const auto afterTexts = byHandle(after, "TEXT");
    const auto afterEntities = byHandle(after, "ENTITY", 3);
    const auto afterAttributes = byHandle(after, "ATTRIB");
    const FileHandles saved = fileHandles(target("edited"));
    const std::multiset<std::string>& afterHandles = saved.handles;

    // Changed, moved and realigned text.
    const Line& t0 = afterTexts.at(changed);
    EXPECT_EQ(t0[3], u8(newString));
    EXPECT_EQ(slice(t0, 4, 3), pointFields({7, 8, 9}));
    EXPECT_EQ(slice(t0, 7, 3), pointFields({7, 8, 9}));
    EXPECT_EQ(t0[10], "1");
    EXPECT_EQ(t0[11], "2");
    const Line& t1 = afterTexts.at(moved);
    EXPECT_EQ(slice(t1, 7, 3), pointFields({1000, 2000, 0}));
    EXPECT_EQ(slice(t1, 4, 3), pointFields(movedFrom + (Point3{1000, 2000, 0} - alignedFrom)));
    const std::string bytes = readBytes(target("edited"));
    if (GetParam() == "R2018")
        EXPECT_NE(bytes.find("changed \xD4\xB1"), std::string::npos);
    else
        EXPECT_NE(bytes.find("changed \\U+0531"), std::string::npos);

    // Erased entities are gone, the reference with its attributes.
    EXPECT_EQ(afterHandles.count(erased), 0u);
    EXPECT_EQ(afterHandles.count(u8(erasedReference.handle)), 0u);
    for (const auto& attribute : erasedReference.attributes)
        EXPECT_EQ(afterHandles.count(u8(attribute.handle)), 0u);

    // The edited attribute.
    const Line& renamedLine = afterAttributes.at(u8(renamed));
    EXPECT_EQ(renamedLine[4], u8(u"renamed ｱ"));
    EXPECT_EQ(slice(renamedLine, 5, 3), pointFields({-1, -2, 0}));

    // Copies and the added text have handles that were not in the file, below $HANDSEED.
    std::vector<std::string> newHandles{u8(textCopy), u8(referenceCopy), u8(addedHandle)};
    for (const auto& attribute : drawing.findBlockReference(referenceCopy)->attributes)
        newHandles.push_back(u8(attribute.handle));
    const uint64_t seed = hexValue(saved.seed);
    EXPECT_EQ(rows(after, "HEADER").at(0).at(3), saved.seed);
    for (const auto& handle : afterHandles)
        EXPECT_LT(hexValue(handle), seed) << handle;
    for (const auto& handle : newHandles) {
        EXPECT_EQ(beforeHandles.count(handle), 0u) << handle;
        EXPECT_EQ(afterHandles.count(handle), 1u) << handle;
    }
    Line copied = afterTexts.at(u8(textCopy));
    Line original = t1;
    copied[1] = original[1] = "";
    EXPECT_EQ(copied, original);
    const Line& addedLine = afterTexts.at(u8(addedHandle));
    EXPECT_EQ(addedLine[2], "Added");
    EXPECT_EQ(addedLine[3], u8(u"added Ω"));
    const auto copyAttributes = rows(after, "ATTRIB");
    size_t copiedAttributes = 0;
    for (const auto& line : copyAttributes)
        if (line[2] == u8(referenceCopy)) {
            ++copiedAttributes;
            if (line[3] == "NAME") {
                EXPECT_EQ(line[4], u8(u"renamed ｱ"));
            }
        }
    EXPECT_EQ(copiedAttributes, 2u);

    // Everything not edited reads as before.
    std::set<std::string> edited{changed, moved, u8(renamed), u8(references[1])};
    for (const auto& [handle, line] : beforeEntities) {
        if (edited.count(handle) || !afterHandles.count(handle))
            continue;
        ASSERT_TRUE(afterEntities.count(handle)) << handle;
        EXPECT_EQ(afterEntities.at(handle), line);
    }
    EXPECT_EQ(afterEntities.size(), beforeEntities.size() - 1 - 1 - erasedReference.attributes.size() + 1 + 1 +
                                         drawing.findBlockReference(referenceCopy)->attributes.size() + 1);

    // Layers.
    std::map<std::string, std::string> locks;
    for (const auto& line : rows(after, "LAYER"))
        locks[line[1]] = line[2];
    EXPECT_EQ(locks["Notes"], "1");
    EXPECT_EQ(locks["Locked"], "0");
    EXPECT_EQ(locks.count("Added"), 1u);
    EXPECT_EQ(rows(after, "AUDIT"), rows(before, "AUDIT"));

    // Handles survive a reopen.
    DxfFile reopened = DxfFile::open(target("edited"));
    EXPECT_EQ(reopened.drawing()->findText(textCopy)->string, drawing.findText(textCopy)->string);
    EXPECT_EQ(reopened.drawing()->findAttribute(renamed)->string, u"renamed ｱ");
    EXPECT_EQ(reopened.drawing()->findText(texts[0])->string, newString);
    EXPECT_FALSE(reopened.drawing()->findEntity(texts[2]));
}

INSTANTIATE_TEST_SUITE_P(Versions, DxfEzdxf, testing::Values("R12", "R2000", "R2018"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kelvocad::test
