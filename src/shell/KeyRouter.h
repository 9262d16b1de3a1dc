#pragma once

#include <QEvent>
#include <QObject>

class QKeyEvent;
class QWidget;

namespace tolvaro {

class CommandTable;

// The key table of the main window. Every key of the command table that reaches a widget of the
// main window runs its command, when enabled, and goes nowhere else: not to the focused widget
// (a letter in the tree runs its command instead of searching), and not to Qt's shortcut map
// (where Alt+L would also open the "&Lesezeichen" menu). Tab and every other key are left alone.
// While the menu bar has the keys (after Alt alone) it gets its mnemonics and the keys that move
// through it, and no key runs a command.
//
// Alt alone and F10 give the menu bar the keys, or take them back. Alt alone is told here, not by
// the menu bar: with a screen reader listening, Qt's bridge hands key presses and releases on
// late, after the key's shortcut check has run, and the menu bar's own check then misses.
class KeyRouter : public QObject {
public:
    KeyRouter(CommandTable& commands, QWidget& window, QObject* parent = nullptr)
        : QObject(parent), m_commands(commands), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool MenuBarKey(QObject* watched, QEvent::Type type, QKeyEvent& key);
    void ToggleMenuBar();

    CommandTable& m_commands;
    QWidget& m_window;
    bool m_altAlone = false; // Alt is down, and no other key was pressed since
    bool m_toggling = false; // the keys sent to the menu bar by ToggleMenuBar
};

} // namespace tolvaro
