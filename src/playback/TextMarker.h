#pragma once

#include <QString>

namespace tolvaro {

class ITextView;

// How the current phrase is marked in the text: the first style that is on wins.
struct MarkStyle {
    bool background = false, textColor = false, bold = false, italic = false;
    QString color; // "#rrggbb", for background and text colour
};

// Marks the current phrase's element and the search term in the shown document, and remembers
// what it marked, so that the same marks in the same document are not placed again.
class TextMarker {
public:
    explicit TextMarker(ITextView& view) : m_view(view) {}

    // `fragment`: the element's id; `bookFolder`: the open book's folder.
    void MarkPhrase(const QString& fragment, const MarkStyle& style, const QString& bookFolder);
    // Every occurrence of `term` in the text of the shown document; an empty term takes the
    // marks away. Nothing on a start page or in the NCC.
    void MarkSearchTerm(const QString& term, const MarkStyle& style);
    // A document has finished loading: it holds none of the marks placed before.
    void DocumentLoaded() { m_termLocation.clear(); }
    // The CSS of the phrase mark for these options (the first that is on); empty when none is.
    static QString StyleFor(const MarkStyle& style);
    // The CSS of the search-term mark (the last option that is on); empty when none is.
    static QString TermStyleFor(const MarkStyle& style);

private:
    ITextView& m_view;
    QString m_style;        // the style used last, kept when no option is on
    QString m_lastFragment; // the element marked last
    QString m_lastLocation; // the document it is in
    QString m_termStyle;    // the style of the term marks, kept when no option is on
    QString m_markedTerm;   // the term marked last, in the document m_termLocation
    QString m_termLocation; // empty once another document has loaded
};

} // namespace tolvaro
