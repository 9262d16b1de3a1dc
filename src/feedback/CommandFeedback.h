#pragma once

#include "commands/Context.h"

#include <QString>

namespace tolvaro {

class BookTable;
class VisibleList;

// Puts what a command did into a few words for a screen reader to speak at once: the bookmark
// set or reached, the result or page reached, the new speed, volume or play state, a switch
// turned on or off. Compares a snapshot taken before the command with the state after it; a
// command that changed nothing it can name says nothing (its message box, if any, speaks).
class CommandFeedback {
public:
    struct Snapshot {
        int bookmarks = 0, bookmark = -1, result = -1, page = -1;
    };

    explicit CommandFeedback(Context c) : m_c(c) {}

    Snapshot Take() const;
    // What the command `id` did since `before`; empty when there is nothing to say.
    QString Done(int id, const Snapshot& before) const;
    // Why the greyed command `id`, asked for by its key, did nothing: the end or start of its
    // list, or that the list is empty. Empty for other commands.
    QString Refused(int id) const;

private:
    QString Text(int id) const;
    QString At(int what, const BookTable& rows, const VisibleList& lines, int row) const;

    Context m_c;
};

} // namespace tolvaro
