// Changing to another volume of a book set, and what "Letztes" then opens.
#include "Printers.h"
#include "Session.h"
#include "res/StringTable.h"

namespace tolvaro {
namespace {

using namespace cmd;
using Result = IDialogs::Result;

// Three volumes of one set (same date, identifier, title, entries and time; "n of 3"), four
// headings each, and a book of its own with another date.
struct VolumeSet : test::Session {
    QString Volume(int n) const { return dir.filePath("vol" + QString::number(n)) + "/"; }

    VolumeSet() {
        for (int n = 1; n <= 4; ++n) {
            bookwriter::BookSpec book;
            book.title = "Der Set";
            book.identifier = "set-1";
            if (n == 4)
                book.date = "2025-01-01"; // another book, alike in all but its date
            for (const char* title : {"A", "B", "C", "D"})
                book.sections.push_back({1, title, {{"eins", {}}}, {}});
            test::WriteSilentBook(book, Volume(n));
            QFile ncc(Volume(n) + "ncc.html");
            EXPECT_TRUE(ncc.open(QIODevice::ReadWrite));
            QByteArray text = ncc.readAll();
            text.replace("1 of 1", QByteArray::number(std::min(n, 3)) + " of 3");
            ncc.resize(0);
            ncc.write(text);
        }
        Start();
    }
    void Open(int volume) { OpenFile(Volume(volume) + "ncc.html"); }
    void ChangeTo(std::optional<int> volume, std::vector<Result> answers) {
        fake.dialogs.bookFile = volume ? std::optional(Volume(*volume) + "ncc.html") : std::nullopt;
        fake.dialogs.answers.assign(answers.begin(), answers.end());
        dlg.Commands().SetEnabled(kChangeVolume, true); // as at a part change
        ASSERT_TRUE(dlg.RunCommand(kChangeVolume));
        fake.timers.Advance(10000);
    }
    QStringList LastBook() const { return DataLines(kLastBookFile); }
};

TEST(VolumeChange, OpensTheChosenVolumeAtTheSameHeading) {
    const struct {
        const char* name;
        std::optional<int> chosen;
        std::vector<Result> answers;
        int messages;
        int volume, heading; // what is open afterwards, and where
    } cases[] = {
        {"the next volume", 2, {}, 0, 2, 2},
        {"the same volume, Ignore", 1, {Result::Ignore}, 1, 1, 2},
        {"the same volume, Abort: back where it was left", 1, {Result::Abort}, 1, 1, 2},
        {"a book with another date, Abort", 4, {Result::Abort}, 1, 1, 2},
        {"a book with another date, Ignore", 4, {Result::Ignore}, 1, 4, 2},
        {"Retry, then Ignore: the heading noted again is none",
         1,
         {Result::Retry, Result::Ignore},
         2,
         1,
         0},
        {"the dialog cancelled", std::nullopt, {}, 0, 1, 2},
    };
    for (const auto& c : cases) {
        VolumeSet set;
        set.Open(1);
        set.GoToHeading(2);
        set.ChangeTo(c.chosen, c.answers);
        EXPECT_EQ(set.fake.dialogs.shown.size(), static_cast<std::size_t>(c.messages)) << c.name;
        if (c.messages > 0) {
            EXPECT_EQ(set.fake.dialogs.shown[0].text, LoadString(kStrNotAPart)) << c.name;
            EXPECT_EQ(set.fake.dialogs.shown[0].caption, LoadString(kStrChangeCaption));
            EXPECT_EQ(set.fake.dialogs.shown[0].buttons, IDialogs::Buttons::AbortRetryIgnore);
        }
        ASSERT_TRUE(set.dlg.IsBookOpen()) << c.name;
        EXPECT_EQ(set.dlg.BookFolder(), set.Volume(c.volume)) << c.name;
        EXPECT_EQ(set.Heading(), c.heading) << c.name;
        EXPECT_EQ(set.LastBook(), QStringList{set.Volume(1)}) << c.name; // the one closed
        EXPECT_EQ(set.fake.dialogs.fileDialogFolders.value(1) + "/vol1/", set.Volume(1))
            << c.name; // starts in the folder above the open book
    }
}

// A volume belongs when date, identifier, title, entries and total time agree and the set's
// "n of m" differs: one field off, and the user is asked.
TEST(VolumeChange, EveryFieldDecidesWhetherAVolumeBelongs) {
    for (const char* name : {"dc:identifier", "dc:title", "ncc:tocItems", "ncc:totalTime"}) {
        VolumeSet set;
        QFile ncc(set.Volume(2) + "ncc.html");
        ASSERT_TRUE(ncc.open(QIODevice::ReadWrite));
        QByteArray text = ncc.readAll();
        const QByteArray key = QByteArray("name=\"") + name + "\" content=\"";
        text.insert(static_cast<qsizetype>(text.indexOf(key) + key.size()), "9");
        ncc.resize(0);
        ncc.write(text);
        ncc.close();
        set.Open(1);
        set.ChangeTo(2, {Result::Abort});
        EXPECT_EQ(set.fake.dialogs.shown.size(), 1u) << name;
        EXPECT_EQ(set.dlg.BookFolder(), set.Volume(1)) << name;
    }
}

// A heading row the new volume does not have gives its first heading.
TEST(VolumeChange, AMissingHeadingRowGivesTheFirst) {
    VolumeSet set;
    set.Open(1);
    set.GoToHeading(3);
    QFile ncc(set.Volume(2) + "ncc.html");
    ASSERT_TRUE(ncc.open(QIODevice::ReadWrite));
    QByteArray text = ncc.readAll();
    text.truncate(text.lastIndexOf("<h1")); // the last heading gone
    text += "</body></html>";
    ncc.resize(0);
    ncc.write(text);
    ncc.close();
    set.ChangeTo(2, {Result::Ignore}); // tocItems now differ: it asks
    EXPECT_EQ(set.dlg.BookFolder(), set.Volume(2));
    EXPECT_EQ(set.Heading(), 0);
}

} // namespace
} // namespace tolvaro
