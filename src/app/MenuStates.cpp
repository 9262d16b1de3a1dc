#include "app/MenuStates.h"

#include "book/BookModel.h"
#include "commands/CommandTable.h"
#include "res/StringTable.h"

namespace tolvaro {
namespace {

using Path = std::initializer_list<int>;

// Menu positions: the menu bar, then the positions within each submenu.
constexpr int kDaisy = 0, kNav = 1, kAudio = 2, kText = 3, kBookmarks = 4, kSearch = 5;

void Set(CommandTable& commands, std::initializer_list<Path> paths, bool enabled) {
    for (Path path : paths)
        commands.SetEnabledAt(path, enabled);
}

} // namespace

void ApplyNoBookState(CommandTable& commands) {
    Set(commands, {{1}, {2}, {3}, {4}, {5}, {kDaisy, 3}, {kDaisy, 5}, {kDaisy, 6}}, false);
    for (Path path : {Path{kDaisy, 5}, Path{kDaisy, 6}, Path{kNav}, Path{kAudio}, Path{kText},
                      Path{kBookmarks}, Path{kSearch}})
        commands.SetEnabledBelow(path, false);
}

void EnableBookMenus(CommandTable& commands, BookModel& model, const BookFeatures& f,
                     int langOffset, bool& autoPlay) {
    commands.SetEnabledAt({kNav}, true);
    if (f.audio)
        commands.SetEnabledAt({kAudio}, true);
    else
        autoPlay = false;
    Set(commands, {{kText}, {kBookmarks}, {kSearch}, {kDaisy, 5}, {kDaisy, 6}}, true);
    commands.SetEnabledBelow({kDaisy, 5}, true);
    commands.SetEnabledBelow({kDaisy, 6}, true);

    Set(commands, {{kNav, 0}, {kNav, 5}, {kNav, 0, 0}, {kNav, 0, 1}}, true);
    if (f.groups)
        Set(commands, {{kNav, 1}, {kNav, 1, 0}}, true);
    if (f.pages) {
        Set(commands, {{kNav, 2}, {kNav, 2, 0}, {kNav, 2, 3}}, true);
        model.m_lstPages.MoveTo(0);
    }
    if (f.footnotes || f.sidebars || f.prodnotes || f.pageNumbers)
        commands.SetEnabledAt({kNav, 3}, true);
    const bool skips[] = {f.footnotes, f.sidebars, f.prodnotes, f.pageNumbers};
    for (int i = 0; i < 4; ++i) {
        if (skips[i])
            commands.SetEnabledAt({kNav, 3, i}, true);
    }

    if (f.audio)
        commands.SetEnabledBelow({kAudio}, true);
    commands.SetEnabledBelow({kText}, true);

    commands.SetEnabledAt({kBookmarks, 0}, true);
    const VisibleList& bookmarks = model.m_lbBookmarks;
    if (bookmarks.Count() > 0 && bookmarks.Line(0) != LoadString(kStrNoBookmarks + langOffset))
        commands.SetEnabledAt({kBookmarks, 3}, true);

    if (model.m_treeTitles.Count() > 1)
        commands.SetEnabledAt({kSearch, 0}, true);
    if (f.textDocuments)
        commands.SetEnabledAt({kSearch, 2}, true);

    model.m_lstTitles.MoveTo(0);
}

} // namespace tolvaro
