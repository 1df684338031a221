#include "kelvocad/app/CadDocument.h"

#include "kelvocad/objects/CadSession.h"

#include <QFileInfo>

#include "kelvocad/dxf/DxfFile.h"

#include <stdexcept>

namespace kelvocad {

CadDocument CadDocument::sample()
{
    CadDocument document;
    document.session_ = CadSession::create();
    return document;
}

CadDocument CadDocument::open(const QString& path)
{
    CadDocument document;
    document.file_ = std::make_shared<DxfFile>(DxfFile::open(std::filesystem::path(path.toStdU16String())));
    document.session_ = CadSession::create(document.file_->drawing());
    document.session_->documentName = QFileInfo(path).fileName().toStdU16String();
    return document;
}

void CadDocument::save() const
{
    if (file_) {
        file_->save(file_->path());
        return;
    }
    throw std::runtime_error("the drawing has no file to be saved to");
}

}  // namespace kelvocad
