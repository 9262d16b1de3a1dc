#include "shell/MenuBuilder.h"

#include "commands/CommandTable.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionMenuItem>

namespace tolvaro {
namespace {

void DrawGreyed(QStyleOptionMenuItem* option, const QAction* action) {
    if (action && CommandTable::IsGreyed(*action)) {
        option->state &= ~QStyle::State_Enabled;
        option->palette.setCurrentColorGroup(QPalette::Disabled);
    }
}

// A menu or the menu bar that draws a greyed submenu entry greyed.
template <class Base> class Greying : public Base {
public:
    using Base::Base;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override {
        Base::initStyleOption(option, action);
        DrawGreyed(option, action);
    }
};
using Menu = Greying<QMenu>;
using MenuBar = Greying<QMenuBar>;

void AddEntries(QWidget& container, const std::vector<std::unique_ptr<CommandTable::Node>>& nodes) {
    for (const auto& node : nodes) {
        if (node->kind == MenuDef::Kind::Popup) {
            auto* menu = new Menu(&container);
            AddEntries(*menu, node->children);
            node->action->setMenu(menu);
        }
        container.addAction(node->action);
    }
}

// Repaints the menus that show the entry and tells a screen reader it is (no longer) greyed.
void ShowGreyedChange(QAction* action) {
    for (QObject* owner : action->associatedObjects()) {
        if (auto* widget = qobject_cast<QWidget*>(owner))
            widget->update();
    }
    if (QAccessible::isActive()) {
        QAccessible::State disabled;
        disabled.disabled = true;
        QAccessibleStateChangeEvent changed(action, disabled);
        QAccessible::updateAccessibility(&changed);
    }
}

} // namespace

QMenuBar* BuildMenuBar(CommandTable& commands) {
    auto* bar = new MenuBar;
    AddEntries(*bar, commands.TopLevel());
    QObject::connect(&commands, &CommandTable::GreyedChanged, bar, &ShowGreyedChange);
    return bar;
}

} // namespace tolvaro
