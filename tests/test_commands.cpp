#include "Printers.h"
#include "Session.h"
#include "app/MenuStates.h"
#include "res/StringTable.h"

#include <set>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

bool EnabledAt(const CommandTable& commands, std::initializer_list<int> path) {
    const CommandTable::Node* node = commands.At(path);
    return node && !CommandTable::IsGreyed(*node->action);
}

using namespace cmd;

std::vector<int> AllCommandIds(const CommandTable& commands) {
    std::vector<int> ids;
    commands.ForEach([&](const CommandTable::Node& node) {
        if (node.kind == MenuDef::Kind::Command)
            ids.push_back(node.id);
    });
    return ids;
}

struct DlgFixture : ::testing::Test, test::Session {
    DlgFixture() {
        Start();
        QObject::connect(&dlg.Commands(), &CommandTable::Command,
                         [this](int id) { ran.push_back(id); });
    }
    std::vector<int> ran;
};

TEST_F(DlgFixture, WithoutABookOnlyTheBookFreeCommandsAreEnabled) {
    // German is active, so its own item is disabled.
    const std::set<int> enabled = {kOpen, kFromList, kLast, kExit, kLanguageEnglish, kHelp, kAbout};
    for (int id : AllCommandIds(dlg.Commands()))
        EXPECT_EQ(dlg.Commands().IsEnabled(id), enabled.count(id) == 1) << id;
    for (int top = 0; top < 7; ++top)
        EXPECT_EQ(EnabledAt(dlg.Commands(), {top}), top == 0 || top == 6) << top;
    for (auto path : {std::initializer_list<int>{0, 3}, {0, 5}, {0, 6}, {0, 5, 0}, {1, 3}})
        EXPECT_FALSE(EnabledAt(dlg.Commands(), path));
}

// A greyed command's key does nothing; once enabled, it runs.
TEST_F(DlgFixture, GreyedCommandsDoNotRun) {
    for (int id : {kPhraseNext, kVolumeUp, kRateUp, kBookmarkNext, kSearchNext, kPauseContinue})
        EXPECT_FALSE(dlg.RunCommand(id)) << id;
    EXPECT_TRUE(ran.empty());
    dlg.Commands().SetEnabled(kFocusTree, true);
    EXPECT_TRUE(dlg.RunCommand(kFocusTree));
    EXPECT_EQ(ran, (std::vector<int>{kFocusTree}));
    EXPECT_EQ(fake.window.treeFocused, 1);
}

// Each feature of a book, alone, enables its own commands and no other feature's.
TEST_F(DlgFixture, EachFeatureEnablesItsCommands) {
    const std::vector<int> watched = {kVolumeUp,     kPauseContinue,  kAutoPlay,     kGroupNext,
                                      kPageNext,     kPageGoTo,       kSkipFootnote, kSkipSidebar,
                                      kSkipProdnote, kSkipPageNumber, kSearchBook};
    const struct {
        const char* name;
        bool BookFeatures::*feature; // nullptr: none
        std::set<int> enabled;
    } cases[] = {
        {"none", nullptr, {}},
        {"audio", &BookFeatures::audio, {kVolumeUp, kPauseContinue, kAutoPlay}},
        {"groups", &BookFeatures::groups, {kGroupNext}},
        {"pages", &BookFeatures::pages, {kPageNext, kPageGoTo}},
        {"footnotes", &BookFeatures::footnotes, {kSkipFootnote}},
        {"sidebars", &BookFeatures::sidebars, {kSkipSidebar}},
        {"producer notes", &BookFeatures::prodnotes, {kSkipProdnote}},
        {"page numbers", &BookFeatures::pageNumbers, {kSkipPageNumber}},
        {"text documents", &BookFeatures::textDocuments, {kSearchBook}},
    };
    for (const auto& c : cases) {
        dlg.ResetToNoBook();
        dlg.Model().m_lstPages.AppendRow({"1"});
        BookFeatures features;
        if (c.feature)
            features.*c.feature = true;
        bool autoPlay = true;
        EnableBookMenus(dlg.Commands(), dlg.Model(), features, dlg.LangOffset(), autoPlay);
        for (int id : watched)
            EXPECT_EQ(dlg.Commands().IsEnabled(id), c.enabled.count(id) == 1)
                << c.name << " " << id;
        for (int id :
             {kPhraseNext, kFocusTree, kFocusText, kBookmarkSet, kBookTimeTotal, kMarkBold})
            EXPECT_TRUE(dlg.Commands().IsEnabled(id)) << c.name << " " << id;
        EXPECT_FALSE(dlg.Commands().IsEnabled(kGroupPrevious) ||
                     dlg.Commands().IsEnabled(kPagePrevious));
        EXPECT_EQ(autoPlay, features.audio) << c.name; // without audio nothing plays by itself
        EXPECT_EQ(EnabledAt(dlg.Commands(), {2}), features.audio) << c.name;
        EXPECT_EQ(EnabledAt(dlg.Commands(), {1, 3}), features.footnotes || features.sidebars ||
                                                         features.prodnotes || features.pageNumbers)
            << c.name;
        EXPECT_EQ(dlg.Model().m_lstPages.SelectionMark(), features.pages ? 0 : -1) << c.name;
    }
}

