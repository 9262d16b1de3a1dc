#pragma once

#include <QString>
#include <QStringList>

namespace tolvaro {

// The per-user data folder: $APPDATA/Ostrila/Tolvaro when APPDATA is set, else
// $XDG_DATA_HOME/Ostrila/Tolvaro, else ~/.local/share/Ostrila/Tolvaro. No trailing "/".
QString DataFolderFor(const QString& appData, const QString& xdgDataHome, const QString& home);

// The folder below which documents/ lies: the executable's folder when it holds documents/,
// else the installed share/tolvaro beside its bin/. No trailing "/".
QString ProgramFolderFor(const QString& executableFolder);

} // namespace tolvaro

namespace tolvaro {

// What the program's arguments ask for.
struct ArgumentRequest {
    bool help = false;
    bool version = false;
    QString error;      // a message for the user when the arguments cannot be used
    QString bookFolder; // --book FOLDER or /D="FOLDER", with a trailing "/"; empty: none
    QString showData;   // --show-data FILE: print the file's unscrambled lines and end
    QString dumpTables; // --dump-tables FOLDER: print how the book reads and end
};

// Reads --help, --version, --show-data FILE, --dump-tables FOLDER and the book: --book FOLDER,
// --book=FOLDER or /D="FOLDER". Other arguments are passed over.
ArgumentRequest ParseArguments(const QStringList& arguments);

// The text --help prints.
QString UsageText();

} // namespace tolvaro
