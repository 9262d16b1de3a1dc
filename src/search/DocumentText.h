#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

namespace tolvaro {

// Case folding for search, one UTF-16 unit for one (simple folding), so that offsets in folded
// text are offsets in the text: "Über" and "ÜBER" both fold to "über".
QChar FoldChar(QChar c);
QString FoldCase(QStringView text);

// The text a reader sees in an HTML document, folded for search: no tags, attribute values,
// comments, scripts, styles or title; character references decoded; every run of white space one
// space, and every edge of a block element (paragraph, heading, line break...) one line end, so
// that no term is found across two paragraphs.
// `idStarts` tells where each element with an id begins in that text: the id exactly as written,
// the first element that has it.
struct DocumentText {
    QString folded;
    QHash<QString, qsizetype> idStarts;
};

DocumentText ReadDocumentText(QStringView html);

} // namespace tolvaro
