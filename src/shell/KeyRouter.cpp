#include "shell/KeyRouter.h"

#include "commands/CommandTable.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace tolvaro {

namespace {

// Whether the menu bar, with the keys after Alt alone, has a use for the key: a key that moves
// through it or leaves it, or a menu's mnemonic (alone or with Alt, as the menu bar takes them).
bool MenuBarTakes(const QMenuBar& bar, const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Space: case Qt::Key_Escape:
    case Qt::Key_Alt: case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Meta:
    case Qt::Key_Tab: case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    if (key.modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier))
        return false;
    for (const QAction* menu : bar.actions()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
        if (menu->isVisible() && !mnemonic.isEmpty() && mnemonic[0].key() == key.key())
            return true;
    }
    return false;
}

} // namespace

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // After Alt alone the menu bar has the keys. Its mnemonics and the keys that move through it
    // do their part; any other key does nothing: the menu bar would pass it on to the window,
    // where it would run its command.
    if (auto* bar = qobject_cast<QMenuBar*>(watched))
        return type == QEvent::KeyPress && !MenuBarTakes(*bar, *key);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int id = m_commands.CommandForKey(QKeyCombination(mods, Qt::Key(key->key())));
    if (id == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key for the widget, which keeps Qt's shortcut map out of it; the key press
        // that follows is dispatched below.
        event->accept();
        return true;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    m_commands.Trigger(id);
    return true;
}

} // namespace tolvaro
