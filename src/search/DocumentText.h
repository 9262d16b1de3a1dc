#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

namespace tolvaro {

// Full Unicode case folding: "Über" and "ÜBER" fold to "über", "Straße" and "STRASSE" to
// "strasse".
QString FoldCase(QStringView text);

// The text a reader sees in an HTML document, folded for search unless asked not to: no tags,
// attribute values, comments, scripts, styles or title; character references decoded; every run of
// white space one space, and every edge of a block element (paragraph, heading, line break...) one
// line end, so that no term is found across two paragraphs. `ids` tells where each element with an
// id begins in that text, in the order of the document.
struct DocumentText {
    QString text;
    QList<std::pair<QString, qsizetype>> ids;
};

DocumentText ReadDocumentText(QStringView html, bool fold = true);

} // namespace tolvaro
