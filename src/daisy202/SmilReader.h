#pragma once

#include <QByteArrayView>

namespace tolvaro {

struct ReaderState;

// Reads one SMIL file into phrase rows (one per audio clip of every <par>, a <par> without audio
// still getting one) and sets the heading row's "Zeit" and "Zeit verg." cells.
void ReadSmil(QByteArrayView data, int headingRow, ReaderState& state);

} // namespace tolvaro
