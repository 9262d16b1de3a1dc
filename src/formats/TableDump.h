#pragma once

#include <QString>

#include <string>

namespace tolvaro {

// Loads the book in `folder` as opening it does, without window or audio, and writes its
// tables as text to `out` (UTF-8): [meta], [features], [headings], [tree], [phrases], [pages],
// [groups]. Cells are joined by TAB, with backslash, TAB, CR and LF escaped. Returns 0, or 1 with
// the reason in `error` when ncc.html cannot be read.
int DumpTables(const QString& folder, std::string& out, std::string& error);

} // namespace tolvaro
