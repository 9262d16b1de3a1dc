#pragma once

#include <QString>

#include <functional>

namespace tolvaro {

// The view that shows the book's text documents and the start page.
//
// Navigate(path) starts loading the local file at `path` and returns at once; the page appears
// later. A file that does not exist shows the view's own error page; nothing is reported. A path
// that is there but no regular file (a pipe, a device) is not read: the view shows an empty page.
// Focus() gives the keyboard focus to the view's reading text (the document's text as a screen
// reader reads it, line by line), with the caret where the marked element's text begins; asked
// while a document loads, once its text is there. LocationName() is the file name
// of the document shown (or being loaded).
//
// MarkElement(id, style) moves the phrase mark: the mark the view placed last is taken away, and
// the content of the element with that id is wrapped in a span with the given CSS style. When the
// element's top plus twice its height reaches the middle of the view, the view scrolls so that
// its lower edge stands at the middle. An id no element has marks nothing. A document still
// loading is marked once it has loaded. Book pages run none of their own scripts and load nothing
// from the network.
//
// MarkTerm(term, style) marks every occurrence of `term` in the document's text (ignoring case,
// never inside a tag or an attribute) with a span of the given CSS style, after taking away the
// term marks placed before; an empty term only takes them away. The phrase mark and the term
// marks live side by side. A document still loading is marked once it has loaded; a document
// loaded later holds no term marks until this is called again.
//
// The handlers: `navigation` is asked before the view follows a link (a URL in text); it returns
// true to cancel. `loaded` is told the URL of every document that has finished loading.
class ITextView {
public:
    virtual ~ITextView() = default;
    virtual void Navigate(const QString& path) = 0;
    virtual void Focus() = 0;
    virtual QString LocationName() const = 0;
    virtual void MarkElement(const QString& id, const QString& style) = 0;
    virtual void MarkTerm(const QString& term, const QString& style) = 0;
    virtual void SetHandlers(std::function<bool(const QString& url)> navigation,
                             std::function<void(const QString& url)> loaded) = 0;
};

} // namespace tolvaro
