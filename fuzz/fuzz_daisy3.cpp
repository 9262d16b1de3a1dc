// Feeds arbitrary bytes to the DAISY 3 readers. The input is cut at the first 0xFF byte: before it
// stands the NCX, after it a SMIL file that a fixed package file names twice in its spine. The
// whole input is also read as a package file and as a clock value.
#include "book/BookModel.h"
#include "daisy3/Daisy3Files.h"
#include "daisy3/Daisy3Loader.h"
#include "platform/IProgress.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = input.indexOf('\xff');
    const QByteArray ncx = cut < 0 ? input : input.left(cut);
    const QByteArray smil = cut < 0 ? QByteArray() : input.mid(cut + 1);
    const QByteArray opf =
        "<package><manifest><item id='n' href='nav.ncx' media-type='application/x-dtbncx+xml'/>"
        "<item id='s' href='s.smil'/></manifest><spine><itemref idref='s'/><itemref idref='s'/>"
        "</spine></package>";

    tolvaro::BookModel model;
    tolvaro::Daisy3Loader loader(model, QStringLiteral("/book/"), QStringLiteral("b.opf"),
                                 [&](const QString& path) -> std::optional<QByteArray> {
                                     if (path.endsWith(QStringLiteral(".opf")))
                                         return opf;
                                     return path.endsWith(QStringLiteral(".ncx")) ? ncx : smil;
                                 });
    tolvaro::IProgress progress;
    loader.LoadBook(progress);
    tolvaro::daisy3::ReadPackage(input);
    tolvaro::daisy3::ParseClockValue(QString::fromUtf8(input.left(64)));
    return 0;
}
