#pragma once

#include "fakes/FakeTimers.h"
#include "io/Wav.h"
#include "platform/IDialogs.h"
#include "platform/IDrives.h"
#include "platform/IMainWindow.h"
#include "platform/IPlayer.h"
#include "platform/IProgress.h"
#include "platform/ISpeech.h"
#include "platform/ITextView.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cmath>
#include <deque>

namespace tolvaro::test {

// Records where the view was sent.
class FakeTextView : public ITextView {
public:
    void Navigate(const QString& path) override { navigations.append(path); }
    void Focus() override { ++focusCalls; }
    QString LocationName() const override {
        return navigations.isEmpty() ? QString() : navigations.last().section(u'/', -1);
    }
    void MarkElement(const QString& id, const QString& style) override {
        marks.append(id + " " + style);
    }
    void MarkTerm(const QString& term, const QString& style) override {
        termMarks.append(LocationName() + " " + term + " " + style);
    }
    void SetHandlers(std::function<bool(const QString&)> navigation,
                     std::function<void(const QString&)> loaded) override {
        onNavigation = std::move(navigation);
        onLoaded = std::move(loaded);
    }

    QStringList navigations, marks, termMarks;
    int focusCalls = 0;
    std::function<bool(const QString&)> onNavigation;
    std::function<void(const QString&)> onLoaded;
};

// A player that keeps what it is told; the play state is set by the test.
class FakePlayer : public IPlayer {
public:
    void SetUrl(const QString& path) override {
        url = path;
        urls.append(path);
        state = State::Stopped;
    }
    // Opens only regular files, as the real player does, and none it cannot decode.
    Open OpenState() const override {
        return url.isEmpty() || Failed() ? Open::NoMedia : Open::MediaOpen;
    }
    bool Failed() const override {
        return !url.isEmpty() &&
               (!QFileInfo(url).isFile() || undecodable.contains(QFileInfo(url).fileName()));
    }
    // A file played past its duration has ended.
    State PlayState() const override {
        return state == State::Playing && duration > 0 && position >= duration ? State::MediaEnded
                                                                               : state;
    }
    void Play() override { // with no file it does nothing
        if (OpenState() == Open::MediaOpen)
            state = State::Playing;
    }
    void Pause() override {
        if (state == State::Playing)
            state = State::Paused;
    }
    void Stop() override {
        state = State::Stopped;
        position = 0;
    }
    double Position() const override { return position; }
    void SetPosition(double seconds) override {
        position = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 1e9) : 0.0;
    }
    double Rate() const override { return rate; }
    void SetRate(double r) override { rate = r; }
    int Volume() const override { return volume; }
    void SetVolume(int v) override { volume = std::clamp(v, 0, 100); }
    double Duration() const override { return duration; }

    QString url;
    QStringList urls;
    QStringList undecodable; // names of files it never opens, as if damaged
    State state = State::Stopped;
    double position = 0, rate = 1.0, duration = 0;
    int volume = 50;
};

// Message boxes answered from a queue (Ok when it is empty); every box is recorded.
class FakeDialogs : public IDialogs {
public:
    struct Shown {
        QString text, caption;
        Icon icon;
        Buttons buttons;
    };

    Result MessageBox(const QString& text, const QString& caption, Icon icon,
                      Buttons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (onMessage)
            onMessage();
        if (answers.empty())
            return Result::Ok;
        const Result r = answers.front();
        answers.pop_front();
        return r;
    }
    void ShowAbout() override { ++aboutShown; }
    // Runs the work at once, unless the test cancels the window.
    bool RunLoading(const QString& caption, const QString& frameText,
                    const std::function<bool(IProgress&)>& work) override {
        loadingCaptions.append(caption + " | " + frameText);
        if (cancelLoading)
            return false;
        return work(progress);
    }
    std::optional<QString> GetBookFile(const QString& title, const QString& folder) override {
        fileDialogTitles.append(title);
        fileDialogFolders.append(folder);
        return bookFile;
    }

