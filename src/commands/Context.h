#pragma once

namespace tolvaro {

class CommandTable;
class IDialogs;
class IMainWindow;
class IPlayer;
struct BookModel;

// The references every subsystem shares. The controller owns what they refer to and outlives
// the subsystems.
struct Context {
    BookModel& model;
    CommandTable& commands;
    IPlayer& player;
    IDialogs& dialogs;
    IMainWindow& window;
    const bool& bookOpen;  // a book is open
    const int& langOffset; // the menus' language: 0 German, 200 English
};

} // namespace tolvaro
