#pragma once

class QString;

namespace tolvaro {

// What the controller asks of the main window itself.
//
// FocusTree gives the keyboard focus to the heading tree, at its current item. SetWaitCursor(true)
// shows the busy cursor until SetWaitCursor(false); calls nest. EndDialog closes the window once
// the current handler has returned, which ends the program; it does not ask the controller again.
// ApplyLanguage puts the window's own texts into the language of `langOffset` (0 German, 200
// English): the names a screen reader gives its controls, and the texts of the toolkit's own
// dialogs and key names. Announce has a screen reader speak `text` at once, wherever the focus
// is, and shows it where a sighted helper can read it; the focus does not move.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual void FocusTree() = 0;
    virtual void ApplyLanguage(int langOffset) = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    virtual void EndDialog() = 0;
    virtual void Announce(const QString& text) = 0;
};

} // namespace tolvaro
