#include "book/BookModel.h"

namespace tolvaro {
namespace {

std::vector<Column> PhraseColumns() {
    std::vector<Column> columns;
    for (const char* header : {"TreeID", "par-id", "Dokument", "Dok-Fragment", "Text-ID", "Audio",
                               "PhrBeg", "PhrEnd", "Skip"})
        columns.push_back({QString::fromLatin1(header), 100});
    return columns;
}

} // namespace

BookModel::BookModel()
    : m_lstTitles({{"Ebene", 55},
                   {"Titel", 100},
                   {"SMIL", 100},
                   {"Zeit", 100},
                   {"Zeit verg.", 100},
                   {"TreeID", 100}}),
      m_lstPhrases(PhraseColumns()),
      m_lstPages({{"Seite", 50}, {"Smil", 100}, {"Fragment", 100}, {"TitelID", 50}}),
      m_lstGroups({{"Gruppe", 50}, {"Smil", 100}, {"Fragment", 100}, {"TitelID", 50}}),
      m_lstBookmarks({{"Titel", 100}, {"Zeit", 70}, {"TitelID", 70}, {"EventID", 200}}),
      m_lstSearchHits({{"TitelID", 50}, {"Begriff", 150}, {"EventID", 50}, {"Fragment", 100}}) {}

void BookModel::DeleteAllRows() {
    for (BookTable* table : {&m_lstPhrases, &m_lstGroups, &m_lstBookmarks, &m_lstPages,
                             &m_lstSearchHits, &m_lstTitles}) {
        if (table->RowCount() > 0)
            table->DeleteAllRows();
    }
}

} // namespace tolvaro
