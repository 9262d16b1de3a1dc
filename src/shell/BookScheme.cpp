#include "shell/BookScheme.h"

#include "book/BookFiles.h"

#include <QBuffer>
#include <QMimeDatabase>
#include <QStringEncoder>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace tolvaro {
namespace {

// Blocks for the elements of DTBook and NCX that hold blocks; every other element of an XML
// document flows as text. A navigation point keeps its own colours, so that the mark of one
// point does not colour the points nested in it.
constexpr char kPlainStyle[] = R"CSS(
head, content, pageList, navList, smilCustomTest, meta, link { display: none }
dtbook, book, frontmatter, bodymatter, rearmatter, level, level1, level2, level3, level4, level5,
level6, h1, h2, h3, h4, h5, h6, hd, bridgehead, doctitle, docauthor, covertitle, p, list, li, dl,
dt, dd, blockquote, note, annotation, sidebar, prodnote, div, poem, linegroup, line, imggroup,
caption, address, epigraph, byline, dateline, author, pagenum, ncx, docTitle, docAuthor, navMap,
navPoint { display: block }
dtbook, ncx { margin: 1em; font-family: sans-serif; line-height: 1.4 }
p, list, dl, blockquote, note, sidebar, prodnote, poem, linegroup { margin: 0.6em 0 }
h1, doctitle, docTitle { font-size: 1.8em; font-weight: bold; margin: 0.6em 0 }
h2 { font-size: 1.5em; font-weight: bold } h3 { font-size: 1.3em; font-weight: bold }
h4, h5, h6, hd, bridgehead { font-weight: bold }
li, dd, navPoint navPoint { margin-left: 1.5em }
em { font-style: italic } strong { font-weight: bold } sup { vertical-align: super }
sub { vertical-align: sub } pagenum { text-align: right; color: GrayText }
sidebar, prodnote, annotation { border-left: 3px solid GrayText; padding-left: 0.6em }
noteref { vertical-align: super; font-size: smaller }
table { display: table; border-collapse: collapse } tr { display: table-row }
td, th { display: table-cell; border: 1px solid GrayText; padding: 0.2em 0.4em }
navPoint { color: CanvasText; background-color: Canvas; font-style: normal; font-weight: normal }
)CSS";

QStringConverter::Encoding EncodingOf(const QByteArray& xml, qsizetype& bomLength) {
    bomLength = xml.startsWith("\xff\xfe") || xml.startsWith("\xfe\xff") ? 2 : 0;
    if (xml.startsWith("\xff\xfe") || xml.startsWith(QByteArrayView("<\0", 2)))
        return QStringConverter::Utf16LE;
    if (xml.startsWith("\xfe\xff") || xml.startsWith(QByteArrayView("\0<", 2)))
        return QStringConverter::Utf16BE;
    return QStringConverter::Utf8; // or another encoding that writes ASCII as ASCII
}

} // namespace

void RegisterBookScheme() {
    QWebEngineUrlScheme scheme(kBookScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl BookSchemeUrl(const QString& path) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kBookScheme));
    url.setHost(QStringLiteral("book"));
    url.setPath(path);
    return url;
}

QByteArray WithPlainStyle(const QByteArray& xml) {
    qsizetype at = 0;
    QStringEncoder encode(EncodingOf(xml, at));
    const auto encoded = [&encode](const QByteArray& text) -> QByteArray {
        return encode(QString::fromLatin1(text));
    };
    if (xml.contains(encoded("<?xml-stylesheet")))
        return xml;
    if (xml.sliced(at).startsWith(encoded("<?xml"))) { // after the declaration
        const qsizetype end = xml.indexOf(encoded("?>"), at);
        if (end < 0)
            return xml;
        at = end + encoded("?>").size();
    }
    return QByteArray(xml).insert(
        at,
        encoded("<?xml-stylesheet type=\"text/css\" href=\"data:text/css;charset=utf-8;base64," +
                QByteArray(kPlainStyle).toBase64() + "\"?>"));
}

void BookSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QString path = job->requestUrl().path();
    const std::optional<QByteArray> bytes = ReadBookFile(path);
    if (!bytes) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const bool xml = IsXmlDocument(path);
    auto* buffer = new QBuffer(job); // the job ends before the buffer is needed no more
    buffer->setData(xml ? WithPlainStyle(*bytes) : *bytes);
    job->reply(xml ? QByteArrayLiteral("application/xml")
                   : QMimeDatabase()
                         .mimeTypeForFile(path, QMimeDatabase::MatchExtension)
                         .name()
                         .toLatin1(),
               buffer);
}

} // namespace tolvaro
