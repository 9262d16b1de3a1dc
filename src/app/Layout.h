#pragma once

namespace tolvaro {

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};

// Places of the visible controls in a client area of the given size: the text view and, below
// it, the reading text take the right two thirds; the tree, the player strip and the two lists
// share the left third.
struct MainLayout {
    Rect textView, readingText, tree, player, bookmarks, searchHits;
};

MainLayout LayoutControls(int width, int height);

} // namespace tolvaro
