// Saving the open book's bookmarks when the bookmark file holds many records of other books.
//
//   bench_bookmarks [RECORDS] [RUNS]
//
// Writes a bookmark file with RECORDS records (default 10,000) of 100 other books, then saves
// five bookmarks of the open book RUNS times as a save does it: read the file whole, put the
// open book's records first, keep the others, and replace the file through its temporary file
// (with the flushes to disc). Prints the median and the largest time of a save.
#include "store/BookmarkFile.h"
#include "store/DataFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tolvaro;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    QTemporaryDir dir;
    const QString file = dir.filePath("MResume.dl"), temp = dir.filePath("_MResume.tmp");
    QStringList lines;
    for (int i = 0; i < records; ++i) {
        const QString book = QString::number(i % 100);
        lines << "2026-12-07" << "id-" + book << "Ein Buch über das Lesen, Band " + book
              << "1 of 3" << "250" << "12:34:56" << "Kapitel " + QString::number(i) << "123.456000"
              << QString::number(i % 40) << QString::number(i);
    }
    if (!datafile::WriteLines(file, lines))
        return 1;
    const QStringList identity = {"2026-12-07", "open", "Das offene Buch", "", "12", "1:00:00"};
    std::vector<Bookmark> marks;
    for (int i = 0; i < 5; ++i)
        marks.push_back({"Kapitel", "1.000000", QString::number(i), QString::number(i * 10)});
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const datafile::DataLines old = datafile::Read(file);
        datafile::WriteLines(file, WithBookmarks(old.lines, old.foreign, identity, marks), temp);
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("save with %d records of other books: median %.1f ms, largest %.1f ms (%d runs)\n",
                records, times[times.size() / 2], times.back(), runs);
    return 0;
}
