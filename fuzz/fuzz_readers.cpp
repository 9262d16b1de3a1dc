// Feeds arbitrary bytes to the book readers and the text decoder. The input is cut at the first
// 0xFF byte: before it stands ncc.html, after it a SMIL file every heading links to.
#include "book/BookModel.h"
#include "book/CA_Daisy.h"
#include "book/Charsets.h"
#include "platform/IProgress.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

struct NoProgress : tolvaro::IProgress {
    void SetRange(int) override {}
    void SetPosition(int) override {}
    void SetText(const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = input.indexOf('\xff');
    const QByteArray ncc = cut < 0 ? input : input.left(cut);
    const QByteArray smil = cut < 0 ? QByteArray() : input.mid(cut + 1);

    tolvaro::BookModel model;
    tolvaro::CA_Daisy daisy(model, QStringLiteral("/book/"), 0,
                            [&](const QString& path) -> std::optional<QByteArray> {
                                if (path.endsWith(QStringLiteral("ncc.html")))
                                    return ncc;
                                return smil;
                            });
    NoProgress progress;
    daisy.LoadBook(progress);
    tolvaro::CA_Daisy::ReadBookHead(QStringLiteral("/book/"),
                                    [&](const QString&) { return std::optional(ncc); });

    tolvaro::BookTextDecoder decoder;
    for (unsigned codePage : {0u, 65001u, 1252u, 932u, 50220u, 28605u, 65000u})
        decoder.Decode(input, codePage);
    tolvaro::CharsetToCodePage(input);
    return 0;
}
