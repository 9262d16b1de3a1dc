#pragma once

#include "book/BookFiles.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>

class QTemporaryDir;

namespace tolvaro {

class BookTable;
class ISpeech;

// Speech for the phrases that have text and no recording: the phrase's text, as the search reads
// it, rendered by the synthesizer into a sound file that the player plays in a recording's
// place. The files live in a folder of their own, removed with this object; only those of the
// phrase that sounds and of the one after it are kept.
class Voice {
public:
    struct Clip {
        QString path;
        double seconds = 0;
    };

    // `wanted`: the reader's setting, read at each phrase.
    Voice(ISpeech& speech, const BookTable& phrases, const bool& wanted,
          BookFileReader read = ReadBookFile);
    ~Voice();

    // A book was opened (or none is): what was rendered for the last one is gone.
    void Open(const QString& language, unsigned codePage);
    bool Speaks() const; // a synthesizer is there and the reader wants it

    // The spoken clip of phrase `row`, rendered now unless it was prepared; nothing when the
    // phrase has no text to say (or speech is off or cannot be had).
    std::optional<Clip> ClipFor(int row);
    // Renders phrase `row` ahead, while the one before it sounds.
    void Prepare(int row) { ClipFor(row); }

private:
    QString TextOf(int row);

    ISpeech& m_speech;
    const BookTable& m_phrases;
    BookFileReader m_read;
    QString m_language;
    unsigned m_codePage = 0;
    const bool& m_wanted;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::map<int, std::optional<Clip>> m_clips; // by row; nothing: the phrase has nothing to say
    QString m_document;                         // whose phrase texts are below
    std::map<int, QString> m_texts;
};

} // namespace tolvaro
