#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace kelvocad {

class CadSession;
class DxfFile;

// The drawing a KelvoCAD runs on: the built-in sample, or a DXF file read from disk that
// can be written back. Another file can be opened into the same session, so the window
// and the Automation server stay while the drawing changes.
class CadDocument {
public:
    static CadDocument sample();
    // Throws (DxfError) when the file cannot be read; nothing is opened then.
    static CadDocument open(const QString& path);

    // Reads the file and puts its drawing into this document's session in place of the
    // current one. Throws when the file cannot be read; the document stays as it was then.
    void openInSession(const QString& path);

    const std::shared_ptr<CadSession>& session() const noexcept { return session_; }
    // The sample drawing has no file of its own and cannot be saved.
    bool canSave() const noexcept { return file_ != nullptr; }
    // The file the drawing is saved to; empty for the sample.
    const QString& path() const noexcept { return path_; }
    // True when the drawing changed since it was opened or last saved; never for the
    // sample, which has nowhere to be saved to.
    bool isModified() const;

    // Writes the drawing to its file; throws on failure.
    void save();
    // Writes the drawing to another file, which it is saved to from then on; throws on
    // failure and keeps the old file then.
    void saveAs(const QString& path);

private:
    void markSaved();

    std::shared_ptr<CadSession> session_;
    std::shared_ptr<DxfFile> file_;
    QString path_;
    uint64_t savedRevision_ = 0;
};

}  // namespace kelvocad
