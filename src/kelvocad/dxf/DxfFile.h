#pragma once

#include "kelvocad/dxf/DxfLayout.h"
#include "kelvocad/dxf/DxfTagTable.h"
#include "kelvocad/dxf/DxfTextCodec.h"
#include "kelvocad/model/DrawingRecords.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

class Drawing;

// An ASCII DXF drawing (R12 to R2018) opened into KelvoCAD's model. The file's groups are
// kept, so that saving writes back everything the model does not hold unchanged and
// changes only what was edited in the drawing: texts, attributes, block references,
// layer locks, erased and added entities. Handles stay those of the file; new ones
// collide with none of them and raise $HANDSEED.
class DxfFile {
public:
    // Throws DxfError (with the file name and, where it applies, the line) on any failure;
    // nothing is opened then.
    static DxfFile open(const std::filesystem::path& path);
    // The same from bytes already read; path names the file in messages.
    static DxfFile parse(std::string_view bytes, const std::filesystem::path& path);

    // The drawing read from the file; edit it, then save.
    const std::shared_ptr<Drawing>& drawing() const noexcept { return drawing_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& acadVersion() const noexcept { return acadVersion_; }
    const DxfTextCodec& codec() const noexcept { return codec_; }

    // The file's bytes with the drawing's current state.
    std::string serialize() const;
    // Writes serialize() atomically; throws DxfError. The DxfFile keeps its original path;
    // saving again (to any path) writes the drawing's state then.
    void save(const std::filesystem::path& path) const;

private:
    DxfFile(std::filesystem::path path, DxfTagTable tags, bool crlf, std::string acadVersion, DxfTextCodec codec);

    static DxfFile parseOwned(std::string bytes, const std::filesystem::path& path);

    void readSections();
    void readHeader(size_t begin, size_t end);
    void readTables(size_t begin, size_t end);
    void readBlocks(size_t begin, size_t end);
    void readEntities(size_t begin, size_t end);
    void reserveFileHandles();
    // What the file says of an entity and of a record's handle (group 5, trimmed; empty
    // when the record has none), read again from its groups when a save needs them.
    ModelEntity entityAsRead(const DxfEntityUnit& unit) const;
    std::string recordHandle(DxfRange record) const;
    [[noreturn]] void fail(size_t tagIndex, std::string reason) const;

    std::filesystem::path path_;
    DxfTagTable tags_;
    bool crlf_;
    std::string acadVersion_;
    DxfTextCodec codec_;
    std::shared_ptr<Drawing> drawing_;
    DxfLayout layout_;

    friend class DxfWriter;
};

}  // namespace kelvocad
