#pragma once

#include <QString>

namespace tolvaro {

class ITextView;

// How the current phrase is marked in the text: the first style that is on wins.
struct MarkStyle {
    bool background = false, textColor = false, bold = false, italic = false;
    QString color; // "#rrggbb", for background and text colour
};

// Marks the current phrase's element in the shown document, and remembers what it marked, so
// that the same element in the same document is not marked again.
class TextMarker {
public:
    explicit TextMarker(ITextView& view) : m_view(view) {}

    // `fragment`: the element's id; `bookFolder`: the open book's folder.
    void MarkPhrase(const QString& fragment, const MarkStyle& style, const QString& bookFolder);
    // The CSS of the mark for these options; empty when none is on.
    static QString StyleFor(const MarkStyle& style);

private:
    ITextView& m_view;
    QString m_style;        // the style used last, kept when no option is on
    QString m_lastFragment; // the element marked last
    QString m_lastLocation; // the document it is in
};

} // namespace tolvaro
