#pragma once

#include "book/BookFeatures.h"
#include "book/BookFiles.h"

#include <QString>

#include <optional>

namespace tolvaro {

class IProgress;
struct BookModel;

// What a book's reader gives besides the tables.
struct LoadedBook {
    BookMeta meta;
    BookFeatures features;
    unsigned codePage = 0; // of the text documents; 0 when the book names none
};

// Reads the book in `folder` (ending in "/") into the model: as DAISY 2.02 when the folder holds
// ncc.html, else as DAISY 3 when it holds a package file. Nothing when the book cannot be read
// (the tables are then empty) or the progress asked to stop (they hold what was read).
std::optional<LoadedBook> LoadBook(BookModel& model, const QString& folder, int langOffset,
                                   IProgress& progress);

// The head values that identify the book in `folder`; nothing when it cannot be read.
std::optional<BookMeta> ReadBookHead(const QString& folder);

} // namespace tolvaro
