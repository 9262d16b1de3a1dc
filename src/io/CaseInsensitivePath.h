#pragma once

#include <QString>

namespace tolvaro {

// The path of an existing file for a path written on a system that ignores case (a CD, a book
// made with Windows tools): the path itself when it exists; otherwise, folder by folder, the one
// entry whose name differs only in case. Where no entry or several differ only in case, the
// path is returned as it was given (and is then not found, as before).
QString ExistingPathIgnoringCase(const QString& path);

// A folder as a book folder: with exactly the given text and a trailing "/".
inline QString WithTrailingSeparator(const QString& folder) {
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace tolvaro
