#include "formats/BookLoader.h"

#include "book/Charsets.h"
#include "daisy202/CA_Daisy.h"
#include "daisy3/Daisy3Loader.h"
#include "io/CaseInsensitivePath.h"
#include "platform/IProgress.h"

#include <QFileInfo>

namespace tolvaro {
namespace {

// The package file that makes `folder` a DAISY 3 book; "" when it holds an ncc.html (DAISY 2.02
// wins) or no package file.
QString Daisy3Package(const QString& folder) {
    const bool ncc =
        QFileInfo(ExistingPathIgnoringCase(folder + QStringLiteral("ncc.html"))).isFile();
    return ncc ? QString() : daisy3::PackageFileIn(folder);
}

} // namespace

std::optional<LoadedBook> LoadBook(BookModel& model, const QString& folder, int langOffset,
                                   IProgress& progress) {
    const QString package = Daisy3Package(folder);
    if (!package.isEmpty()) {
        Daisy3Loader loader(model, folder, package);
        if (!loader.LoadBook(progress))
            return std::nullopt;
        return LoadedBook{loader.Meta(), loader.Features(), kCodePageUtf8};
    }
    CA_Daisy daisy(model, folder, langOffset);
    if (!daisy.LoadBook(progress))
        return std::nullopt;
    return LoadedBook{daisy.Meta(), daisy.Features(), daisy.CodePage()};
}

std::optional<BookMeta> ReadBookHead(const QString& folder) {
    const QString package = Daisy3Package(folder);
    return package.isEmpty() ? CA_Daisy::ReadBookHead(folder)
                             : Daisy3Loader::ReadBookHead(folder, package);
}

} // namespace tolvaro
