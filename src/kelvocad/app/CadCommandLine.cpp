#include "kelvocad/app/CadCommandLine.h"

namespace kelvocad {

QStringList CadCommandLine::defaultProgIds()
{
    // The ProgID the editor looks for out of the box, and KelvoCAD's own.
    return {QStringLiteral("BricscadApp.AcadApplication"), QStringLiteral("KelvoCAD.Application")};
}

QString CadCommandLine::usage()
{
    return QStringLiteral("usage: kelvocad [--progid NAME]... [FILE.dxf]\n"
                          "  --progid NAME  serve this ProgID instead of the defaults (may be repeated)\n"
                          "  FILE.dxf       the drawing to open; without it, the built-in sample drawing\n");
}

CadCommandLine CadCommandLine::parse(const QStringList& arguments)
{
    CadCommandLine result;
    QStringList progIds;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.help = true;
        } else if (argument == QLatin1String("--progid") || argument.startsWith(QLatin1String("--progid="))) {
            QString name;
            if (argument.contains(QLatin1Char('='))) {
                name = argument.section(QLatin1Char('='), 1);
            } else if (i + 1 < arguments.size()) {
                name = arguments[++i];
            }
            if (name.trimmed().isEmpty()) {
                result.error = QStringLiteral("--progid needs a name");
                return result;
            }
            if (!progIds.contains(name, Qt::CaseInsensitive))
                progIds << name;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            result.error = QStringLiteral("unknown option: ") + argument;
            return result;
        } else if (result.drawingFile.isEmpty()) {
            result.drawingFile = argument;
        } else {
            result.error = QStringLiteral("only one drawing can be opened: ") + argument;
            return result;
        }
    }
    result.progIds = progIds.isEmpty() ? defaultProgIds() : progIds;
    return result;
}

}  // namespace kelvocad
