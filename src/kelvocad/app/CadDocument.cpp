#include "kelvocad/app/CadDocument.h"

#include "kelvocad/objects/CadSession.h"

#include <QFileInfo>

#include <stdexcept>

#ifdef KELVOCAD_WITH_DXF
#include "kelvocad/dxf/DxfFile.h"
#endif

namespace kelvocad {

CadDocument CadDocument::sample()
{
    CadDocument document;
    document.session_ = CadSession::create();
    return document;
}

CadDocument CadDocument::open(const QString& path)
{
#ifdef KELVOCAD_WITH_DXF
    CadDocument document;
    document.file_ = std::make_shared<DxfFile>(DxfFile::open(std::filesystem::path(path.toStdU16String())));
    document.session_ = CadSession::create(document.file_->drawing());
    document.session_->documentName = QFileInfo(path).fileName().toStdU16String();
    return document;
#else
    throw std::runtime_error("cannot open " + path.toStdString() + ": this build reads no DXF files");
#endif
}

void CadDocument::save() const
{
#ifdef KELVOCAD_WITH_DXF
    if (file_) {
        file_->save(file_->path());
        return;
    }
#endif
    throw std::runtime_error("the drawing has no file to be saved to");
}

}  // namespace kelvocad
