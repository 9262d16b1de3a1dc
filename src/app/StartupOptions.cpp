#include "app/StartupOptions.h"

#include "io/CaseInsensitivePath.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {
QString DataFolderFor(const QString& appData, const QString& xdgDataHome, const QString& home) {
    QString base = appData;
    if (base.isEmpty())
        base = xdgDataHome;
    if (base.isEmpty())
        base = home + QStringLiteral("/.local/share");
    while (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    return base + QStringLiteral("/Ostrila/Tolvaro");
}

QString ProgramFolderFor(const QString& executableFolder) {
    if (QFileInfo(executableFolder + QStringLiteral("/documents")).isDir())
        return executableFolder;
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/tolvaro"));
}

} // namespace tolvaro

namespace tolvaro {

ArgumentRequest ParseArguments(const QStringList& arguments) {
    ArgumentRequest request;
    QString book;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == u"--help" || a == u"-h") {
            request.help = true;
        } else if (a == u"--version" || a == u"-v") {
            request.version = true;
        } else if (a == u"--book" && i + 1 >= arguments.size()) {
            // "tolvaro --book %f" from the application menu, with no book to pass: no book.
        } else if (a == u"--book" || a == u"--show-data" || a == u"--dump-tables") {
            if (i + 1 >= arguments.size()) {
                request.error = a + QStringLiteral(" needs a value.");
                return request;
            }
            QString& value = a == u"--book"        ? book
                             : a == u"--show-data" ? request.showData
                                                   : request.dumpTables;
            value = arguments[++i];
        } else if (a.startsWith(u"--book=")) {
            book = a.mid(7);
        } else if (a.startsWith(u"/D=")) {
            // The shell removes the quotes of /D="FOLDER"; a launcher may pass them on.
            book = a.mid(3);
            while (book.startsWith(u'"'))
                book.remove(0, 1);
            while (book.endsWith(u'"'))
                book.chop(1);
        }
    }
    // A file manager passes the ncc.html or package file itself: the book is its folder.
    const QFileInfo given(book);
    if ((given.fileName().compare(u"ncc.html", Qt::CaseInsensitive) == 0 ||
         given.suffix().compare(u"opf", Qt::CaseInsensitive) == 0) &&
        !given.isDir())
        book = given.path();
    request.bookFolder = WithTrailingSeparator(book);
    return request;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: tolvaro [--book FOLDER | /D=\"FOLDER\"]\n"
        "Tolvaro plays DAISY 2.02 and DAISY 3 talking books.\n\n"
        "  --book FOLDER   open the book in FOLDER, the folder that holds ncc.html or a\n"
        "                  package file *.opf (or the path of that file itself)\n"
        "  /D=\"FOLDER\"     the same\n"
        "  --show-data FILE  print the lines of one of Tolvaro's data files, unscrambled\n"
        "  --dump-tables FOLDER  print the tables the book in FOLDER is read into\n"
        "  --help          show this help\n"
        "  --version       show the version\n\n"
        "Set TOLVARO_DEBUG=1 to see the diagnostic output of Qt and the web engine.\n");
}

} // namespace tolvaro