    // Runs the work at once, unless the test closes the window first.
    bool RunWaiting(const QString& text, const std::function<void(IProgress&)>& work) override {
        waitTexts.append(text);
        if (cancelWaiting)
            return false;
        work(progress);
        return true;
    }
    std::optional<QString> AskSearchTerm(int langOffset) override {
        searchLanguages.append(langOffset);
        if (onMessage)
            onMessage();
        if (searchAnswers.empty())
            return std::nullopt;
        const std::optional<QString> answer = searchAnswers.front();
        searchAnswers.pop_front();
        return answer;
    }
    // The drive chosen is `driveAnswer`; the rows shown are kept.
    std::optional<int> ChooseDrive(int,
                                   const std::vector<std::pair<QString, QString>>& rows) override {
        driveRows = rows;
        return driveAnswer;
    }
    // Answers from `bookAnswers` in turn (nothing when empty); 0 runs the rebuild, as the window
    // does, and the next answer is taken. The lines shown each time are kept.
    std::optional<int> ChooseBook(int, const QStringList& lines,
                                  const std::function<QStringList()>& rebuild) override {
        bookLines.append(lines.join(u'|'));
        while (!bookAnswers.empty()) {
            const std::optional<int> answer = bookAnswers.front();
            bookAnswers.pop_front();
            if (answer != 0)
                return answer;
            bookLines.append(rebuild().join(u'|'));
        }
        return std::nullopt;
    }
    std::optional<QString> AskColor(const QString& initial) override {
        colorStarts.append(initial);
        if (onMessage)
            onMessage();
        return colorAnswer;
    }
    std::optional<QString> AskPageNumber(int) override {
        ++pageQuestions;
        return pageAnswer;
    }

    struct Progress : IProgress {
        void SetRange(int m) override { maximum = m; }
        void SetPosition(int p) override { position = p; }
        void SetText(const QString& t) override { texts.append(t); }
        // The user stops the loading once the position reaches `stopAt`.
        Stop StopRequested() const override {
            return stopAt >= 0 && position >= stopAt ? stop : Stop::None;
        }
        int maximum = 0, position = 0, stopAt = -1;
        Stop stop = Stop::None;
        QStringList texts;
    } progress;

    std::vector<Shown> shown;
    std::function<void()> onMessage; // runs while a box or a question is up
    std::deque<Result> answers;
    int aboutShown = 0;
    bool cancelLoading = false;
    std::optional<QString> bookFile; // what the file dialog answers
    std::optional<QString> pageAnswer;
    int pageQuestions = 0;
    std::optional<QString> colorAnswer; // what the colour dialog answers
    std::optional<int> driveAnswer;
    std::vector<std::pair<QString, QString>> driveRows;
    std::deque<std::optional<int>> bookAnswers;
    QStringList bookLines;
    std::deque<std::optional<QString>> searchAnswers; // what the search dialog answers, in turn
    QList<int> searchLanguages;
    QStringList waitTexts;
    bool cancelWaiting = false;
    QStringList colorStarts; // where it opened each time
    QStringList loadingCaptions, fileDialogTitles, fileDialogFolders;
};

class FakeWindow : public IMainWindow {
public:
    void FocusTree() override { ++treeFocused; }
    void ApplyLanguage(int langOffset) override { language = langOffset; }
    void SetWaitCursor(bool wait) override { waitDepth += wait ? 1 : -1; }
    void EndDialog() override { ++ended; }
    void Announce(const QString& text) override { said.append(text); }

    int treeFocused = 0;
    int language = -1;
    int waitDepth = 0;
    int ended = 0;
    QStringList said;
};

// The home folder and mounts a test makes up.
class FakeDrives : public IDrives {
public:
    QString HomeFolder() const override { return home; }
    std::vector<MountInfo> Mounts() const override { return mounts; }
    QString home;
    std::vector<MountInfo> mounts;
};

// Speaks a twentieth of a second a character: a WAV file of silence that long.
struct FakeSpeech : ISpeech {
    bool available = true;
    QStringList spoken, languages; // every text rendered, with its language

    bool Available() const override { return available; }
    std::optional<double> Render(const QString& text, const QString& language,
                                 const QString& path) override {
        QFile::remove(path);
        QString said = text.left(kMaxSpokenChars);
        for (QChar& c : said)
            c = c.unicode() < 0x20 ? QChar(u' ') : c; // control characters are not said
        said = said.trimmed();
        QFile file(path);
        if (!available || said.isEmpty() || !file.open(QIODevice::WriteOnly))
            return std::nullopt;
        const double seconds = said.size() * 0.05;
        file.write(MakeWav(QByteArray(static_cast<qsizetype>(seconds * 8000) * 2, '\0'), 8000));
        spoken << said;
        languages << language;
        return seconds;
    }
};

struct FakePlatform {
    FakeTimers timers;
    FakeTextView textView;
    FakePlayer player;
    FakeDialogs dialogs;
    FakeWindow window;
    FakeDrives drives;
    FakeSpeech speech;

    Platform Get() { return Platform{timers, textView, player, dialogs, window, drives, speech}; }
};

} // namespace tolvaro::test
