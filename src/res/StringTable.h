#pragma once

#include <QString>

#include <vector>

namespace tolvaro {

// Language offsets: every user-visible text is loaded by its German id plus one of these.
inline constexpr int kLangGerman = 0;
inline constexpr int kLangEnglish = 200;

// Returns the text with the given id, or an empty string when the table has no such id.
// Ids 1-45 are messages (English 201-245), 46-50 the names a screen reader gives the controls
// (English 246-250), 100-172 menu captions (English 300-372), 1090 the old about-item caption.
QString LoadString(int id);

// The names of the controls (German ids; English is id + 200).
inline constexpr int kNameHeadings = 46, kNameText = 47, kNameBookmarks = 48,
                     kNameSearchResults = 49, kNameHelpMenu = 50;

// Every id the table holds, ascending (for checks that walk the whole table).
std::vector<int> StringIds();

} // namespace tolvaro
