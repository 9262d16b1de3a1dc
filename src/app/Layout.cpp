#include "app/Layout.h"

namespace tolvaro {

MainLayout LayoutControls(int w, int h) {
    const int third = w / 3;
    const int half = h / 2;
    const int g = (h - half - 45) / 2; // height share of each list
    MainLayout l{};
    const int text = (h - 20) * 2 / 3;
    l.textView = {third, 5, 2 * third - 5, text};
    l.readingText = {third, 10 + text, 2 * third - 5, h - 20 - text};
    l.tree = {5, 5, third - 15, half};
    l.player = {5, 10 + half, third - 15, 45};
    l.bookmarks = {5, 60 + half, third - 15, g - 15};
    l.searchHits = {5, 50 + half + g, third - 15, g - 15};
    return l;
}

} // namespace tolvaro
