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

    // Adds what another part of the book showed.
    BookFeatures& operator|=(const BookFeatures& o) {
        audio |= o.audio;
        groups |= o.groups;
        pages |= o.pages;
        footnotes |= o.footnotes;
        sidebars |= o.sidebars;
        prodnotes |= o.prodnotes;
        pageNumbers |= o.pageNumbers;
        textDocuments |= o.textDocuments;
        return *this;
    }
};

} // namespace tolvaro
