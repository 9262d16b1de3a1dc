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

void SetAudioMenus(CommandTable& commands, bool enabled) {
    Set(commands,
        {{kAudio, 0},
         {kAudio, 1},
         {kAudio, 2},
         {kAudio, 4},
         {kAudio, 5},
         {kAudio, 0, 0},
         {kAudio, 0, 1},
         {kAudio, 0, 2},
         {kAudio, 1, 0},
         {kAudio, 1, 1},
         {kAudio, 1, 2},
         {kAudio, 2, 0},
         {kAudio, 2, 1}},
        enabled);
}

void SetInformationMenus(CommandTable& commands, bool enabled) {
    Set(commands,
        {{kDaisy, 5},
         {kDaisy, 6},
         {kDaisy, 5, 0},
         {kDaisy, 5, 1},
         {kDaisy, 5, 2},
         {kDaisy, 5, 0, 0},
         {kDaisy, 5, 0, 1},
         {kDaisy, 5, 0, 2},
         {kDaisy, 6, 0},
         {kDaisy, 6, 1},
         {kDaisy, 6, 2},
         {kDaisy, 6, 0, 0},
         {kDaisy, 6, 0, 1},
         {kDaisy, 6, 0, 2}},
        enabled);
}

void SetTextMenus(CommandTable& commands, bool enabled) {
    Set(commands,
        {{kText, 0}, {kText, 2}, {kText, 0, 0}, {kText, 0, 1}, {kText, 0, 2}, {kText, 0, 3}},
        enabled);
}

} // namespace

void ApplyNoBookState(CommandTable& commands) {
    Set(commands, {{1}, {2}, {3}, {4}, {5}, {kDaisy, 3}}, false);
    SetInformationMenus(commands, false);
    Set(commands,
        {{kNav, 0},
         {kNav, 1},
         {kNav, 2},
         {kNav, 3},
         {kNav, 5},
         {kNav, 0, 0},
         {kNav, 0, 1},
         {kNav, 1, 0},
         {kNav, 1, 1},
         {kNav, 2, 0},
         {kNav, 2, 1},
         {kNav, 2, 3},
         {kNav, 3, 0},
         {kNav, 3, 1},
         {kNav, 3, 2},
         {kNav, 3, 3}},
        false);
    SetAudioMenus(commands, false);
    SetTextMenus(commands, false);
    Set(commands, {{kBookmarks, 0}, {kBookmarks, 1}, {kBookmarks, 3}, {kBookmarks, 4}}, false);
    Set(commands, {{kSearch, 0}, {kSearch, 1}, {kSearch, 2}, {kSearch, 4}, {kSearch, 5}}, false);
}

void EnableBookMenus(CommandTable& commands, BookModel& model, const BookFeatures& f,
                     int langOffset, bool& autoPlay) {
    commands.SetEnabledAt({kNav}, true);
    if (f.audio)
        commands.SetEnabledAt({kAudio}, true);
    else
        autoPlay = false;
    Set(commands, {{kText}, {kBookmarks}, {kSearch}}, true);

    SetInformationMenus(commands, true);

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
        SetAudioMenus(commands, true);
    SetTextMenus(commands, true);

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
