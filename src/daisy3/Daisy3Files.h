#pragma once

#include "book/BookFeatures.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tolvaro::daisy3 {

// What a package file (*.opf) names: the book's head, its NCX, and the SMIL files in reading
// order (file names as the manifest writes them).
struct Package {
    BookMeta meta; // date, identifier, title and totalTime; tocItems and setInfo stay empty
    QString ncx;
    QStringList spine;
};
// The package file of the book in `folder`, or "" when it holds none.
QString PackageFileIn(const QString& folder);
// Nothing when the bytes are no package (not well-formed XML, or no <package> at all).
std::optional<Package> ReadPackage(const QByteArray& opf);

// The navigation file: the nested points as a flat list in document order, and the pages.
struct Target {
    QString label; // white space collapsed
    QString smil;  // the file part of content@src
    QString fragment;
    int depth = 1; // navPoint nesting, 1 at the top
    QString id;    // the navPoint's own
};
struct Ncx {
    QString docTitle;
    std::vector<Target> points, pages;
};
std::optional<Ncx> ReadNcx(const QByteArray& ncx);

// One par of a SMIL file (or an audio element outside any par).
struct Clip {
    QString audio;
    double begin = 0.0, end = -1.0; // end < 0: to the end of the file
};
struct Par {
    QStringList ids; // the par's own id, its text's, and those of the seqs that open with it
    QString parId, textSrc, fragment, textId; // textSrc#fragment; textId is the element's id
    std::vector<Clip> clips;
    QString skip; // "", "pagenumber", "footnote", "sidebar" or "prodnote"
};
struct SpinePar {
    int file; // the spine's SMIL file it was read from
    Par par;
};
// The pars in playing order; nothing when the bytes are not well-formed.
std::optional<std::vector<Par>> ReadSmil(const QByteArray& smil);

// A SMIL clock value in seconds: full clock "H:MM:SS.fff", partial "MM:SS.fff", or a timecount
// "5.1s", "120ms", "2.5min", "0.5h" or a bare number. Nothing for any other text, and for a
// value past 100 days.
std::optional<double> ParseClockValue(QStringView text);

} // namespace tolvaro::daisy3
