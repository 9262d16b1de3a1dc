#pragma once

#include <QString>

namespace tolvaro {

// The view that shows the book's text documents and the start page.
//
// Navigate(path) starts loading the local file at `path` and returns at once; the page appears
// later. A file that does not exist shows the view's own error page; nothing is reported.
// Focus() gives the view the keyboard focus.
class ITextView {
public:
    virtual ~ITextView() = default;
    virtual void Navigate(const QString& path) = 0;
    virtual void Focus() = 0;
};

} // namespace tolvaro
