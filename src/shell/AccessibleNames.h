#pragma once

#include <QString>

class QAbstractItemView;
class QAction;

namespace tolvaro {

// Presents submenu entries to a screen reader: greyed as the command table greys them, and named
// other than by their caption where asked (the menu whose caption is "?" is the help menu).
// Installed once, before the entries are first asked for.
void InstallMenuBarNames();
void SetMenuBarItemName(QAction& item, const QString& name);

// Tells a screen reader that the focus, when the view has it, is on the view's current item, not
// on the bare view; a list without a current item shows its first line. Qt tells only of moves
// within the view, not of the item the focus lands on when it enters.
void AnnounceCurrentItem(QAbstractItemView& view);
// Has the view announce its current item each time it gains the focus.
void AnnounceCurrentItemOnFocus(QAbstractItemView& view);

} // namespace tolvaro
