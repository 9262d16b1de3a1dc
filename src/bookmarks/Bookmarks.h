#pragma once

#include "commands/Context.h"

#include "store/BookmarkFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace tolvaro {

class PhraseEngine;

// The bookmarks of the open book: the bookmark table and the visible list, kept line for row,
// the four bookmark commands, and the bookmark file. A bookmark is saved the moment it is set
// or deleted (and again when the book closes), through the crash-safe replace of the data
// files, so that a crash never loses one; a file that exists but cannot be read is never
// replaced, so other books' bookmarks are never dropped. Nothing is ever shown.
class Bookmarks {
public:
    Bookmarks(Context c, PhraseEngine& engine, const QString& dataFolder,
              std::function<QStringList()> identity)
        : m_c(c), m_engine(engine), m_dataFolder(dataFolder), m_identity(std::move(identity)) {}

    void OnSet();
    void OnDelete();
    void OnNext();
    void OnPrevious();
    // The list's current line chosen (by the user, or by Next and Previous): focus to the
    // heading tree and jump to that bookmark.
    void OnListSelChange();
    // The bookmark table's change notification: jumps when a row becomes selected.
    void OnItemChanged(int row, int newState);

    // Writes the open book's bookmarks, first, with the other books' records after them.
    void Save();
    // Reads the open book's bookmarks into the table and the list (the placeholder when none).
    void Restore();

private:
    QString Placeholder() const;
    void Add(const Bookmark& bookmark);
    // Selects the table row (jumping there, also when it was selected already) and makes its
    // line current.
    void GoTo(int row);
    std::vector<Bookmark> Current() const;

    Context m_c;
    PhraseEngine& m_engine;
    const QString& m_dataFolder;
    std::function<QStringList()> m_identity; // the open book's six identity values
};

} // namespace tolvaro
