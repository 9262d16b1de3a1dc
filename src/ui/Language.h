#pragma once

namespace tolvaro {

class CommandTable;

// Sets every menu caption for the language offset (0 German, 200 English), keeping every item's
// state, and marks the active language: its item radio-marked and disabled, the other enabled.
void ApplyMenuLanguage(CommandTable& commands, int langOffset);

} // namespace tolvaro
