#pragma once

#include <QObject>

class QWidget;

namespace tolvaro {

class CommandTable;

// The key table of the main window. Every key of the command table that reaches a widget of the
// main window runs its command, when enabled, and goes nowhere else: not to the focused widget
// (a letter in the tree runs its command instead of searching), and not to Qt's shortcut map
// (where Alt+L would also open the "&Lesezeichen" menu). Tab and every other key are left alone.
// While the menu bar has the keys (after Alt alone) it gets its mnemonics and the keys that move
// through it, and no key runs a command.
class KeyRouter : public QObject {
public:
    KeyRouter(CommandTable& commands, QWidget& window, QObject* parent = nullptr)
        : QObject(parent), m_commands(commands), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CommandTable& m_commands;
    QWidget& m_window;
};

} // namespace tolvaro
