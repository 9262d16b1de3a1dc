#pragma once

#include <QString>

#include <optional>

namespace tolvaro {

// The title of the book in `folder` as its ncc.html gives it: the text of the link in its first
// heading (h1 to h6), decoded in the character set the file declares before that heading.
// Without an ncc.html, a DAISY 3 book's title from its package file. Nothing when neither can be
// read; an empty title when the ncc.html has no such heading or link.
std::optional<QString> ReadTitle(const QString& folder);

} // namespace tolvaro
