#include "commands/CommandTable.h"
#include "res/StringTable.h"

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// Every string id the program asks for, by name or through a menu caption, exists in both
// languages.
TEST(StringTable, EveryIdTheProgramUsesExistsInBothLanguages) {
    std::vector<int> ids = {kStrLoadingText,     kStrNccUnreadable,     kStrReadError,
                            kStrLoadingCaption,  kStrPageDialogCaption, kStrPagePrompt,
                            kStrPageMissing,     kStrPageCaption,       kStrNotAPart,
                            kStrChangeCaption,   kStrManualFolder,      kStrOf,
                            kStrFileDialogTitle, kStrStartPage,         kStrNoBookmarks,
                            kStrNoSearchResults, kNameHeadings,         kNameText,
                            kNameBookmarks,      kNameSearchResults,    kNameHelpMenu};
    for (int id = kSayBookmarkSet; id <= kStrCancelButton; ++id)
        ids.push_back(id);
    CommandTable().ForEach([&ids](const CommandTable::Node& node) {
        if (node.captionId != 0)
            ids.push_back(node.captionId);
    });
    for (int id : ids) {
        EXPECT_FALSE(LoadString(id).isEmpty()) << "German " << id;
        EXPECT_FALSE(LoadString(id + kLangEnglish).isEmpty()) << "English " << id + kLangEnglish;
    }
}

} // namespace
} // namespace tolvaro
