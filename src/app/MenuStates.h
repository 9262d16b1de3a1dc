#pragma once

#include "book/BookFeatures.h"

namespace tolvaro {

class CommandTable;
struct BookModel;

// Greys every command that needs a book. "Öffnen", "V&on Liste", "Beenden", the language items
// and the help menu stay as they are, and so does "&Letztes", which follows its own rules.
void ApplyNoBookState(CommandTable& commands);

// Enables the menus that a freshly loaded book needs. Without audio, automatic playback is
// switched off (its check mark is left alone). Makes page row 0 and heading row 0 current.
void EnableBookMenus(CommandTable& commands, BookModel& model, const BookFeatures& features,
                     int langOffset, bool& autoPlay);

} // namespace tolvaro
