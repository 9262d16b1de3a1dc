#pragma once

#include <QString>

class QAction;
class QTreeView;

namespace tolvaro {

// Presents submenu entries to a screen reader: greyed as the command table greys them, and named
// other than by their caption where asked (the menu whose caption is "?" is the help menu).
// Installed once, before the entries are first asked for.
void InstallMenuBarNames();
void SetMenuBarItemName(QAction& item, const QString& name);

// Tells a screen reader that the focus is on the tree's current item, not on the bare tree.
void AnnounceCurrentItem(QTreeView& tree);

} // namespace tolvaro