TEST_F(DlgFixture, TogglesAndRadioMarks) {
    dlg.Commands().SetEnabled(kSkipFootnote, true);
    const bool before = dlg.Commands().IsChecked(kSkipFootnote);
    dlg.RunCommand(kSkipFootnote);
    EXPECT_NE(dlg.Commands().IsChecked(kSkipFootnote), before);
    dlg.RunCommand(kSkipFootnote);
    EXPECT_EQ(dlg.Commands().IsChecked(kSkipFootnote), before);

    dlg.Commands().SetChecked(kMarkBackground, true);
    dlg.Commands().SetChecked(kMarkBold, true);
    EXPECT_FALSE(dlg.Commands().IsChecked(kMarkBackground));
}

TEST_F(DlgFixture, LanguageSwitchKeepsStatesAndMarksTheActiveLanguage) {
    const CommandTable first; // before any language is applied
    for (const auto& [id, text] : {std::pair(kSkipFootnote, "Fußnoten"),
                                   {kSearchPrevious, "Vorheriges"},
                                   {kLanguageEnglish, "English"}})
        EXPECT_EQ(first.Action(id)->text(), QString::fromUtf8(text));
    dlg.RunCommand(kLanguageEnglish);
    EXPECT_EQ(dlg.LangOffset(), kLangEnglish);
    EXPECT_EQ(dlg.Commands().Action(kOpen)->text(), "&Open");
    EXPECT_EQ(dlg.Commands().At({4})->action->text(), "&Bookmark");
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchText)); // greyed stays greyed
    EXPECT_TRUE(dlg.Commands().IsChecked(kLanguageEnglish));
    EXPECT_FALSE(dlg.Commands().IsEnabled(kLanguageEnglish));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kLanguageGerman));
    EXPECT_EQ(dlg.Commands().Action(kLanguageGerman)->text(), "Deutsch");
    EXPECT_TRUE(fake.textView.navigations.last().endsWith("start_en.html"));

    dlg.RunCommand(kLanguageGerman);
    EXPECT_EQ(dlg.Commands().Action(kSkipFootnote)->text(), QString::fromUtf8("Fußnote"));
    EXPECT_EQ(dlg.Commands().Action(kSearchPrevious)->text(), "Vorhe&riges");
    EXPECT_TRUE(dlg.Commands().IsChecked(kLanguageGerman));
    EXPECT_FALSE(dlg.Commands().IsChecked(kLanguageEnglish));
}

} // namespace
} // namespace tolvaro
