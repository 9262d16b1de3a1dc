// Walking a folder tree for books, against find.
//
//   bench_find [RUNS] [FOLDER]
//
// Makes a tree of 100,000 folders (100 × 100 × 10) holding 1,000 books (an ncc.html in every
// hundredth folder) in a temporary folder (or in FOLDER, kept for another call), walks it once to
// warm the caches, then alternates: `find ROOT -name ncc.html` (a process of its own, output
// thrown away) / the walk of the book finder (`BookWalker::Walk`, on this thread). Prints the
// medians and, last, the median of the run-by-run ratios.
#include "BenchTools.h"
#include "finder/BookWalker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kTop = 100, kMiddle = 100, kLeaves = 10;

void MakeTree(const QByteArray& root) {
    if (QFile::exists(QString::fromLocal8Bit(root + "/99/99/9")))
        return; // made by an earlier call
    int folder = 0;
    for (int t = 0; t < kTop; ++t) {
        for (int m = 0; m < kMiddle; ++m) {
            for (int l = 0; l < kLeaves; ++l) {
                const QByteArray path = root + '/' + QByteArray::number(t) + '/' +
                                        QByteArray::number(m) + '/' + QByteArray::number(l);
                QDir().mkpath(QString::fromLocal8Bit(path));
                if (folder++ % 100 == 0) {
                    QFile ncc(QString::fromLocal8Bit(path + "/ncc.html"));
                    if (ncc.open(QIODevice::WriteOnly))
                        ncc.write(
                            "<html><body><h1><a href=\"a.smil\">Buch</a></h1></body></html>\n");
                }
            }
        }
    }
}

double Find(const QByteArray& root) {
    return tolvaro::bench::TimeProcess({"find", root, "-name", "ncc.html"});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir temporary;
    const QByteArray root = argc > 2 ? QByteArray(argv[2]) : QFile::encodeName(temporary.path());
    MakeTree(root);
    std::vector<double> find, walk, ratios;
    std::size_t books = 0;
    for (int i = 0; i < runs + 1; ++i) { // the first round warms the caches
        const double f = Find(root);
        tolvaro::BookWalker walker;
        QElapsedTimer t;
        t.start();
        books = walker.Walk(QFile::decodeName(root)).size();
        const double w = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (i == 0)
            continue;
        find.push_back(f);
        walk.push_back(w);
        ratios.push_back(w / f);
    }
    std::printf("tree: %d folders, %zu books found\n", kTop * kMiddle * kLeaves, books);
    std::printf("find -name ncc.html: median %.1f ms over %d runs\n", tolvaro::bench::Median(find),
                runs);
    std::printf("walk: median %.1f ms over %d runs\n", tolvaro::bench::Median(walk), runs);
    std::printf("walk / find: median %.2f\n", tolvaro::bench::Median(ratios));
    return books == static_cast<std::size_t>(kTop * kMiddle * kLeaves / 100) ? 0 : 1;
}
