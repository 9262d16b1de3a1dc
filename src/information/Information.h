#pragma once

#include <QString>

namespace tolvaro {

class IDialogs;
class IPlayer;
struct BookModel;

// The ten questions a listener asks about the book and the current heading: how long, how much
// heard, how much left, how many entries and levels, which heading and level. Each answer is one
// sentence in a message box captioned "Information"; a playing book pauses while it is up.
class Information {
public:
    struct Context {
        const BookModel& model;
        IPlayer& player;
        IDialogs& dialogs;
        const int& langOffset;
        const QString& tocItems;  // the book's "ncc:tocitems", as stored
        const QString& totalTime; // the book's "ncc:totaltime", a clock value
    };

    explicit Information(Context context) : m_c(context) {}

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
};

} // namespace tolvaro
