#include "app/CTolvaroDlg.h"
#include "app/MenuStates.h"
#include "commands/CommandIds.h"
#include "fakes/FakePlatform.h"
#include "res/StringTable.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <set>

namespace tolvaro {
namespace {

using namespace cmd;

std::vector<int> AllCommandIds(const CommandTable& commands) {
    std::vector<int> ids;
    commands.ForEach([&](const CommandTable::Node& node) {
        if (node.kind == MenuDef::Kind::Command)
            ids.push_back(node.id);
    });
    return ids;
}

TEST(CommandTable, PositionsCountSeparators) {
    CommandTable commands;
    const struct {
        std::initializer_list<int> path;
        int id; // 0: a separator; -1: a submenu
        int captionId;
    } cases[] = {
        {{0, 0}, kOpen, 107},
        {{0, 1}, kFromList, 172},
        {{0, 3}, kChangeVolume, 109},
        {{0, 4}, 0, 0},
        {{0, 5}, -1, 110},
        {{0, 5, 0, 2}, kBookTimeRemaining, 119},
        {{0, 6, 1}, kTitleIndex, 170},
        {{0, 6, 2}, kTitleLevel, 171},
        {{0, 8, 1}, kLanguageEnglish, 0},
        {{0, 10}, kExit, 113},
        {{1, 2, 2}, 0, 0},
        {{1, 2, 3}, kPageGoTo, 135},
        {{1, 3, 3}, kSkipPageNumber, 139},
        {{1, 5}, kFocusTree, 128},
        {{2, 3}, 0, 0},
        {{2, 4}, kPauseContinue, 143},
        {{2, 5}, kAutoPlay, 144},
        {{3, 0, 3}, kMarkTextColor, 158},
        {{3, 2}, kFocusText, 154},
        {{4, 3}, kBookmarkNext, 161},
        {{5, 5}, kSearchPrevious, 167},
        {{6, 0}, kHelp, 168},
        {{6, 2}, kAbout, 169},
    };
    for (const auto& c : cases) {
        const CommandTable::Node* node = commands.At(c.path);
        ASSERT_NE(node, nullptr);
        if (c.id == 0) {
            EXPECT_EQ(node->kind, MenuDef::Kind::Separator);
        } else if (c.id == -1) {
            EXPECT_EQ(node->kind, MenuDef::Kind::Popup);
        } else {
            EXPECT_EQ(node->id, c.id);
            EXPECT_EQ(node->captionId, c.captionId);
        }
    }
    EXPECT_EQ(commands.At({7}), nullptr);
    EXPECT_EQ(commands.At({0, 11}), nullptr);
    EXPECT_EQ(commands.TopLevel().size(), 7u);
    EXPECT_EQ(AllCommandIds(commands).size(), 55u);
}

TEST(CommandTable, KeyTable) {
    CommandTable commands;
    const struct {
        QKeyCombination key;
        int id;
    } cases[] = {
        {Qt::ALT | Qt::Key_A, kAutoPlay},
        {{Qt::Key_Space}, kPauseContinue},
        {Qt::CTRL | Qt::Key_Space, kPauseContinue},
        {Qt::ALT | Qt::Key_F4, kExit},
        {Qt::ALT | Qt::Key_L, kLast},
        {Qt::CTRL | Qt::Key_O, kOpen},
        {{Qt::Key_O}, kFromList},
        {Qt::ALT | Qt::Key_W, kChangeVolume},
        {Qt::SHIFT | Qt::Key_W, kRateDown},
        {Qt::CTRL | Qt::Key_W, kRateNormal},
        {{Qt::Key_W}, kRateUp},
        {{Qt::Key_G}, kGroupNext},
        {Qt::SHIFT | Qt::Key_G, kGroupPrevious},
        {{Qt::Key_L}, kVolumeUp},
        {Qt::SHIFT | Qt::Key_L, kVolumeDown},
        {Qt::CTRL | Qt::Key_L, kVolumeNormal},
        {Qt::ALT | Qt::Key_M, kBookmarkDelete},
        {{Qt::Key_M}, kBookmarkNext},
        {Qt::CTRL | Qt::Key_M, kBookmarkSet},
        {Qt::SHIFT | Qt::Key_M, kBookmarkPrevious},
        {{Qt::Key_N}, kFocusTree},
        {Qt::SHIFT | Qt::Key_P, kPhrasePrevious},
        {{Qt::Key_P}, kPhraseNext},
        {Qt::ALT | Qt::Key_S, kPageGoTo},
        {{Qt::Key_S}, kPageNext},
        {Qt::SHIFT | Qt::Key_S, kPagePrevious},
        {Qt::SHIFT | Qt::Key_U, kWindBackward},
        {{Qt::Key_U}, kWindForward},
        {{Qt::Key_R}, kSearchNext},
        {Qt::SHIFT | Qt::Key_R, kSearchPrevious},
        {{Qt::Key_T}, kFocusText},
        {{Qt::Key_F1}, kHelp},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commands.CommandForKey(c.key), c.id)
            << QKeySequence(c.key).toString().toStdString();
    // Nothing else is a key of the table.
    int keys = 0;
    for (int id : AllCommandIds(commands))
        keys += static_cast<int>(commands.Action(id)->shortcuts().size());
    EXPECT_EQ(keys, 32);
    EXPECT_EQ(commands.CommandForKey({Qt::Key_Escape}), 0);
    EXPECT_EQ(commands.CommandForKey({Qt::Key_Return}), 0);
    EXPECT_EQ(commands.CommandForKey(Qt::ALT | Qt::Key_D), 0);
}

struct DlgFixture : ::testing::Test {
    DlgFixture() : dlg(fake.Get()) {
        dlg.OnInitDialog({"/prog", data.path(), "", "de_DE"});
        QObject::connect(&dlg.Commands(), &CommandTable::Command,
                         [this](int id) { ran.push_back(id); });
    }
    QTemporaryDir data;
    test::FakePlatform fake;
    CTolvaroDlg dlg;
    std::vector<int> ran;
};

TEST_F(DlgFixture, WithoutABookOnlyTheBookFreeCommandsAreEnabled) {
    // German is active, so its own item is disabled.
    const std::set<int> enabled = {kOpen, kFromList, kLast, kExit, kLanguageEnglish, kHelp, kAbout};
    for (int id : AllCommandIds(dlg.Commands()))
        EXPECT_EQ(dlg.Commands().IsEnabled(id), enabled.count(id) == 1) << id;
    for (int top = 0; top < 7; ++top)
        EXPECT_EQ(dlg.Commands().IsEnabledAt({top}), top == 0 || top == 6) << top;
    for (auto path : {std::initializer_list<int>{0, 3}, {0, 5}, {0, 6}, {0, 5, 0}, {1, 3}})
        EXPECT_FALSE(dlg.Commands().IsEnabledAt(path));
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

TEST_F(DlgFixture, EnableBookMenusFollowsTheFeatures) {
    enum Expect { On, Off };
    const struct {
        const char* name;
        BookFeatures features;
        int headings;
        std::vector<std::pair<int, Expect>> states;
        bool autoPlayAfter;
    } cases[] = {
        {"audio, pages, groups, notes",
         {true, true, true, true, true, true, true, true},
         3,
         {{kVolumeUp, On},       {kPauseContinue, On},  {kAutoPlay, On},
          {kGroupNext, On},      {kGroupPrevious, Off}, {kPageNext, On},
          {kPagePrevious, Off},  {kPageGoTo, On},       {kSkipFootnote, On},
          {kSkipPageNumber, On}, {kSearchHeadings, On}, {kSearchText, Off},
          {kSearchBook, On},     {kBookmarkSet, On},    {kBookmarkDelete, Off},
          {kBookmarkNext, Off},  {kChangeVolume, Off},  {kBookTimeTotal, On},
          {kTitleLevel, On},     {kMarkBold, On},       {kPhraseNext, On},
          {kFocusTree, On},      {kFocusText, On}},
         true},
        {"no audio",
         {false, false, false, false, false, false, false, true},
         2,
         {{kVolumeUp, Off},
          {kRateUp, Off},
          {kWindForward, Off},
          {kPauseContinue, Off},
          {kAutoPlay, Off},
          {kGroupNext, Off},
          {kPageNext, Off},
          {kPageGoTo, Off},
          {kSkipFootnote, Off},
          {kPhrasePrevious, On}},
         false},
        {"producer notes only",
         {true, false, false, false, false, true, false, false},
         1,
         {{kSkipProdnote, On},
          {kSkipFootnote, Off},
          {kSkipSidebar, Off},
          {kSkipPageNumber, Off},
          {kSearchHeadings, Off},
          {kSearchBook, Off}},
         true},
    };
    for (const auto& c : cases) {
        dlg.ResetToNoBook();
        for (int i = 0; i < c.headings; ++i) {
            dlg.Model().m_lstTitles.AppendRow({"1", "t"});
            dlg.Model().m_treeTitles.AppendHeading(1, "t", i);
        }
        dlg.Model().m_lstPages.AppendRow({"1"});
        bool autoPlay = true;
        EnableBookMenus(dlg.Commands(), dlg.Model(), c.features, dlg.LangOffset(), autoPlay);
        for (auto [id, expect] : c.states)
            EXPECT_EQ(dlg.Commands().IsEnabled(id), expect == On) << c.name << " " << id;
        EXPECT_EQ(autoPlay, c.autoPlayAfter) << c.name;
        EXPECT_EQ(dlg.Commands().IsEnabledAt({2}), c.features.audio) << c.name;
        EXPECT_EQ(dlg.Commands().IsEnabledAt({1, 3}), c.features.footnotes || c.features.prodnotes)
            << c.name;
        EXPECT_EQ(dlg.Model().m_lstTitles.SelectionMark(), 0);
        EXPECT_EQ(dlg.Model().m_lstPages.SelectionMark(), c.features.pages ? 0 : -1);
    }
}

// "Nächstes" bookmark needs a real bookmark line, not the placeholder.
TEST_F(DlgFixture, NextBookmarkNeedsABookmark) {
    bool autoPlay = false;
    EnableBookMenus(dlg.Commands(), dlg.Model(), {}, dlg.LangOffset(), autoPlay);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kBookmarkNext));
    dlg.ResetToNoBook();
    dlg.Model().m_lbBookmarks.ResetTo("Kapitel 1");
    EnableBookMenus(dlg.Commands(), dlg.Model(), {}, dlg.LangOffset(), autoPlay);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kBookmarkNext));
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

// The captions before any language is applied are the menu's first appearance.
TEST(CommandTable, FirstCaptions) {
    CommandTable commands;
    EXPECT_EQ(commands.Action(kSkipFootnote)->text(), QString::fromUtf8("Fußnoten"));
    EXPECT_EQ(commands.Action(kSearchPrevious)->text(), "Vorheriges");
    EXPECT_EQ(commands.Action(kExit)->text(), "Beenden");
}

} // namespace
} // namespace tolvaro
