// How soon after a clip's end the cursor moves on, with the GStreamer player playing in real
// time into a fake sink.
//
//   bench_clip_end [PHRASES] [spoken]
//
// Writes a book of one heading with PHRASES clips of 0.3 to 0.38 s in one file, opens it and lets
// it play. Each time the cursor leaves a phrase, the delay is the wall-clock time since the phrase
// began to play, less its length. Prints the median and the largest delay. With "spoken" the
// book's audio files are removed, so that espeak-ng speaks each phrase's text: the delay then
// also holds the opening of each phrase's own file, the gap a listener hears between phrases.
#include "app/CTolvaroDlg.h"
#include "bookwriter/DaisyWriter.h"
#include "commands/CommandIds.h"
#include "platform/IDialogs.h"
#include "platform/IDrives.h"
#include "platform/IMainWindow.h"
#include "platform/IProgress.h"
#include "platform/ITextView.h"
#include "shell/EspeakSpeech.h"
#include "shell/GstPlayer.h"
#include "shell/QtTimers.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace tolvaro;

namespace {

struct NoView : ITextView {
    void Navigate(const QString&) override {}
    void Focus() override {}
    QString LocationName() const override { return {}; }
    void MarkElement(const QString&, const QString&) override {}
    void MarkTerm(const QString&, const QString&) override {}
    void SetHandlers(std::function<bool(const QString&)>,
                     std::function<void(const QString&)>) override {}
};

struct DirectDialogs : IDialogs {
    Result MessageBox(const QString&, const QString&, Icon, Buttons) override { return Result::Ok; }
    void ShowAbout() override {}
    bool RunLoading(const QString&, const QString&,
                    const std::function<bool(IProgress&)>& work) override {
        IProgress progress;
        return work(progress);
    }
    std::optional<QString> GetBookFile(const QString&, const QString&) override { return file; }
    std::optional<QString> AskPageNumber(int) override { return std::nullopt; }
    std::optional<QString> AskColor(const QString&) override { return std::nullopt; }
    bool RunWaiting(const QString&, const std::function<void(IProgress&)>&) override {
        return false;
    }
    std::optional<QString> AskSearchTerm(int) override { return std::nullopt; }
    std::optional<int> ChooseDrive(int, const std::vector<std::pair<QString, QString>>&) override {
        return std::nullopt;
    }
    std::optional<int> ChooseBook(int, const QStringList&,
                                  const std::function<QStringList()>&) override {
        return std::nullopt;
    }
    QString file;
};

struct NoDrives : IDrives {
    QString HomeFolder() const override { return {}; }
    std::vector<MountInfo> Mounts() const override { return {}; }
};

struct NoWindow : IMainWindow {
    void FocusTree() override {}
    void ApplyLanguage(int) override {}
    void SetWaitCursor(bool) override {}
    void EndDialog() override {}
    void Announce(const QString&) override {}
};

} // namespace

int main(int argc, char** argv) {
    qputenv("TOLVARO_AUDIO_SINK", "fakesink sync=true");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the menu commands are QActions
    const int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 25;
    QTemporaryDir dir;
    bookwriter::BookSpec book;
    book.title = QStringLiteral("Clip ends");
    book.sections.push_back({1, QStringLiteral("One"), {}, {}});
    for (int i = 1; i < count; ++i)
        book.sections[0].phrases.push_back({QStringLiteral("phrase"), {}});
    // Lengths that do not divide into the poll's period, so clip ends fall anywhere between polls.
    int made = 0;
    bookwriter::WriteBook(book, dir.path(), [&made](const QString&) {
        return bookwriter::SilentWav(0.3 + 0.0137 * (made++ % 7));
    });
    const bool spoken = argc > 2 && std::strcmp(argv[2], "spoken") == 0;
    if (spoken) {
        for (const QString& wav : QDir(dir.path()).entryList({QStringLiteral("*.wav")}))
            QFile::remove(dir.filePath(wav));
    }

    QtTimers timers;
    NoView view;
    GstPlayer player;
    DirectDialogs dialogs;
    NoWindow window;
    NoDrives drives;
    EspeakSpeech speech;
    CTolvaroDlg dlg(Platform{timers, view, player, dialogs, window, drives, speech});
    std::vector<double> delays;
    QElapsedTimer clock;
    clock.start();
    double started = -1.0, length = 0.0; // when the current phrase began to play, and its length
    const BookTable& phrases = dlg.Model().m_lstPhrases;
    QObject::connect(&phrases, &BookTable::ItemChanged, [&](int row, int state, int old) {
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if ((old & BookTable::Selected) && !(state & BookTable::Selected) && started >= 0.0)
            delays.push_back(now - started - length); // the row the cursor leaves
        if (state == BookTable::Selected) { // activated already: it plays from its start now
            started = now;
            const double begin = spoken ? 0.0 : phrases.TextView(row, col::kClipBegin).toDouble();
            length = 1000.0 * (dlg.Playback().m_dPhraseEnd - begin);
        }
        if (row == count - 1)
            QTimer::singleShot(600, &app, &QCoreApplication::quit);
    });
    dlg.OnInitDialog({QString(), dir.filePath("data"), QString(), QStringLiteral("en")});
    dialogs.file = dir.filePath("ncc.html");
    // Opened as a user would, after the start-up tick has passed.
    QTimer::singleShot(300, &app, [&] { dlg.RunCommand(cmd::kOpen); });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    app.exec();

    if (delays.empty()) {
        std::puts("no clip end was seen");
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("clip ends seen: %zu (poll every %d ms)\n", delays.size(), PhraseEngine::kPollMs);
    std::printf("cursor moved on after the clip's end: median %.1f ms, largest %.1f ms\n",
                delays[delays.size() / 2], delays.back());
    return 0;
}
