#pragma once

#include <QByteArray>
#include <QString>

namespace tolvaro::bench {

// The large book the benchmarks work on: 1,000 headings of 100 phrases, one SMIL file and one
// text document per heading, markup as production tools write it.
inline constexpr int kHeadings = 1000;
inline constexpr int kPhrasesPerHeading = 100;

// Writes the file or ends the program with a message.
void Save(const QString& path, const QByteArray& bytes);
// ncc.html and the SMIL files into `dir`.
void WriteBook(const QString& dir);
// The same book as DAISY 3: a package file, an NCX of 1,000 navPoints (every tenth at the top,
// the others nested under it) with a page list, and SMIL 2 files with clock values.
void WriteDaisy3Book(const QString& dir);
// The text documents the SMIL files point into: one paragraph per phrase, with its id. Every
// tenth phrase mentions a river.
void WriteTextDocuments(const QString& dir);

} // namespace tolvaro::bench
