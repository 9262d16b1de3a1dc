// The loading window: Escape stops a long load, closing the window asks the program to end.
#include "shell/LoadingDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

TEST(LoadingDlg, TheUserStopsALongLoad) {
    using Stop = IProgress::Stop;
    const struct {
        const char* name;
        std::function<QEvent*()> event; // what the user does, posted while the work runs
        Stop expected;
    } cases[] = {
        {"Escape", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier); },
         Stop::Cancel},
        {"closing the window", [] { return new QCloseEvent; }, Stop::Close},
    };
    for (const auto& c : cases) {
        Stop seen = Stop::None;
        bool visibleToTheEnd = false;
        LoadingDlg* self = nullptr;
        LoadingDlg dialog(
            "Loading", "Book",
            [&](IProgress& progress) {
                QCoreApplication::postEvent(self, c.event());
                QElapsedTimer clock;
                clock.start();
                int entry = 0;
                while (progress.StopRequested() == Stop::None && clock.elapsed() < 5000)
                    progress.SetPosition(++entry); // the window takes its input now and then
                seen = progress.StopRequested();
                visibleToTheEnd = self->isVisible();
                return seen == Stop::None;
            },
            nullptr);
        self = &dialog;
        EXPECT_FALSE(dialog.Run()) << c.name;
        EXPECT_EQ(seen, c.expected) << c.name;
        EXPECT_TRUE(visibleToTheEnd) << c.name; // it closes when the work has stopped
    }
}

// Closed before loading began: the work still runs once, sees the request, and loads nothing.
TEST(LoadingDlg, ClosedBeforeItBegins) {
    IProgress::Stop seen = IProgress::Stop::None;
    int runs = 0;
    LoadingDlg dialog(
        "Loading", "Book",
        [&](IProgress& progress) {
            ++runs;
            seen = progress.StopRequested();
            return false;
        },
        nullptr);
    QCoreApplication::postEvent(&dialog, new QCloseEvent);
    EXPECT_FALSE(dialog.Run());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(seen, IProgress::Stop::Close);
}

} // namespace
} // namespace tolvaro
