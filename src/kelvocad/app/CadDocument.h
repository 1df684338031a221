#pragma once

#include <QString>

#include <memory>

namespace kelvocad {

class CadSession;
class DxfFile;

// The drawing a KelvoCAD runs on: the built-in sample, or a DXF file read from disk that
// can be written back.
class CadDocument {
public:
    static CadDocument sample();
    // Throws (DxfError, or std::runtime_error without DXF support) when the file cannot be
    // read; nothing is opened then.
    static CadDocument open(const QString& path);

    const std::shared_ptr<CadSession>& session() const noexcept { return session_; }
    bool canSave() const noexcept { return file_ != nullptr; }
    // Writes the drawing back to the file it came from; throws on failure.
    void save() const;

private:
    std::shared_ptr<CadSession> session_;
    std::shared_ptr<DxfFile> file_;
};

}  // namespace kelvocad
