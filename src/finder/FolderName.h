#pragma once

#include <QByteArray>
#include <QString>

namespace tolvaro {

// A folder as the rest of the program can name it. Qt names files by Unicode text, so a folder
// whose path is not UTF-8 has no name there; a line end in a path would split its line in a
// data file. Such a folder is reached through a symbolic link of its own in `linkFolder`, named
// by a hash of its path (made once, and again when it points elsewhere); any other folder keeps
// its own name. Empty when the link cannot be made.
QString UsableFolderName(const QByteArray& nativePath, const QString& linkFolder);

} // namespace tolvaro
