#include "ui/Language.h"

#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "res/StringTable.h"

namespace tolvaro {

void ApplyMenuLanguage(CommandTable& commands, int langOffset) {
    commands.ApplyCaptions(langOffset);
    const bool english = langOffset == kLangEnglish;
    const int active = english ? cmd::kLanguageEnglish : cmd::kLanguageGerman;
    const int other = english ? cmd::kLanguageGerman : cmd::kLanguageEnglish;
    commands.SetChecked(active, true);
    commands.SetChecked(other, false);
    commands.SetEnabled(active, false);
    commands.SetEnabled(other, true);
}

} // namespace tolvaro
