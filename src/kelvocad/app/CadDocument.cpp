#include "kelvocad/app/CadDocument.h"

#include "kelvocad/dxf/DxfFile.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"

#include <QFileInfo>

#include <filesystem>
#include <stdexcept>

namespace kelvocad {

namespace {

std::filesystem::path toPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

std::u16string fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName().toStdU16String();
}

}  // namespace

CadDocument CadDocument::sample()
{
    CadDocument document;
    document.session_ = CadSession::create();
    document.markSaved();
    return document;
}

CadDocument CadDocument::open(const QString& path)
{
    auto file = std::make_shared<DxfFile>(DxfFile::open(toPath(path)));
    CadDocument document;
    document.session_ = CadSession::create(file->drawing());
    document.session_->documentName = fileNameOf(path);
    document.file_ = std::move(file);
    document.path_ = path;
    document.markSaved();
    return document;
}

void CadDocument::openInSession(const QString& path)
{
    auto file = std::make_shared<DxfFile>(DxfFile::open(toPath(path)));
    file_ = std::move(file);
    path_ = path;
    session_->documentName = fileNameOf(path);
    session_->replaceDrawing(file_->drawing());
    markSaved();
}

bool CadDocument::isModified() const
{
    return file_ && session_->drawing().revision() != savedRevision_;
}

void CadDocument::save()
{
    if (!file_)
        throw std::runtime_error("the drawing has no file to be saved to");
    file_->save(toPath(path_));
    markSaved();
}

void CadDocument::saveAs(const QString& path)
{
    if (!file_)
        throw std::runtime_error("the built-in sample drawing cannot be saved as a DXF file");
    file_->save(toPath(path));
    path_ = path;
    session_->documentName = fileNameOf(path);
    markSaved();
}

void CadDocument::markSaved()
{
    savedRevision_ = session_->drawing().revision();
}

}  // namespace kelvocad
