#pragma once

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

} // namespace tolvaro
