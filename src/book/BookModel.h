#pragma once

#include "book/BookTable.h"
#include "book/HeadingTree.h"
#include "book/VisibleList.h"

namespace tolvaro {

// Column numbers of the book tables; other subsystems read cells by these.
namespace col {
// heading table
inline constexpr int kLevel = 0, kTitle = 1, kSmil = 2, kTime = 3, kElapsed = 4, kTreeId = 5;
// phrase table
inline constexpr int kPhraseTreeId = 0, kParId = 1, kDocument = 2, kDocFragment = 3, kTextId = 4,
                     kAudio = 5, kClipBegin = 6, kClipEnd = 7, kSkip = 8;
// page and group tables
inline constexpr int kLabel = 0, kTargetSmil = 1, kFragment = 2, kTitleId = 3;
// bookmark table
inline constexpr int kBmTitle = 0, kBmTime = 1, kBmTitleId = 2, kBmEventId = 3;
// search result table
inline constexpr int kHitTitleId = 0, kHitTerm = 1, kHitEventId = 2, kHitFragment = 3;
} // namespace col

// The whole in-memory model of the open book: six hidden tables, the heading tree and the two
// visible lists. Created with the tables' columns and no rows.
struct BookModel {
    BookModel();

    // Deletes the rows of the phrase, group, bookmark, page, search and heading tables, in
    // that order.
    void DeleteAllRows();

    BookTable m_lstTitles;
    BookTable m_lstPhrases;
    BookTable m_lstPages;
    BookTable m_lstGroups;
    BookTable m_lstBookmarks;
    BookTable m_lstSearchHits;
    HeadingTree m_treeTitles;
    VisibleList m_lbBookmarks;
    VisibleList m_lbSearchHits;
};

} // namespace tolvaro
