// Searching the text of the whole book, against grep over the same files.
//
//   bench_search [RUNS]
//
// Writes the benchmark book (1,000 headings, 100,000 phrases) with its 1,000 text documents,
// opens it into the tables, then alternates: `grep -c -i river` over the text documents (a
// process of its own, in the C.UTF-8 locale, so that it folds case beyond ASCII as the search
// does) / the book search for "River" as the menu command runs it, without a window. Prints the
// medians and, last, the median of the run-by-run ratios.
#include "BenchBook.h"
#include "BenchTools.h"
#include "book/BookModel.h"
#include "daisy202/CA_Daisy.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"
#include "search/TextSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

// Runs grep over the files, its output thrown away; the wall time in ms.
double Grep(const std::vector<QByteArray>& files) {
    std::vector<QByteArray> arguments = {"grep", "-c", "-i", "river"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return tolvaro::bench::TimeProcess(arguments, {"LC_ALL=C.UTF-8"});
}

} // namespace

int main(int argc, char** argv) {
    using namespace tolvaro;
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    bench::WriteBook(dir.path());
    bench::WriteTextDocuments(dir.path());
    sync();
    BookModel model;
    CA_Daisy daisy(model, dir.path() + u'/', 0);
    IProgress progress;
    if (!daisy.LoadBook(progress))
        return 1;
    std::vector<QByteArray> files;
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(dir.path()).entryInfoList({"*.html"}, QDir::Files)) {
        if (f.fileName() != u"ncc.html") {
            files.push_back(QFile::encodeName(f.filePath()));
            bytes += f.size();
        }
    }
    const QString term = FoldCase(u"River");
    std::vector<double> grep, search, ratios;
    SearchResult result;
    for (int i = 0; i < runs + 1; ++i) { // the first round warms the caches
        const double g = Grep(files);
        QElapsedTimer t;
        t.start();
        TextSearch text(model.m_lstPhrases, daisy.CodePage());
        result = text.InBook(term, progress);
        const double s = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (i == 0)
            continue;
        grep.push_back(g);
        search.push_back(s);
        ratios.push_back(s / g);
    }
    std::printf("text documents: %zu files, %.1f MB; found %d times in %zu phrases\n", files.size(),
                static_cast<double>(bytes) / 1e6, result.occurrences, result.hits.size());
    std::printf("grep -c -i: median %.1f ms over %d runs\n", bench::Median(grep), runs);
    std::printf("book search: median %.1f ms over %d runs\n", bench::Median(search), runs);
    std::printf("search / grep: median %.2f\n", bench::Median(ratios));
    return result.occurrences == bench::kHeadings * bench::kPhrasesPerHeading / 10 ? 0 : 1;
}
