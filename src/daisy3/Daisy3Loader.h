#pragma once

#include "book/BookFeatures.h"
#include "book/BookFiles.h"
#include "daisy3/Daisy3Files.h"

#include <QString>

#include <optional>

namespace tolvaro {

class IProgress;
struct BookModel;

// The DAISY 3 loader: the package file, the NCX it names and the SMIL files of its spine, read
// into the tables the DAISY 2.02 loader fills. A heading for each navPoint (level = nesting, 6 at
// most); a phrase for each clip of each par, under the navPoint whose target it reaches last;
// what plays before the first target is a first heading of its own, titled with docTitle. A book
// without text shows its NCX, each phrase at its navPoint: the heading labels are its text.
class Daisy3Loader {
public:
    Daisy3Loader(BookModel& model, QString folder, QString packageFile,
                 BookFileReader read = ReadBookFile);

    // False when the package or the NCX cannot be read (the tables are then empty), or when the
    // progress asked to stop.
    bool LoadBook(IProgress& progress);

    const BookMeta& Meta() const { return m_meta; }
    const BookFeatures& Features() const { return m_features; }

    // The head values of the package file, with the NCX's entry total.
    static std::optional<BookMeta> ReadBookHead(const QString& folder, const QString& packageFile,
                                                const BookFileReader& read = ReadBookFile);

private:
    void AddHeadingsAndPhrases(const daisy3::Package& package, const daisy3::Ncx& ncx,
                               const std::vector<daisy3::SpinePar>& pars);
    void AddHeading(int level, const QString& title, const QString& smil);
    double AddPhrases(const daisy3::Par& par, int heading, const QString& document,
                      const QString& fragment);

    BookModel& m_model;
    QString m_folder, m_package;
    BookFileReader m_read;
    BookMeta m_meta;
    BookFeatures m_features;
};

} // namespace tolvaro
