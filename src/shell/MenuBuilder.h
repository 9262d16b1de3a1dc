#pragma once

class QMenuBar;

namespace tolvaro {

class CommandTable;

// Fills the menu bar from the command table. The table's actions are used as they are, so
// captions, states and check marks set in the table show in the menus at once.
void BuildMenuBar(QMenuBar& bar, CommandTable& commands);

} // namespace tolvaro
