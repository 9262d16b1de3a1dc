#include "commands/CommandTable.h"

#include "book/VisibleList.h"
#include "commands/CommandIds.h"
#include "res/StringTable.h"

#include <QActionGroup>

#include <algorithm>

namespace tolvaro {
namespace {

// The caption without its key part ("&Öffnen\tStrg+O" gives "&Öffnen"): the menu shows the key
// from the action's shortcut, and a screen reader reads the name and the key each once.
QString ActionText(const QString& caption) {
    return caption.section(u'\t', 0, 0);
}

} // namespace

CommandTable::CommandTable(QObject* parent) : QObject(parent) {
    for (const MenuDef& def : MainMenuDefinition())
        m_root.push_back(Make(def));
}

CommandTable::~CommandTable() = default;

std::unique_ptr<CommandTable::Node> CommandTable::Make(const MenuDef& def) {
    auto node = std::make_unique<Node>();
    node->kind = def.kind;
    node->id = def.id;
    node->captionId = def.captionId;
    node->fixedCaption = def.fixedCaptionId ? LoadString(def.fixedCaptionId) : QString();
    node->keys = def.keys;
    node->action = new QAction(this);
    QAction* action = node->action;

    if (def.kind == MenuDef::Kind::Separator) {
        action->setSeparator(true);
        return node;
    }
    if (!node->fixedCaption.isEmpty())
        action->setText(node->fixedCaption);
    else
        action->setText(
            ActionText(LoadString(def.firstCaptionId ? def.firstCaptionId : def.captionId)));

    for (const MenuDef& child : def.children)
        node->children.push_back(Make(child));
    if (def.kind == MenuDef::Kind::Popup)
        return node;

    action->setData(def.id);
    QList<QKeySequence> shortcuts;
    for (QKeyCombination key : def.keys) {
        shortcuts.append(QKeySequence(key));
        m_byKey.insert(key.toCombined(), def.id);
    }
    // The keys are dispatched by the key table, not by Qt's shortcut map; the action carries
    // them so that menus and assistive technology can name them.
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WidgetShortcut);
    if (def.mark != MenuDef::Mark::None)
        action->setCheckable(true);
    if (def.radioGroup != 0) {
        const QString name = QStringLiteral("radio%1").arg(def.radioGroup);
        auto* group = findChild<QActionGroup*>(name, Qt::FindDirectChildrenOnly);
        if (!group) {
            group = new QActionGroup(this);
            group->setObjectName(name);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        group->addAction(action);
    }
    const int id = def.id;
    connect(action, &QAction::triggered, this, [this, id] { Q_EMIT Command(id); });
    m_byId.insert(id, action);
    return node;
}

CommandTable::Node* CommandTable::At(std::initializer_list<int> path) const {
    const std::vector<std::unique_ptr<Node>>* level = &m_root;
    Node* node = nullptr;
    for (int position : path) {
        if (position < 0 || position >= static_cast<int>(level->size()))
            return nullptr;
        node = (*level)[static_cast<std::size_t>(position)].get();
        level = &node->children;
    }
    return node;
}

bool CommandTable::IsEnabled(int id) const {
    const QAction* action = Action(id);
    return action && action->isEnabled();
}

void CommandTable::SetEnabled(int id, bool enabled) {
    if (QAction* action = Action(id))
        action->setEnabled(enabled);
}

bool CommandTable::IsGreyed(const QAction& action) {
    return !action.isEnabled() || action.property(kGreyed).toBool();
}

void CommandTable::SetEnabledAt(std::initializer_list<int> path, bool enabled) {
    if (Node* node = At(path))
        SetEnabled(*node, enabled);
}

void CommandTable::SetEnabledBelow(std::initializer_list<int> path, bool enabled) {
    const std::function<void(Node&)> below = [&](Node& node) {
        for (const std::unique_ptr<Node>& child : node.children) {
            if (child->kind != MenuDef::Kind::Separator)
                SetEnabled(*child, enabled);
            below(*child);
        }
    };
    if (Node* node = At(path))
        below(*node);
}

void CommandTable::SetEnabled(Node& node, bool enabled) {
    if (node.kind != MenuDef::Kind::Popup) {
        node.action->setEnabled(enabled);
    } else if (node.action->property(kGreyed).toBool() == enabled) {
        node.action->setProperty(kGreyed, !enabled);
        Q_EMIT GreyedChanged(node.action);
    }
}

bool CommandTable::IsChecked(int id) const {
    const QAction* action = Action(id);
    return action && action->isChecked();
}

void CommandTable::SetChecked(int id, bool checked) {
    if (QAction* action = Action(id))
        action->setChecked(checked);
}

namespace {
void Visit(const std::vector<std::unique_ptr<CommandTable::Node>>& nodes,
           const std::function<void(const CommandTable::Node&)>& visit) {
    for (const auto& node : nodes) {
        visit(*node);
        Visit(node->children, visit);
    }
}
} // namespace

void CommandTable::ForEach(const std::function<void(const Node&)>& visit) const {
    Visit(m_root, visit);
}

void CommandTable::ApplyCaptions(int langOffset) {
    ForEach([langOffset](const Node& node) {
        if (node.captionId != 0)
            node.action->setText(ActionText(LoadString(node.captionId + langOffset)));
    });
}

bool CommandTable::Trigger(int id) {
    QAction* action = Action(id);
    if (!action)
        return false;
    if (!action->isEnabled()) {
        Q_EMIT Refused(id);
        return false;
    }
    action->trigger();
    return true;
}

void ApplyMenuLanguage(CommandTable& commands, int langOffset) {
    commands.ApplyCaptions(langOffset);
    const bool english = langOffset == kLangEnglish;
    const int active = english ? cmd::kLanguageEnglish : cmd::kLanguageGerman;
    const int other = english ? cmd::kLanguageGerman : cmd::kLanguageEnglish;
    commands.SetChecked(active, true);
    commands.SetChecked(other, false);
    commands.SetEnabled(active, false);
    commands.SetEnabled(other, true);
}

bool StepLine(VisibleList& list, CommandTable& commands, int step, int previous, int next) {
    const int line = std::max(list.CurSel(), step > 0 ? -1 : 0) + step;
    if (line < 0 || line >= list.Count())
        return false;
    commands.SetEnabled(previous, line > 0);
    commands.SetEnabled(next, line < list.Count() - 1);
    list.SetCurSel(line);
    return true;
}

} // namespace tolvaro
