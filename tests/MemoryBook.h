#pragma once

#include "book/BookModel.h"
#include "daisy202/CA_Daisy.h"
#include "platform/IProgress.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace tolvaro::test {

// A book held in memory: file name -> bytes, read through the loader's file reader.
struct MemoryBook {
    QMap<QString, QByteArray> files;

    BookFileReader Reader() const {
        return [this](const QString& path) -> std::optional<QByteArray> {
            const QString name = path.mid(path.lastIndexOf(u'/') + 1);
            if (!path.startsWith(QStringLiteral("/book/")) || !files.contains(name))
                return std::nullopt;
            return files.value(name);
        };
    }
};

struct NullProgress : IProgress {
    void SetRange(int m) override { maximum = m; }
    void SetPosition(int p) override { position = p; }
    void SetText(const QString& t) override { last = t; }
    int maximum = -1, position = 0;
    QString last;
};

// An ncc.html around the given body lines, with a head that declares utf-8 unless told.
inline QByteArray Ncc(const QByteArray& body,
                      const QByteArray& head = "<meta name=\"ncc:charset\" content=\"utf-8\"/>") {
    return "<html>\n<head>\n" + head + "\n</head>\n<body>\n" + body + "\n</body>\n</html>\n";
}

inline QByteArray Smil(const QByteArray& body, const QByteArray& head = {}) {
    return "<smil>\n<head>\n" + head + "\n</head>\n<body>\n<seq>\n" + body +
           "\n</seq>\n</body>\n</smil>\n";
}

struct Loaded {
    bool ok;
    BookMeta meta;
    BookFeatures features;
    unsigned codePage;
};

// Loads the book at /book/ into `model`.
inline Loaded Load(const MemoryBook& book, BookModel& model, NullProgress* progress = nullptr,
                   int langOffset = 0) {
    CA_Daisy daisy(model, QStringLiteral("/book/"), langOffset, book.Reader());
    NullProgress own;
    const bool ok = daisy.LoadBook(progress ? *progress : own);
    return {ok, daisy.Meta(), daisy.Features(), daisy.CodePage()};
}

// The cells of a table row joined by "|".
inline QString Row(const BookTable& table, int row) {
    QStringList cells;
    for (int c = 0; c < table.ColumnCount(); ++c)
        cells.append(table.Text(row, c));
    return cells.join(u'|');
}

} // namespace tolvaro::test
