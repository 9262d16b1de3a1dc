#pragma once

#include "commands/Context.h"

#include <QString>

namespace tolvaro {

// The ten questions a listener asks about the book and the current heading: how long, how much
// heard, how much left, how many entries and levels, which heading and level. Each answer is one
// sentence in a message box captioned "Information"; a playing book pauses while it is up.
class Information {
public:
    Information(Context c, const QString& tocItems, const QString& totalTime)
        : m_c(c), m_tocItems(tocItems), m_totalTime(totalTime) {}

    void OnBookTimeTotal();
    void OnBookTimeElapsed();
    void OnBookTimeRemaining();
    void OnBookEntries();
    void OnBookLevels();
    void OnTitleTimeTotal();
    void OnTitleTimeElapsed();
    void OnTitleTimeRemaining();
    void OnTitleIndex();
    void OnTitleLevel();

private:
    enum class What { Total, Elapsed, Remaining };
    // Time questions: `book` false asks about the current audio file.
    void AnswerTime(bool book, What what);
    void Answer(const QString& sentence);
    QString Text(int id) const;

    Context m_c;
    const QString& m_tocItems;  // the book's "ncc:tocitems", as stored
    const QString& m_totalTime; // the book's "ncc:totaltime", a clock value
};

} // namespace tolvaro
