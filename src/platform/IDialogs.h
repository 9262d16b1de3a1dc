#pragma once

#include <QString>

namespace tolvaro {

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
};

} // namespace tolvaro
