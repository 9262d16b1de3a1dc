#include "book/BookModel.h"

namespace tolvaro {
BookModel::BookModel()
    : m_lstTitles(6), m_lstPhrases(9), m_lstPages(4), m_lstGroups(4), m_lstBookmarks(4),
      m_lstSearchHits(4) {}

void BookModel::DeleteAllRows() {
    for (BookTable* table : {&m_lstPhrases, &m_lstGroups, &m_lstBookmarks, &m_lstPages,
                             &m_lstSearchHits, &m_lstTitles}) {
        if (table->RowCount() > 0)
            table->DeleteAllRows();
    }
}

} // namespace tolvaro
