#include "shell/KeyRouter.h"

#include "commands/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

namespace tolvaro {

namespace {

// Whether the menu bar, with the keys after Alt alone, has a use for the key: a key that moves
// through it or leaves it, or a menu's mnemonic (alone or with Alt, as the menu bar takes them).
bool MenuBarTakes(const QMenuBar& bar, const QKeyEvent& key) {
    constexpr int kMoves[] = {Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,      Qt::Key_Down,
                              Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Space,   Qt::Key_Escape,
                              Qt::Key_Alt,    Qt::Key_Shift,  Qt::Key_Control, Qt::Key_Meta,
                              Qt::Key_Tab,    Qt::Key_Backtab};
    if (std::find(std::begin(kMoves), std::end(kMoves), key.key()) != std::end(kMoves))
        return true;
    if (key.modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier))
        return false;
    for (const QAction* menu : bar.actions()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
        if (menu->isVisible() && !mnemonic.isEmpty() && mnemonic[0].key() == key.key())
            return true;
    }
    return false;
}

// The menu bar, when it has the keys (after Alt alone) and the key is for it: sent to it, or
// (`late`) to the widget that had the focus when the key was pressed, as the screen reader's
// bridge hands keys on late, to the widget focused then.
QMenuBar* MenuBarFor(QObject* watched, bool& late) {
    late = false;
    if (auto* bar = qobject_cast<QMenuBar*>(watched))
        return bar;
    late = true;
    if (!watched->isWidgetType() || QApplication::activePopupWidget())
        return nullptr;
    return qobject_cast<QMenuBar*>(QApplication::focusWidget());
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
    bool late = false;
    if (QMenuBar* bar = MenuBarFor(watched, late)) {
        if (type == QEvent::ShortcutOverride) {
            event->accept(); // a key press, for the menu bar; no shortcut is to take it
            return true;
        }
        const bool takes = MenuBarTakes(*bar, *key);
        if (late && takes)
            QCoreApplication::postEvent(bar, new QKeyEvent(type, key->key(), key->modifiers(),
                                                           key->text(), key->isAutoRepeat()));
        return late || !takes;
    }
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
