#include "taglists/ui/SystemTextFileLauncher.h"

#include <QFile>
#include <QProcess>
#include <QString>

namespace taglists {

void SystemTextFileLauncher::open(const std::filesystem::path& path)
{
    // The path is one element of the program's argument vector: no shell sees it, and the
    // editor gets the file's name rather than a URL it might not understand.
    QProcess::startDetached(QStringLiteral("xdg-open"), {QFile::decodeName(path.c_str())});
}

}  // namespace taglists
