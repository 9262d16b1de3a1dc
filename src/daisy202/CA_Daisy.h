#pragma once

#include "book/BookFeatures.h"
#include "book/BookFiles.h"
#include "book/Charsets.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace tolvaro {

class IProgress;
struct BookModel;
struct ReaderState;

// The book loader. LoadBook reads ncc.html line by line into the heading, page and group tables
// and the tree, and reads each heading's SMIL file as the heading is met, before going on.
class CA_Daisy {
public:
    CA_Daisy(BookModel& model, QString bookFolder, int langOffset,
             BookFileReader read = ReadBookFile);
    ~CA_Daisy();

    // False when ncc.html cannot be read (the tables are then empty), or when the progress asked
    // to stop (the tables then hold what was read so far).
    bool LoadBook(IProgress& progress);

    const BookMeta& Meta() const { return m_meta; }
    const BookFeatures& Features() const { return m_features; }
    unsigned CodePage() const { return m_codePage; }

    // The head values of folder + "ncc.html" only; nothing when it cannot be read.
    static std::optional<BookMeta> ReadBookHead(const QString& folder,
                                                const BookFileReader& read = ReadBookFile);

private:
    class Ncc;

    BookModel& m_model;
    QString m_folder;
    int m_langOffset;
    BookFileReader m_read;
    BookMeta m_meta;
    BookFeatures m_features;
    unsigned m_codePage = 0;
    BookTextDecoder m_decoder;
};

} // namespace tolvaro
