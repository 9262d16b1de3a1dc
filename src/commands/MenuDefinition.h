#pragma once

#include <QKeyCombination>

#include <vector>

namespace tolvaro {

// One entry of the main menu, declared as data. Positions within a menu count separators.
struct MenuDef {
    enum class Kind { Popup, Command, Separator };
    enum class Mark { None, Check, Radio };

    Kind kind = Kind::Separator;
    int id = 0;             // command id; 0 for popups and separators
    int captionId = 0;      // German string id; English is captionId + 200
    int fixedCaptionId = 0; // a caption that stays when the language changes
    int firstCaptionId = 0; // caption before any language is applied, if it differs
    std::vector<QKeyCombination> keys;
    Mark mark = Mark::None;
    int radioGroup = 0; // items with the same non-zero group are exclusive
    std::vector<MenuDef> children;
};

// The menu bar: seven popups from "&DAISY" to "&?".
const std::vector<MenuDef>& MainMenuDefinition();

} // namespace tolvaro
