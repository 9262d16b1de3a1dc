#pragma once

#include "app/CTolvaroDlg.h"
#include "bookwriter/DaisyWriter.h"
#include "commands/CommandIds.h"
#include "fakes/FakePlatform.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvaro::test {

using namespace cmd;

// The program on the fake platform, with a folder of its own for books and data files: what the
// tests drive as a user does.
struct Session {
    QTemporaryDir dir;
    FakePlatform fake;
    CTolvaroDlg dlg{fake.Get()};

    QString Data() const { return dir.filePath("data"); }
    // Starts the program without a book named and lets its start-up tick pass.
    void Start(const QString& program = "/prog", const QString& locale = "de_DE") {
        dlg.OnInitDialog({program, Data(), "", locale});
        fake.timers.Advance(100);
    }
    // Opens `ncc` from the file dialog; `settle` lets the title clip pass.
    void OpenFile(const QString& ncc, bool settle = true) {
        fake.dialogs.bookFile = ncc;
        ASSERT_TRUE(dlg.RunCommand(kOpen));
        if (settle)
            fake.timers.Advance(10000);
    }
    // Writes a file below the session's folder, with the folders it needs.
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The text of the last message box, or "" when none was shown.
    QString Message() const {
        return fake.dialogs.shown.empty() ? QString() : fake.dialogs.shown.back().text;
    }
    int Cursor() { return dlg.Model().m_lstPhrases.SelectionMark(); }
    int Heading() { return HeadingTree::ItemData(dlg.Model().m_treeTitles.Selected()); }
    void GoToHeading(int n) {
        dlg.Model().m_treeTitles.Select(dlg.Model().m_treeTitles.FindByData(n));
    }
    bool On(int id) { return dlg.Commands().IsEnabled(id); }
    QString File(const char16_t* name) const { return DataFilePath(Data(), name); }
    // The lines of a data file, or "<none>" when it cannot be read.
    QStringList DataLines(const char16_t* name) const {
        return datafile::ReadLines(DataFilePath(Data(), name)).value_or(QStringList{"<none>"});
    }
};

// Writes `book` into `folder`, every phrase `seconds` of silence.
inline void WriteSilentBook(const bookwriter::BookSpec& book, const QString& folder,
                            double seconds = 1.0) {
    ASSERT_TRUE(bookwriter::WriteBook(
        book, folder, [seconds](const QString&) { return bookwriter::SilentWav(seconds); }));
}

} // namespace tolvaro::test
