#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string_view>
#include <utility>
#include <vector>

namespace tolvaro {

// Case folding for search (simple folding, code point by code point): "Über" and "ÜBER" both
// fold to "über". Characters beyond the Basic Multilingual Plane are kept as they are.
QChar FoldChar(QChar c);
QString FoldCase(QStringView text);

// The text a reader sees in an HTML document given as UTF-8, folded for search and kept as
// UTF-8: no tags, attribute values, comments, scripts, styles or title; character references
// decoded; every run of white space one space, and every edge of a block element (paragraph,
// heading, line break...) one line end, so that no term is found across two paragraphs. The
// folded text of a term is FoldCase(term) as UTF-8.
// `ids` tells where each element with an id begins in that text, in the order of the document:
// the id exactly as written (a view into the markup, valid as long as it is), and the offset.
struct DocumentText {
    QByteArray folded;
    std::vector<std::pair<std::string_view, qsizetype>> ids;
    bool validUtf8 = true; // false: the text held bytes that are no UTF-8, and is not to be used
};

DocumentText ReadDocumentText(QByteArrayView html);

} // namespace tolvaro
