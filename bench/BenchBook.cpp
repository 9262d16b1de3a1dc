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

void WriteDaisy3Book(const QString& dir) {
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    QByteArray manifest, spine, navMap, pages;
    for (int h = 0; h < kHeadings; ++h) {
        const QByteArray smil = Fmt("bk%05d.smil", h + 1);
        manifest += Fmt("<item id=\"s%d\" href=\"%s\" media-type=\"application/smil\" />\n", h,
                        smil.constData());
        spine += Fmt("<itemref idref=\"s%d\" />\n", h);
        if (h % 10 == 0 && h > 0)
            navMap += "</navPoint>\n";
        navMap += Fmt("<navPoint id=\"nav%d\" playOrder=\"%d\">\n<navLabel><text>Kapitel %d: Über "
                      "die Länge der Bücher</text></navLabel>\n<content src=\"%s#par%d_0\" />\n",
                      h, h + 1, h + 1, smil.constData(), h);
        if (h % 10 != 0)
            navMap += "</navPoint>\n";
        pages += Fmt("<pageTarget id=\"page%d\" type=\"normal\" value=\"%d\"><navLabel><text>%d"
                     "</text></navLabel><content src=\"%s#par%d_0\" /></pageTarget>\n",
                     h + 1, h + 1, h + 1, smil.constData(), h);
        QByteArray s = xml + "<smil xmlns=\"http://www.w3.org/2001/SMIL20/\">\n<head>\n" +
                       Fmt("<meta name=\"dtb:totalElapsedTime\" content=\"%d:%02d:00\" />\n",
                           h * 5 / 60, h * 5 % 60) +
                       "</head>\n<body>\n<seq id=\"mseq\">\n";
        for (int p = 0; p < kPhrasesPerHeading; ++p) {
            s += Fmt("<par id=\"par%d_%d\">\n<text id=\"txt%d_%d\" src=\"bk%05d.xml#t%d_%d\" />\n"
                     "<audio src=\"bk%05d.mp3\" clipBegin=\"0:00:%02d.000\" clipEnd=\"%d.5s\" />\n"
                     "</par>\n",
                     h, p, h, p, h + 1, h, p, h + 1, p % 60, p * 3 + 3);
        }
        Save(dir + u'/' + QString::fromLatin1(smil), s + "</seq>\n</body>\n</smil>\n");
    }
    Save(dir + QStringLiteral("/book.opf"),
         xml +
             "<package xmlns=\"http://openebook.org/namespaces/oeb-package/1.0/\" "
             "unique-identifier=\"uid\">\n<metadata>\n<dc-metadata "
             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n<dc:Title>Benchmark "
             "book</dc:Title>\n<dc:Identifier id=\"uid\">bench-0001</dc:Identifier>\n"
             "</dc-metadata>\n<x-metadata><meta name=\"dtb:totalTime\" content=\"83:20:00\" />"
             "</x-metadata>\n</metadata>\n<manifest>\n" +
             manifest +
             "<item id=\"ncx\" href=\"book.ncx\" media-type=\"application/x-dtbncx+xml\" />\n"
             "</manifest>\n<spine>\n" +
             spine + "</spine>\n</package>\n");
    Save(dir + QStringLiteral("/book.ncx"),
         xml +
             "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n"
             "<docTitle><text>Benchmark book</text></docTitle>\n<navMap>\n" +
             navMap + "</navPoint>\n</navMap>\n<pageList>\n" + pages + "</pageList>\n</ncx>\n");
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
