#pragma once

#include "book/BookFeatures.h"
#include "book/CellStore.h"
#include "book/Charsets.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <string_view>

namespace tolvaro {

class BookTextDecoder;
struct ReaderState;

// Reads one SMIL file into phrase rows (one per audio clip of every <par>, a <par> without audio
// still getting one) and sets the heading row's "Zeit" and "Zeit verg." cells.
void ReadSmil(QByteArrayView data, int headingRow, ReaderState& state);

// A SMIL file read on its own, ahead of its turn and on any thread, from the state the reader
// is in between well-formed files: outside head and body, no skip class, no earlier row touched.
struct SmilScan {
    explicit SmilScan(int columns, std::shared_ptr<BlockMemory> memory = {})
        : phrases(columns, true, std::move(memory)) {}

    CellStore phrases; // its rows, their heading column left empty
    BookFeatures features;
    unsigned codePage = 0; // the one its names were decoded in
    // Where it left the reader.
    bool inHead = false, inBody = false;
    std::string_view skip; // a literal
    bool zeitSet = false;
    QString zeit;
    QString elapsed;          // from its own metadata
    bool reachesBack = false; // it writes to the row before its first: read it in turn
};

// What a thread that scans files keeps from one file to the next.
struct ScanTools {
    BookTextDecoder decoder;
    // Where the texts of its scans go: the book's table takes them over.
    std::shared_ptr<BlockMemory> memory = std::make_shared<BlockMemory>();
};

SmilScan ScanSmil(QByteArrayView data, const QString& folder, unsigned codePage, int columns,
                  ScanTools& tools);
// Takes a scan in as ReadSmil would have read the file at this point; false, changing nothing,
// when the reader's state is not the one the scan started from.
bool TakeSmil(SmilScan& scan, int headingRow, ReaderState& state);

} // namespace tolvaro
