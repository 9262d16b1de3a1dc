#include "shell/KeyRouter.h"

#include "commands/CommandTable.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace tolvaro {

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    // After Alt alone the menu bar has the focus, and the letters are its mnemonics.
    if (qobject_cast<QMenuBar*>(watched))
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
