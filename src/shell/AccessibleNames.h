#pragma once

#include <QString>

class QAction;
class QTreeView;

namespace tolvaro {

// Lets a screen reader name an item of the menu bar other than its caption (the menu whose
// caption is "?" is the help menu). Installed once, before the item is first asked for.
void InstallMenuBarNames();
void SetMenuBarItemName(QAction& item, const QString& name);

// Tells a screen reader that the focus is on the tree's current item, not on the bare tree.
void AnnounceCurrentItem(QTreeView& tree);

} // namespace tolvaro
