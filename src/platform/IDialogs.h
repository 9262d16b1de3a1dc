#pragma once

#include <QString>

#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tolvaro {

class IProgress;

// Message boxes and the dialog windows. Every call is modal: it returns when the user has
// closed the window, with what the user chose.
class IDialogs {
public:
    enum class Icon { None, Information, Warning, Error };
    enum class Buttons { Ok, AbortRetryIgnore };
    enum class Result { Ok, Abort, Retry, Ignore };

    virtual ~IDialogs() = default;

    // Shows `text` with `caption`; a window closed without a button counts as Ok for an Ok box
    // and as Abort otherwise.
    virtual Result MessageBox(const QString& text, const QString& caption, Icon icon,
                              Buttons buttons) = 0;
    // The about box.
    virtual void ShowAbout() = 0;

    // The window a book loads in: `caption`, a frame titled `frameText`, a progress bar and a
    // progress line. As soon as it is shown and painted, `work` runs (on this thread) and reports
    // through the progress it is handed; the window then closes and the result is what `work`
    // returned. Escape before `work` starts closes the window without running it: the result is
    // false. While `work` runs, Escape and closing the window are reported through
    // IProgress::StopRequested (closing before it starts runs it once, to hear of it).
    virtual bool RunLoading(const QString& caption, const QString& frameText,
                            const std::function<bool(IProgress&)>& work) = 0;

    // The wait window: `text` in a small window without buttons. As soon as it is shown and
    // painted, `work` runs (on this thread) and reports through the progress it is handed; the
    // window then closes. Escape or closing the window while `work` runs is reported through
    // IProgress::StopRequested. Returns false when the window was closed before `work` began
    // (it did not run).
    virtual bool RunWaiting(const QString& text, const std::function<void(IProgress&)>& work) = 0;

    // The search dialog, its texts in the language of `langOffset`: the term typed (OK needs
    // two characters at least), or nothing when the user cancelled.
    virtual std::optional<QString> AskSearchTerm(int langOffset) = 0;

    // The file dialog for a book: `title`, only files named ncc.html shown, starting in
    // `startFolder` (or where the dialog likes when it is empty). The chosen file's full path,
    // or nothing when the user cancelled.
    virtual std::optional<QString> GetBookFile(const QString& title,
                                               const QString& startFolder) = 0;

    // The go-to-page window, its texts in the language of `langOffset`: the label typed, or
    // nothing when the user cancelled (Escape).
    virtual std::optional<QString> AskPageNumber(int langOffset) = 0;

    // The drive selection, its texts in the language of `langOffset`: one row per place (root,
    // label), row 0 selected. The row chosen (OK, Enter, a double-click), or nothing (Escape,
    // "Abbrechen").
    virtual std::optional<int>
    ChooseDrive(int langOffset, const std::vector<std::pair<QString, QString>>& rows) = 0;

    // The book list, its texts in the language of `langOffset`: `lines`, line 1 selected (line 0
    // when there is no other). Choosing a line (OK, Enter, a double-click) other than 0 returns
    // it. Choosing line 0 runs `rebuild` and shows the lines it returns in the same way; the
    // window stays open. Nothing when the user cancels.
    virtual std::optional<int> ChooseBook(int langOffset, const QStringList& lines,
                                          const std::function<QStringList()>& rebuild) = 0;

    // The colour dialog, opened at `initial` ("#rrggbb"): the chosen colour as "#rrggbb" in
    // lower case, or nothing when the user cancelled.
    virtual std::optional<QString> AskColor(const QString& initial) = 0;
};

} // namespace tolvaro
