#include "playback/TextMarker.h"

#include "book/BookFiles.h"
#include "platform/ITextView.h"

namespace tolvaro {

QString TextMarker::StyleFor(const MarkStyle& s) {
    if (s.background)
        return QStringLiteral("BACKGROUND-COLOR: %1").arg(s.color);
    if (s.textColor)
        return QStringLiteral("COLOR: %1").arg(s.color);
    if (s.bold)
        return QStringLiteral("FONT-WEIGHT: bold");
    if (s.italic)
        return QStringLiteral("FONT-STYLE: italic");
    return {};
}

QString TextMarker::TermStyleFor(const MarkStyle& s) {
    if (s.italic)
        return QStringLiteral("FONT-STYLE: ITALIC");
    if (s.bold)
        return QStringLiteral("FONT-WEIGHT: BOLD");
    if (s.textColor)
        return QStringLiteral("COLOR: %1").arg(s.color);
    if (s.background)
        return QStringLiteral("BACKGROUND-COLOR: %1").arg(s.color);
    return {};
}

void TextMarker::MarkSearchTerm(const QString& term, const MarkStyle& style) {
    const QString name = m_view.LocationName();
    if (name.contains(u"start_de.html") || name.contains(u"start_en.html") ||
        IsNavigationDocument(name))
        return;
    const QString wanted = TermStyleFor(style);
    if (!wanted.isEmpty())
        m_termStyle = wanted;
    // In place already; or nothing to mark, and no marks in this document to take away.
    if (term == m_markedTerm && (name == m_termLocation || term.isEmpty()))
        return;
    m_view.MarkTerm(term, m_termStyle);
    m_termLocation = name;
    m_markedTerm = term;
}

void TextMarker::MarkPhrase(const QString& fragment, const MarkStyle& style,
                            const QString& bookFolder) {
    const QString name = m_view.LocationName();
    if (name.contains(u"start_de.html") || name.contains(u"start_en.html"))
        return;
    const QString location = bookFolder + name;
    const bool same = fragment.compare(m_lastFragment, Qt::CaseInsensitive) == 0 &&
                      location.compare(m_lastLocation, Qt::CaseInsensitive) == 0;
    m_lastLocation = location;
    if (same)
        return; // the mark is in place already
    const QString wanted = StyleFor(style);
    if (!wanted.isEmpty())
        m_style = wanted;
    m_view.MarkElement(fragment, m_style);
    m_lastFragment = fragment;
}

} // namespace tolvaro
