#pragma once

namespace tolvaro {

class IDialogs;
class IDrives;
class IMainWindow;
class IPlayer;
class ISpeech;
class ITextView;
class ITimers;

// The platform services the controller works through; the program supplies real ones, the
// tests fakes. All outlive the controller.
struct Platform {
    ITimers& timers;
    ITextView& textView;
    IPlayer& player;
    IDialogs& dialogs;
    IMainWindow& window;
    IDrives& drives;
    ISpeech& speech;
};

} // namespace tolvaro
