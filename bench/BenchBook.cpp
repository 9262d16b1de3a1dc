#include "BenchBook.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace tolvaro::bench {

namespace {

template <typename... Args> QByteArray Fmt(const char* format, Args... args) {
    return QString::asprintf(format, args...).toUtf8();
}

} // namespace

void Save(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// Markup as production tools write it: an XML prologue, a head of meta elements, one element
// per line, pars with a text and an audio element each.
void WriteBook(const QString& dir) {
    QByteArray ncc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        "\"xhtml1-transitional.dtd\">\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
        "<head>\n<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />\n"
        "<title>Benchmark book</title>\n"
        "<meta name=\"dc:title\" content=\"Benchmark book\" />\n"
        "<meta name=\"dc:identifier\" content=\"bench-0001\" />\n"
        "<meta name=\"dc:date\" content=\"2026-12-06\" />\n"
        "<meta name=\"ncc:charset\" content=\"utf-8\" />\n"
        "<meta name=\"ncc:tocItems\" content=\"2000\" />\n"
        "<meta name=\"ncc:totalTime\" content=\"83:20:00\" />\n"
        "</head>\n<body>\n";
    for (int h = 0; h < kHeadings; ++h) {
        const QByteArray smil = Fmt("bk%05d.smil", h + 1);
        ncc += Fmt("<h%d class=\"section\" id=\"nav%d\"><a href=\"%s#par%d_1\">"
                   "Kapitel %d: Über die Länge der Bücher</a></h%d>\n",
                   h % 10 == 0 ? 1 : 2, h, smil.constData(), h, h + 1, h % 10 == 0 ? 1 : 2);
        ncc += Fmt("<span class=\"page-normal\" id=\"page%d\"><a href=\"%s#par%d_1\">"
                   "%d</a></span>\n",
                   h + 1, smil.constData(), h, h + 1);
        QByteArray s = Fmt(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<!DOCTYPE smil PUBLIC \"-//W3C//DTD SMIL 1.0//EN\" \"SMIL10.dtd\">\n<smil>\n<head>\n"
            "<meta name=\"dc:format\" content=\"Daisy 2.02\" />\n"
            "<meta name=\"ncc:totalElapsedTime\" content=\"%d:%02d:00\" />\n"
            "<meta name=\"ncc:timeInThisSmil\" content=\"0:05:00\" />\n"
            "<layout>\n<region id=\"txtView\" />\n</layout>\n</head>\n<body>\n<seq "
            "dur=\"300.0s\">\n",
            h * 5 / 60, h * 5 % 60);
        for (int p = 0; p < kPhrasesPerHeading; ++p) {
            s +=
                Fmt("<par endsync=\"last\" id=\"par%d_%d\">\n"
                    "<text src=\"bk%05d.html#txt%d_%d\" id=\"txt%d_%d\" />\n"
                    "<audio src=\"bk%05d.mp3\" clip-begin=\"npt=%d.000s\" clip-end=\"npt=%d.000s\" "
                    "id=\"aud%d_%d\" />\n</par>\n",
                    h, p, h + 1, h, p, h, p, h + 1, p * 3, p * 3 + 3, h, p);
        }
        s += "</seq>\n</body>\n</smil>\n";
        Save(dir + u'/' + QString::fromLatin1(smil), s);
    }
    ncc += "</body>\n</html>\n";
    Save(dir + QStringLiteral("/ncc.html"), ncc);
}

void WriteTextDocuments(const QString& dir) {
    for (int h = 0; h < kHeadings; ++h) {
        QByteArray html = Fmt(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
            "\"xhtml1-transitional.dtd\">\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
            "<head>\n<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />\n"
            "<title>Kapitel %d</title>\n<link rel=\"stylesheet\" href=\"book.css\" />\n"
            "</head>\n<body>\n",
            h + 1);
        for (int p = 0; p < kPhrasesPerHeading; ++p) {
            html += Fmt("<p class=\"text\" id=\"txt%d_%d\">Satz %d im Kapitel %d: %s</p>\n", h, p,
                        p + 1, h + 1,
                        p % 10 == 0 ? "Am River entlang, &uuml;ber die Br&uuml;cke und weiter."
                                    : "Über die Länge der Bücher und die Geduld der Hörer.");
        }
        html += "</body>\n</html>\n";
        Save(dir + QStringLiteral("/bk%1.html").arg(h + 1, 5, 10, QLatin1Char('0')), html);
    }
}

} // namespace tolvaro::bench
