#pragma once

#include <QString>

namespace tolvaro {

// What the loader found in a book; decides which menus the book enables.
struct BookFeatures {
    bool audio = false;
    bool groups = false;
    bool pages = false;
    bool footnotes = false;
    bool sidebars = false;
    bool prodnotes = false;
    bool pageNumbers = false;
    bool textDocuments = false;
};

// The six head values that identify a book. DAISY 2.02 values are kept as the NCC's bytes, one
// character each, not decoded.
struct BookMeta {
    QString date, identifier, title, tocItems, totalTime, setInfo;
    QString language; // dc:language, which no record keeps: it chooses the voice
};

} // namespace tolvaro
