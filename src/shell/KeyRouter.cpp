#include "shell/KeyRouter.h"

#include "commands/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>
#include <utility>

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

bool IsAltAlone(const QKeyEvent& key) {
    return key.key() == Qt::Key_Alt && !(key.modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier));
}

bool IsF10(const QKeyEvent& key) {
    return key.key() == Qt::Key_F10 && key.modifiers() == Qt::NoModifier;
}

} // namespace

// Gives the menu bar the keys as Alt alone does, or takes them back: the menu bar is shown the
// Alt key it waits for. (A key event for Alt itself reports the Alt modifier flipped.)
void KeyRouter::ToggleMenuBar() {
    m_toggling = true;
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(&m_window, &release);
    m_toggling = false;
}

// Alt alone and F10, told from the key events the focused widget receives (the keys that reach
// it first, late or not); returns whether the key is used up.
bool KeyRouter::MenuBarKey(QObject* watched, QEvent::Type type, QKeyEvent& key) {
    if (type == QEvent::ShortcutOverride) {
        if (!IsAltAlone(key) && !IsF10(key))
            return false;
        key.accept(); // the menu bar's own Alt check stays out, and no shortcut takes the key
        return true;
    }
    if (watched != QApplication::focusWidget() || QApplication::activePopupWidget())
        return false;
    if (type == QEvent::KeyPress) {
        m_altAlone = IsAltAlone(key);
        if (!IsF10(key))
            return false;
    } else if (key.key() != Qt::Key_Alt || !std::exchange(m_altAlone, false)) {
        return false;
    }
    ToggleMenuBar();
    return true;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease &&
         type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType() || m_toggling)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (MenuBarKey(watched, type, *key))
        return true;
    if (type == QEvent::KeyRelease)
        return false;
    // After Alt alone the menu bar has the keys. Its mnemonics and the keys that move through it
    // do their part; any other key does nothing: the menu bar would pass it on to the window,
    // where it would run its command. A key that reaches another widget was handed on late, to
    // the widget focused when it was pressed: it is sent to the menu bar.
    if (auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget());
        bar && !QApplication::activePopupWidget()) {
        if (type == QEvent::ShortcutOverride) {
            event->accept(); // a key press, for the menu bar; no shortcut is to take it
            return true;
        }
        const bool takes = MenuBarTakes(*bar, *key);
        const bool elsewhere = watched != bar && !static_cast<QWidget*>(watched)->isAncestorOf(bar);
        if (elsewhere && takes && key->key() != Qt::Key_Alt)
            QCoreApplication::postEvent(bar, new QKeyEvent(type, key->key(), key->modifiers(),
                                                           key->text(), key->isAutoRepeat()));
        return watched != bar || !takes;
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
    if (static_cast<QWidget*>(watched)->window() != &m_window)
        return false;
    m_commands.Trigger(id);
    return true;
}

} // namespace tolvaro
