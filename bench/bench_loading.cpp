// Loading a large book into the tables, against merely reading its files.
//
//   bench_loading [RUNS] [load-only | hostile]
//   bench_loading --write-book FOLDER    (only writes the book, e.g. for tools/dumpcompare)
//   bench_loading --write-daisy3-book FOLDER    (the same book as DAISY 3)
//
// Writes a book of 1,000 headings and 100,000 phrases in 1,000 SMIL files into a temporary
// folder, as DAISY 2.02 and as DAISY 3; for each, alternates: read every file of the book into
// memory / load the book as opening it does. Prints the median of each, their ratio, the processor
// time of loading, the loading time on one core (the loader's own work), and the process's peak
// memory; then the same ratio for two hostile shapes of ncc.html whose headings never close. With
// "load-only" the files are not read apart (for profiling the loader alone; the ratio is then
// meaningless); "hostile" runs only the hostile shapes.
#include "BenchBook.h"
#include "BenchTools.h"
#include "book/BookModel.h"
#include "formats/BookLoader.h"
#include "platform/IProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using tolvaro::bench::kHeadings;
using tolvaro::bench::kPhrasesPerHeading;
using tolvaro::bench::Save;
using tolvaro::bench::WriteBook;

qint64 ReadAll(const QString& dir) {
    qint64 bytes = 0;
    for (const QString& name : QDir(dir).entryList(QDir::Files)) {
        QFile file(dir + u'/' + name);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

// Loads into `model`, which the caller destroys after the clock has stopped: freeing a book's
// tables is not part of loading it.
int Load(const QString& dir, tolvaro::BookModel& model) {
    tolvaro::IProgress progress;
    tolvaro::LoadBook(model, dir + u'/', 0, progress);
    return model.m_lstPhrases.RowCount();
}

// Loads with this thread and the threads it starts kept to one core: the loader's work on its
// own, which the other users of a shared machine disturb far less than a load over all cores.
double LoadOnOneCore(const QString& dir) {
    cpu_set_t all, one;
    if (sched_getaffinity(0, sizeof all, &all) != 0)
        return 0.0;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    sched_setaffinity(0, sizeof one, &one);
    QElapsedTimer t;
    t.start();
    auto model = std::make_unique<tolvaro::BookModel>();
    Load(dir, *model);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    sched_setaffinity(0, sizeof all, &all);
    return ms;
}

// Processor time of all threads, user and system, in ms.
double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

using tolvaro::bench::Median;

// A book of one hostile ncc.html: the medians of reading and loading it, and of their ratio.
struct Hostile {
    double read = 0, load = 0, ratio = 0;
};
Hostile HostileRatio(const QByteArray& body, int runs) {
    QTemporaryDir dir;
    Save(dir.filePath("ncc.html"),
         "<html>\n<head>\n<title>x</title>\n</head>\n<body>\n" + body + "</body>\n</html>\n");
    Save(dir.filePath("a.smil"), "<smil>\n<body>\n</body>\n</smil>\n"); // the one it links to
    std::vector<double> reads, loads, ratios;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer t;
        t.start();
        ReadAll(dir.path());
        const double read = static_cast<double>(t.nsecsElapsed()) / 1e6;
        auto model = std::make_unique<tolvaro::BookModel>(); // empty tables are no part of it
        t.restart();
        Load(dir.path(), *model);
        const double load = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (i > 0) {
            reads.push_back(read);
            loads.push_back(load);
            ratios.push_back(load / read);
        }
    }
    return {Median(reads), Median(loads), Median(ratios)};
}

void PrintHostile(const char* name, const Hostile& h) {
    std::printf("%s: reading %.3f ms, loading %.3f ms; loading / reading: median %.2f\n", name,
                h.read, h.load, h.ratio);
}

// Headings never closed: one followed by 200,000 lines, and 10,000 nested on one line.
void PrintHostileShapes(int runs) {
    QByteArray lines = "<h1><a href=\"a.smil#1\">A</a>\n";
    for (int i = 0; i < 200000; ++i)
        lines += "<p>a line of text that never closes the heading</p>\n";
    PrintHostile("unclosed heading, 200,000 lines", HostileRatio(lines, runs));
    const QByteArray nested = "<h1><a href=\"a.smil#1\">A</a>" + QByteArray("<h1>").repeated(10000);
    PrintHostile("10,000 nested headings on one line", HostileRatio(nested + "\n", runs));
}

// Reads and loads the book in `dir` in turns and prints the figures; the phrases it holds.
int Measure(const char* format, const QString& dir, int runs, bool loadOnly) {
    std::vector<double> reading, loading, ratios, loadingCpu;
    qint64 bytes = 0;
    int phrases = 0;
    for (int i = 0; i < runs + 1; ++i) { // the first round warms the caches
        QElapsedTimer t;
        t.start();
        if (!loadOnly)
            bytes = ReadAll(dir);
        const double read = static_cast<double>(t.nsecsElapsed()) / 1e6;
        t.restart();
        const double cpu = CpuMs();
        auto model = std::make_unique<tolvaro::BookModel>();
        phrases = Load(dir, *model);
        const double load = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const double loadCpu = CpuMs() - cpu;
        model.reset();
        if (i == 0)
            continue;
        loadingCpu.push_back(loadCpu);
        reading.push_back(read);
        loading.push_back(load);
        ratios.push_back(load / read);
    }
    std::vector<double> oneCore;
    for (int i = 0; i < runs; ++i)
        oneCore.push_back(LoadOnOneCore(dir));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s book: %d headings, %d phrases, %.1f MB in %lld files\n", format, kHeadings,
                phrases, static_cast<double>(bytes) / 1e6,
                static_cast<long long>(QDir(dir).entryList(QDir::Files).size()));
    std::printf("reading the files: median %.1f ms over %d runs\n", Median(reading), runs);
    std::printf("loading the book:  median %.1f ms over %d runs\n", Median(loading), runs);
    std::printf("loading / reading: median %.2f\n", Median(ratios));
    std::printf("processor time of loading, all threads: median %.1f ms\n", Median(loadingCpu));
    std::printf("loading on one core: median %.1f ms\n", Median(oneCore));
    std::printf("peak memory of this process: %.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return phrases;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool writeThree = argc > 2 && std::strcmp(argv[1], "--write-daisy3-book") == 0;
    if (argc > 2 && (writeThree || std::strcmp(argv[1], "--write-book") == 0)) { // for other tools
        QDir().mkpath(QString::fromLocal8Bit(argv[2]));
        writeThree ? tolvaro::bench::WriteDaisy3Book(QString::fromLocal8Bit(argv[2]))
                   : WriteBook(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const bool loadOnly = argc > 2 && std::strcmp(argv[2], "load-only") == 0;
    if (argc > 2 && std::strcmp(argv[2], "hostile") == 0) { // only the two hostile shapes
        PrintHostileShapes(runs);
        return 0;
    }
    QTemporaryDir dir, three;
    WriteBook(dir.path());
    tolvaro::bench::WriteDaisy3Book(three.path());
    // Written out before the clock starts: the system's writing back of 19 MB of new files would
    // otherwise fall into the measured runs.
    sync();
    const int phrases = Measure("DAISY 2.02", dir.path(), runs, loadOnly);
    const int phrases3 = Measure("DAISY 3", three.path(), runs, loadOnly);
    if (!loadOnly)
        PrintHostileShapes(runs);
    return phrases == kHeadings * kPhrasesPerHeading && phrases3 == phrases ? 0 : 1;
}
