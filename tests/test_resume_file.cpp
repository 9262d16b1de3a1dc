#include "Printers.h"
#include "store/BookmarkFile.h"
#include "store/ResumeFile.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

QStringList Identity(const QString& title) {
    return {"2026", "id", title, "1 of 1", "7", "0:01:00"};
}

ResumeRecord Record(const QString& title, const QString& phrase) {
    return {Identity(title), "1", "83.250", phrase};
}

// One record per book; the book closed last stands at the end.
TEST(ResumeFile, RecordsStayOnePerBookInClosingOrder) {
    QStringList file;
    file = WithResumeRecord(file, Record("A", "3"));
    file = WithResumeRecord(file, Record("B", "5"));
    file = WithResumeRecord(file, Record("A", "4"));
    ASSERT_EQ(file.size(), 18);
    EXPECT_EQ(file[2], "B");
    EXPECT_EQ(file[11], "A");
    EXPECT_EQ(file[17], "4");
    EXPECT_EQ(FindResumeRecord(file, Identity("A"))->phrase, "4");
    EXPECT_EQ(FindResumeRecord(file, Identity("B"))->position, "83.250");
    QStringList other = Identity("A");
    other[5] = "0:01:01"; // differs only in its total time: another book
    EXPECT_FALSE(FindResumeRecord(file, other).has_value());
}

// A last record cut short reads its missing lines as empty and is kept.
TEST(ResumeFile, ShortLastRecord) {
    const QStringList file = Identity("C") + QStringList{"2"};
    const auto found = FindResumeRecord(file, Identity("C"));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->heading, "2");
    EXPECT_EQ(found->position, "");
    const QStringList written = WithResumeRecord(file, Record("D", "1"));
    ASSERT_EQ(written.size(), 18);
    EXPECT_EQ(written.mid(0, 9), (file + QStringList{"", ""}));
}

// A damaged record (a line the program never wrote) is dropped on the next save, not carried on.
TEST(ResumeFile, DamagedRecordsAreDropped) {
    QStringList file = WithResumeRecord({}, Record("A", "3"));
    file = WithResumeRecord(file, Record("B", "5"));
    for (const int line : {2, 8}) { // in A's record, also its last line
        std::vector<bool> foreign(18, false);
        foreign[static_cast<std::size_t>(line)] = true;
        const QStringList saved = WithResumeRecord(file, Record("C", "1"), foreign);
        ASSERT_EQ(saved.size(), 18) << line;
        EXPECT_EQ(saved[2], "B") << line;
        EXPECT_EQ(saved[11], "C") << line;
    }
}

// Bookmarks: the open book's first, other books' after them as they stood, damaged ones dropped.
TEST(BookmarkFile, OpenBookFirstDamagedDropped) {
    const QStringList a = Identity("A"), b = Identity("B"), c = Identity("C");
    QStringList file = WithBookmarks({}, {}, b, {{"b1", "1.0", "0", "0"}});
    file = WithBookmarks(file, {}, c, {{"c1", "", "1", "2"}});
    std::vector<bool> foreign(static_cast<std::size_t>(file.size()), false);
    foreign[12] = true; // in B's record, now the second
    file = WithBookmarks(file, foreign, a, {{"a1", "2.0", "0", "1"}, {"a2", "3.0", "1", "4"}});
    ASSERT_EQ(file.size(), 30);
    EXPECT_EQ(file[6], "a1");
    EXPECT_EQ(file[16], "a2");
    EXPECT_EQ(file[26], "c1");
    ASSERT_EQ(BookmarksOf(file, a).size(), 2u);
    EXPECT_EQ(BookmarksOf(file, a)[1].phrase, "4");
    EXPECT_TRUE(BookmarksOf(file, b).empty());
}

} // namespace
} // namespace tolvaro
