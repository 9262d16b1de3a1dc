#include "shell/MenuBuilder.h"

#include "app/CommandTable.h"

#include <QMenu>
#include <QMenuBar>

namespace tolvaro {
namespace {

void AddEntries(QWidget& container, const std::vector<std::unique_ptr<CommandTable::Node>>& nodes) {
    for (const auto& node : nodes) {
        if (node->kind == MenuDef::Kind::Popup) {
            auto* menu = new QMenu(&container);
            AddEntries(*menu, node->children);
            node->action->setMenu(menu);
        }
        container.addAction(node->action);
    }
}

} // namespace

void BuildMenuBar(QMenuBar& bar, CommandTable& commands) {
    AddEntries(bar, commands.TopLevel());
}

} // namespace tolvaro
