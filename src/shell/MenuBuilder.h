#pragma once

class QMenuBar;

namespace tolvaro {

class CommandTable;

// Makes the menu bar from the command table. The table's actions are used as they are, so
// captions, states and check marks set in the table show in the menus at once; a greyed submenu
// is drawn greyed and still opens on its greyed items.
QMenuBar* BuildMenuBar(CommandTable& commands);

} // namespace tolvaro
