// tolvaro-mkbook: turns a short marked-up text into a DAISY 2.02 talking book, spoken by
// espeak-ng.
//
//   tolvaro-mkbook INPUT.txt OUTPUT-FOLDER
//
// The input, one item per line:
//   title: Book title          (also "language: de", "identifier: ...")
//   # Heading                  (## for level 2, and so on to ######)
//   [page 7]                   a page that begins at the current heading
//   [footnote] Text            a note the reader may skip (also [sidebar], [prodnote])
//   any other line             text; each sentence becomes one phrase
#include "bookwriter/DaisyWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

using namespace tolvaro::bookwriter;

namespace {

bool ParseInput(const QString& text, BookSpec& book) {
    static const QRegularExpression heading(QStringLiteral("^(#{1,6})\\s+(.+)$"));
    static const QRegularExpression page(QStringLiteral("^\\[page\\s+([^\\]]+)\\]$"));
    static const QRegularExpression note(
        QStringLiteral("^\\[(footnote|sidebar|prodnote)\\]\\s*(.+)$"));
    static const QRegularExpression sentenceEnd(QStringLiteral("(?<=[.!?])\\s+"));
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QStringLiteral("title:")))
            book.title = line.mid(6).trimmed();
        else if (line.startsWith(QStringLiteral("language:")))
            book.language = line.mid(9).trimmed();
        else if (line.startsWith(QStringLiteral("identifier:")))
            book.identifier = line.mid(11).trimmed();
        else if (const auto m = heading.match(line); m.hasMatch())
            book.sections.push_back(
                {static_cast<int>(m.captured(1).size()), m.captured(2), {}, {}});
        else if (book.sections.empty())
            return false;
        else if (const auto p = page.match(line); p.hasMatch())
            book.sections.back().pagesAtStart.push_back(p.captured(1));
        else if (const auto n = note.match(line); n.hasMatch())
            book.sections.back().phrases.push_back({n.captured(2), n.captured(1)});
        else
            for (const QString& sentence : line.split(sentenceEnd, Qt::SkipEmptyParts))
                book.sections.back().phrases.push_back({sentence, {}});
    }
    return !book.sections.empty();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("Usage: tolvaro-mkbook INPUT.txt OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Cannot read %s.\n", qPrintable(args[1]));
        return 1;
    }
    BookSpec book;
    if (!ParseInput(QString::fromUtf8(input.readAll()), book)) {
        std::fputs("The input holds no heading before its text.\n", stderr);
        return 1;
    }
    QTemporaryDir scratch;
    bool spoke = true;
    const Speaker speak = [&](const QString& text) {
        const QString wav = scratch.filePath(QStringLiteral("phrase.wav"));
        const int status =
            QProcess::execute(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), book.language,
                                                            QStringLiteral("-w"), wav, text});
        QFile file(wav);
        if (status != 0 || !file.open(QIODevice::ReadOnly)) {
            spoke = false;
            return SilentWav(1.0);
        }
        return file.readAll();
    };
    if (!WriteBook(book, args[2], speak)) {
        std::fprintf(stderr, "Cannot write the book into %s.\n", qPrintable(args[2]));
        return 1;
    }
    if (!spoke) {
        std::fputs("espeak-ng could not speak; the book holds silence.\n", stderr);
        return 1;
    }
    return 0;
}
