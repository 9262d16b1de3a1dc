#include "Printers.h"
#include "Session.h"
#include "book/BookModel.h"
#include "res/StringTable.h"

#include <tuple>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using Change = std::tuple<int, int, int>; // row, new state, old state
constexpr int S = BookTable::Selected, F = BookTable::Focused;

struct Recorder {
    explicit Recorder(BookTable& table) {
        QObject::connect(&table, &BookTable::ItemChanged, [this](int row, int now, int old) {
            changes.emplace_back(row, now, old);
            if (now == BookTable::Selected)
                acted.push_back(row);
        });
    }
    std::vector<Change> changes;
    std::vector<int> acted; // rows a handler acted on
};

struct FiveRows : BookTable {
    FiveRows() : BookTable(2) {
        for (int i = 0; i < 5; ++i)
            AppendRow({QString::number(i)});
    }
};

TEST(BookTable, CurrentRowMovesNotifyAsTheHandlersExpect) {
    enum Op { Move, Quiet, Delete };
    const struct {
        const char* name;
        std::vector<std::pair<Op, int>> ops;
        std::vector<Change> changes;
        std::vector<int> acted;
        int mark;
    } cases[] = {
        {"move", {{Move, 2}}, {{2, S, 0}}, {2}, 2},
        {"move twice", {{Move, 1}, {Move, 3}}, {{1, S, 0}, {1, 0, S}, {3, S, 0}}, {1, 3}, 3},
        {"quiet move triggers nothing", {{Quiet, 2}}, {{2, S | F, 0}}, {}, 2},
        {"move after quiet move",
         {{Quiet, 1}, {Move, 3}},
         {{1, S | F, 0}, {1, F, S | F}, {3, S, 0}},
         {3},
         3},
        {"same row again sends nothing", {{Move, 1}, {Move, 1}}, {{1, S, 0}}, {1}, 1},
        {"selecting a focused row is not exactly selected",
         {{Quiet, 1}, {Move, 2}, {Move, 1}},
         {{1, S | F, 0}, {1, F, S | F}, {2, S, 0}, {2, 0, S}, {1, S | F, F}},
         {2},
         1},
        {"quiet move takes selection and focus",
         {{Move, 0}, {Quiet, 4}},
         {{0, S, 0}, {0, 0, S}, {4, S | F, 0}},
         {0},
         4},
        {"rows out of range are ignored", {{Move, 7}, {Quiet, -1}}, {}, {}, -1},
        {"a row deleted before the current one: it stays current",
         {{Move, 3}, {Delete, 1}, {Move, 2}, {Move, 3}},
         {{3, S, 0}, {2, 0, S}, {3, S, 0}},
         {3, 3},
         3},
    };
    for (const auto& c : cases) {
        FiveRows table;
        Recorder rec(table);
        for (auto [op, row] : c.ops) {
            if (op == Delete)
                table.DeleteRow(row);
            else
                op == Move ? table.MoveTo(row) : table.MoveToQuietly(row);
        }
        EXPECT_EQ(rec.changes, c.changes) << c.name;
        EXPECT_EQ(rec.acted, c.acted) << c.name;
        EXPECT_EQ(table.SelectionMark(), c.mark) << c.name;
    }
}

// A handler that moves the cursor again runs its nested notification before the outer call
// returns.
TEST(BookTable, HandlersNestSynchronously) {
    FiveRows table;
    std::vector<int> order;
    QObject::connect(&table, &BookTable::ItemChanged, [&](int row, int now, int) {
        if (now != BookTable::Selected)
            return;
        order.push_back(row);
        if (row == 1)
            table.MoveTo(3);
        order.push_back(-row);
    });
    table.MoveTo(1);
    EXPECT_EQ(order, (std::vector<int>{1, 3, -3, -1}));
    EXPECT_EQ(table.SelectionMark(), 3);
}

// Cells out of range read as empty and are never written.
TEST(BookTable, CellsOutOfRange) {
    FiveRows table;
    table.SetText(-1, 0, "ignored");
    table.SetText(5, 0, "ignored");
    table.SetText(0, 2, "ignored");
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.Text(4, 0), "4");
    for (auto [row, column] : {std::pair{5, 0}, {0, 2}, {-1, 0}, {0, -1}, {4, 1}})
        EXPECT_EQ(table.Text(row, column), "") << row << " " << column;
    table.DeleteAllRows();
    EXPECT_EQ(table.Text(0, 0), "");
}

