#include "finder/BookTitle.h"

#include "book/BookFiles.h"
#include "book/Charsets.h"
#include "daisy3/Daisy3Files.h"

#include <QByteArrayView>

namespace tolvaro {
namespace {

// Where the first heading (h1 to h6) of a lower-cased line begins; -1 when it has none. A line
// may hold <html>, <head> and the heading at once (a file written without line ends).
qsizetype HeadingStart(const QByteArray& lower) {
    for (qsizetype h = lower.indexOf("<h"); h >= 0; h = lower.indexOf("<h", h + 1)) {
        if (h + 2 < lower.size() && lower[h + 2] >= '1' && lower[h + 2] <= '6')
            return h;
    }
    return -1;
}

// The title heading, from its opening to the line that closes it (or the end of the file).
QByteArray HeadingLines(const QByteArray& bytes, unsigned& codePage) {
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        const QByteArray lower = line.toLower();
        if (lower.contains("ncc:charset"))
            codePage = CharsetToCodePage(line);
        const qsizetype h = HeadingStart(lower);
        if (h < 0)
            continue;
        QByteArray heading = line.mid(h);
        bool closed = lower.indexOf("</h", h) >= 0;
        while (!closed && at < bytes.size()) {
            end = bytes.indexOf('\n', at);
            if (end < 0)
                end = bytes.size();
            const QByteArray piece = bytes.mid(at, end - at);
            at = end + 1;
            // Each piece is searched once (with the two characters before it, where a "</h" may
            // begin): a heading that never closes costs a pass over the file, not one per line.
            closed = (heading.right(2) + piece).toLower().contains("</h");
            heading += piece;
        }
        return heading;
    }
    return {};
}

// A DAISY 3 book's title, from its package file.
std::optional<QString> ReadPackageTitle(const QString& folder) {
    const QString package = daisy3::PackageFileIn(folder);
    const std::optional<QByteArray> bytes =
        package.isEmpty() ? std::nullopt : ReadBookFile(folder + u'/' + package);
    const std::optional<daisy3::Package> read = bytes ? daisy3::ReadPackage(*bytes) : std::nullopt;
    return read ? std::optional(read->meta.title) : std::nullopt;
}

} // namespace

std::optional<QString> ReadTitle(const QString& folder) {
    const std::optional<QByteArray> bytes = ReadBookFile(folder + QStringLiteral("/ncc.html"));
    if (!bytes)
        return ReadPackageTitle(folder);
    unsigned codePage = 0; // none declared: UTF-8 when it reads as UTF-8, else windows-1252
    const QByteArray heading = HeadingLines(*bytes, codePage);
    const qsizetype cut = heading.indexOf("</a>");
    if (cut < 0)
        return QString();
    const QByteArray text = heading.left(cut);
    const QByteArray title = text.mid(text.lastIndexOf('>') + 1);
    BookTextDecoder decoder;
    return decoder.Decode(title, codePage).simplified();
}

} // namespace tolvaro
