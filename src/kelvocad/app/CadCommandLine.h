#pragma once

#include <QString>
#include <QStringList>

namespace kelvocad {

// What kelvocad was asked to do on its command line:
//   kelvocad [--progid NAME]... [FILE.dxf]
// Without --progid it serves the default ProgIDs; each --progid replaces them, so a test
// can run its own KelvoCAD beside the user's.
struct CadCommandLine {
    QStringList progIds;
    QString drawingFile;  // empty: the built-in sample drawing
    bool help = false;
    QString error;  // set when the arguments make no sense

    static QStringList defaultProgIds();
    static QString usage();
    // arguments[0] is the program.
    static CadCommandLine parse(const QStringList& arguments);
};

}  // namespace kelvocad