// Tree parents: a heading goes under the deepest item still open at a shallower level; a new
// item closes the open items of its own and deeper levels.
TEST(HeadingTree, ParentsFollowTheLevels) {
    const struct {
        std::vector<int> levels;
        std::vector<int> parents; // parent's data, -1 for a root item
    } cases[] = {
        {{1, 2, 3, 2, 1, 2}, {-1, 0, 1, 0, -1, 4}},
        {{1, 4}, {-1, 0}},
        {{1, 2, 3, 1, 4}, {-1, 0, 1, -1, 3}}, // not under the first chapter's level 3
        {{2, 1, 2}, {-1, -1, 1}},
        {{1, 2, 2, 3, 3}, {-1, 0, 0, 2, 2}},
    };
    for (const auto& c : cases) {
        HeadingTree tree;
        for (std::size_t i = 0; i < c.levels.size(); ++i)
            tree.AppendHeading(c.levels[i], QString::number(i), static_cast<int>(i));
        std::vector<int> parents;
        std::vector<int> order;
        for (QModelIndex at = tree.FirstRoot(); at.isValid(); at = tree.Next(at)) {
            order.push_back(HeadingTree::ItemData(at));
            parents.push_back(at.parent().isValid() ? HeadingTree::ItemData(at.parent()) : -1);
        }
        EXPECT_EQ(parents, c.parents);
        EXPECT_EQ(tree.Count(), static_cast<int>(c.levels.size()));
        for (std::size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(order[i], static_cast<int>(i)) << "document order equals row order";
    }
}

// Single expand: the selected heading and its ancestors stand open, nothing else.
TEST(HeadingTree, OneBranchStandsOpen) {
    HeadingTree tree;
    const int levels[] = {1, 2, 3, 2, 1, 2};
    for (int i = 0; i < 6; ++i)
        tree.AppendHeading(levels[i], QString::number(i), i);
    const struct {
        int selected;
        std::vector<int> open;
    } cases[] = {{0, {0}}, {2, {0, 1, 2}}, {3, {0, 3}}, {5, {4, 5}}};
    for (const auto& c : cases) {
        tree.Select(tree.FindByData(c.selected));
        std::vector<int> open;
        for (const QModelIndex& item : tree.OpenBranch())
            open.push_back(HeadingTree::ItemData(item));
        EXPECT_EQ(open, c.open) << c.selected;
    }
}

TEST(HeadingTree, SelectionNotifiesOncePerChange) {
    HeadingTree tree;
    for (int i = 0; i < 4; ++i)
        tree.AppendHeading(i == 0 ? 1 : 2, QString::number(i), i);
    std::vector<int> selected;
    QObject::connect(&tree, &HeadingTree::SelectionChanged,
                     [&](int data) { selected.push_back(data); });
    tree.Select(tree.FindByData(2));
    tree.Select(tree.FindByData(2));
    tree.Select(tree.FindByData(0));
    EXPECT_FALSE(tree.FindByData(9).isValid());
    // A heading shows its title and can be selected, never edited.
    const QModelIndex third = tree.FindByData(2);
    EXPECT_EQ(third.data().toString(), "2");
    EXPECT_EQ(tree.Model()->flags(third) & (Qt::ItemIsEditable | Qt::ItemIsSelectable),
              Qt::ItemIsSelectable);
    tree.DeleteAllItems();
    EXPECT_EQ(selected, (std::vector<int>{2, 0}));
    EXPECT_EQ(tree.Count(), 0);
}

TEST(VisibleList, OnlyTheUsersSelectionNotifies) {
    VisibleList list;
    list.ResetTo("none");
    list.AddString("a");
    std::vector<int> changes;
    QObject::connect(&list, &VisibleList::SelChange, [&](int row) { changes.push_back(row); });
    list.SetCurSel(1);
    EXPECT_EQ(list.CurSel(), 1);
    list.Selection()->setCurrentIndex(list.Model()->index(0, 0),
                                      QItemSelectionModel::ClearAndSelect); // as the view does
    EXPECT_EQ(changes, (std::vector<int>{0}));
    EXPECT_EQ(list.Line(0), "none");
}

class ResetTest : public ::testing::TestWithParam<int>, public test::Session {};

// Whatever the model holds, the reset leaves every table empty, the lists with their
// placeholder in the current language, the audio unloaded and the start page shown.
TEST_P(ResetTest, ResetToNoBookEmptiesEverything) {
    const int lang = GetParam();
    Start();
    dlg.RunCommand(lang == kLangEnglish ? cmd::kLanguageEnglish : cmd::kLanguageGerman);
    BookModel& m = dlg.Model();
    for (BookTable* t : {&m.m_lstTitles, &m.m_lstPhrases, &m.m_lstPages, &m.m_lstGroups,
                         &m.m_lstBookmarks, &m.m_lstSearchHits}) {
        t->AppendRow({"x"});
        t->MoveTo(0);
    }
    m.m_treeTitles.AppendHeading(1, "one", 0);
    m.m_treeTitles.AppendHeading(2, "two", 1);
    m.m_lbBookmarks.AddString("mark");
    m.m_lbSearchHits.AddString("hit");
    fake.timers.SetTimer(timer::kMark, 50);
    fake.timers.SetTimer(timer::kPoll, 100);
    fake.player.url = "/book/a.mp3";

    dlg.ResetToNoBook();

    for (BookTable* t : {&m.m_lstTitles, &m.m_lstPhrases, &m.m_lstPages, &m.m_lstGroups,
                         &m.m_lstBookmarks, &m.m_lstSearchHits})
        EXPECT_EQ(t->RowCount(), 0);
    EXPECT_EQ(m.m_treeTitles.Count(), 0);
    EXPECT_EQ(m.m_lbBookmarks.Count(), 1);
    EXPECT_EQ(m.m_lbBookmarks.Line(0), LoadString(44 + lang));
    EXPECT_EQ(m.m_lbSearchHits.Count(), 1);
    EXPECT_EQ(m.m_lbSearchHits.Line(0), LoadString(45 + lang));
    EXPECT_FALSE(fake.timers.IsRunning(timer::kMark));
    EXPECT_FALSE(fake.timers.IsRunning(timer::kPoll));
    EXPECT_EQ(fake.player.url, "");
    EXPECT_EQ(fake.textView.navigations.last(), "/prog" + LoadString(42 + lang));
    EXPECT_TRUE(dlg.IsStartPageShown());
    EXPECT_EQ(fake.window.waitDepth, 0);
    EXPECT_FALSE(dlg.Commands().IsEnabled(cmd::kPhraseNext));
}

INSTANTIATE_TEST_SUITE_P(Languages, ResetTest, ::testing::Values(kLangGerman, kLangEnglish));

} // namespace
} // namespace tolvaro
