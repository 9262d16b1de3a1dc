// Feeds arbitrary bytes to the book readers, the text decoder and the data-file readers. The
// input is cut at the first 0xFF byte: before it stands ncc.html, after it a SMIL file every
// heading links to. Run it with inputs up to 1 MB and a time limit per input (see run.sh), so
// that a reader that is slower than linear shows as a timeout.
#include "book/BookModel.h"
#include "daisy202/CA_Daisy.h"
#include "book/Charsets.h"
#include "daisy202/ReaderState.h"
#include "daisy202/SmilReader.h"
#include "platform/IProgress.h"
#include "store/DataFile.h"
#include "store/ResumeFile.h"
#include "store/Settings.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

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
    tolvaro::IProgress progress;
    daisy.LoadBook(progress);
    tolvaro::CA_Daisy::ReadBookHead(QStringLiteral("/book/"),
                                    [&](const QString&) { return std::optional(ncc); });

    {
        tolvaro::BookTable headings{6}, phrases{9};
        tolvaro::BookFeatures features;
        tolvaro::BookTextDecoder decoder;
        tolvaro::ReaderState s{headings, phrases, features, decoder, QStringLiteral("/book/")};
        headings.AppendRow();
        s.codePage = tolvaro::kCodePageUtf8;
        tolvaro::ReadSmil(smil, 0, s);
    }

    tolvaro::BookTextDecoder decoder;
    for (unsigned codePage : {0u, 65001u, 1252u, 932u, 50220u, 28605u, 65000u})
        decoder.Decode(input, codePage);
    tolvaro::CharsetToCodePage(input);

    // The same bytes as a damaged data file: as settings, and as a resume file to merge into.
    std::vector<bool> foreign;
    const QStringList lines = tolvaro::datafile::DecodeLines(input, &foreign);
    const tolvaro::Settings settings =
        tolvaro::SettingsFromLines(lines, tolvaro::DefaultSettings(QStringLiteral("de_DE")));
    if (settings.volume < 0 || settings.volume > 100 || !(settings.rate >= 0.5))
        std::abort(); // a damaged file must never start the program silent or stopped
    const tolvaro::ResumeRecord record{lines.mid(0, 6), QStringLiteral("1"), QStringLiteral("2.5"),
                                       QStringLiteral("3")};
    tolvaro::WithResumeRecord(lines, record, foreign);
    return 0;
}
