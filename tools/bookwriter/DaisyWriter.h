#pragma once

#include "io/Wav.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace tolvaro::bookwriter {

// A talking book to write: headings with their phrases, pages and notes.
struct Phrase {
    QString text;
    QString skipClass; // "", "footnote", "sidebar", "prodnote" or "pagenumber"
};

struct Section {
    int level = 1; // 1 to 6
    QString title;
    std::vector<Phrase> phrases;
    std::vector<QString> pagesAtStart; // page labels that begin at this heading
};

struct BookSpec {
    QString title;
    QString identifier = QStringLiteral("tolvaro-sample");
    QString date = QStringLiteral("2026-12-06");
    QString language = QStringLiteral("en");
    std::vector<Section> sections;
};

// Speech for one text: a mono 16-bit PCM WAV file's bytes.
using Speaker = std::function<QByteArray(const QString& text)>;

// A WAV file of `seconds` silence (for tests); the length in seconds of a PCM WAV.
QByteArray SilentWav(double seconds, int sampleRate = 8000);
double WavSeconds(const QByteArray& wav);

// Writes the book as DAISY 2.02 into `folder` (created if needed): ncc.html, one SMIL file and
// one WAV file per heading (the phrases' speech joined, each phrase a clip of it), and one text
// document with an id on every heading and phrase. Markup is one element per line, as most
// production tools write it. Returns false when a file cannot be written.
bool WriteBook(const BookSpec& book, const QString& folder, const Speaker& speak);

} // namespace tolvaro::bookwriter
