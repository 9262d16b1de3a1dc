#pragma once

namespace tolvaro {

// What the controller asks of the main window itself.
//
// FocusTree gives the keyboard focus to the heading tree. SetWaitCursor(true) shows the busy
// cursor until SetWaitCursor(false); calls nest. EndDialog closes the window once the current
// handler has returned, which ends the program; it does not ask the controller again.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual void FocusTree() = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    virtual void EndDialog() = 0;
};

} // namespace tolvaro
