#pragma once

#include "book/BookFeatures.h"
#include "book/BookTable.h"
#include "book/Charsets.h"

#include <QString>

#include <string>

namespace tolvaro {

// What the ncc.html reader and the SMIL reader share during one load.
struct ReaderState {
    BookTable& headings;
    BookTable& phrases;
    BookFeatures& features;
    BookTextDecoder& decoder;
    QString folder;          // with trailing "/"
    unsigned codePage = 0;   // 0 until "ncc:charset" names one
    int phraseRow = -1;      // incremented before use
    QString treeId{};        // the row number of the last heading, as text
    std::string_view skip{}; // skip class of the phrases being read (a literal)
    bool smilInHead = false; // kept from one SMIL file to the next
    bool smilInBody = false;
    QString zeit{};          // play time text, kept from one SMIL file to the next
    double elapsedSum = 0.0; // seconds before the current heading, for files without their own

    QString Decode(std::string_view bytes) {
        return decoder.Decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                              codePage);
    }
};

// Bytes as they were read, one character each.
inline QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace tolvaro
