#include "commands/CommandTable.h"
#include "res/StringTable.h"

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

TEST(StringTable, EveryIdExistsInBothLanguages) {
    std::vector<int> ids;
    for (int id = 1; id <= 50; ++id)
        ids.push_back(id);
    for (int id = 100; id <= 172; ++id)
        ids.push_back(id);
    for (int id : ids) {
        EXPECT_FALSE(LoadString(id).isEmpty()) << "German " << id;
        EXPECT_FALSE(LoadString(id + kLangEnglish).isEmpty()) << "English " << id + 200;
    }
    EXPECT_EQ(LoadString(1090), QString::fromUtf8("&Info über Tolvaro 2.0..."));
    // Nothing beyond the documented ranges.
    for (int id : StringIds()) {
        const bool known = (id >= 1 && id <= 50) || (id >= 201 && id <= 250) ||
                           (id >= 100 && id <= 172) || (id >= 300 && id <= 372) || id == 1090;
        EXPECT_TRUE(known) << id;
    }
    EXPECT_TRUE(LoadString(0).isEmpty());
    EXPECT_TRUE(LoadString(51).isEmpty());
}

TEST(StringTable, ExactTexts) {
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {2, "Die ncc.html konnte nicht geöffnet werden!"},
        {202, "Could not open ncc.html!"},
        {14, "Bitte geben Sie eine Seitenzahl ein und drücken Sie \"Enter\" oder ESC zum "
             "Abbrechen."},
        {42, "/documents/html/start_de.html"},
        {242, "/documents/html/start_en.html"},
        {44, "Keine Lesezeichen"},
        {245, "No search results"},
        {107, "&Öffnen\tStrg+O"},
        {143, "Pause/Fortsetzen\tLeer"},
        {167, "Vorhe&riges\tUmsch+R"},
        {336, "Footnote"},
        {354, "Swi&tch to...\tT"},
        {372, "&Of list\tO"},
        {238, "The selected title is not a part of the book.\n\nPress \"Cancel\" to return to the "
              "book or\n\"Retry\" to select another title or\n\"Ignore\" to open the title as a "
              "part of the book."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadString(c.id), QString::fromUtf8(c.text)) << c.id;
}

// Every caption the menu uses can be loaded in both languages.
TEST(StringTable, MenuCaptionsResolve) {
    CommandTable commands;
    int captions = 0;
    commands.ForEach([&](const CommandTable::Node& node) {
        if (node.captionId == 0)
            return;
        ++captions;
        EXPECT_FALSE(LoadString(node.captionId).isEmpty()) << node.captionId;
        EXPECT_FALSE(LoadString(node.captionId + kLangEnglish).isEmpty());
    });
    EXPECT_EQ(captions, 73); // ids 100 to 172
}

} // namespace
} // namespace tolvaro
