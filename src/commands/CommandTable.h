#pragma once

#include "commands/MenuDefinition.h"

#include <QAction>
#include <QHash>
#include <QObject>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace tolvaro {

// The main menu as one QAction per entry (commands, submenus and separators alike, so that
// positions count separators as the menu does). States are set by command id or by position;
// a command only runs when its own action is enabled, so a greyed command's key does nothing.
// Check marks live on the actions: Qt flips a checkable action's mark before Command is emitted,
// so a toggle handler reads the mark it has just been given.
// A greyed submenu keeps its action enabled, so that its menu still opens and a keyboard user can
// explore the (greyed) items in it; its greyed state is the action's property kGreyed.
class CommandTable : public QObject {
    Q_OBJECT
public:
    struct Node {
        MenuDef::Kind kind;
        int id;
        int captionId;
        QString fixedCaption;
        QAction* action;
        std::vector<QKeyCombination> keys;
        std::vector<std::unique_ptr<Node>> children;
    };

    explicit CommandTable(QObject* parent = nullptr);
    ~CommandTable() override;

    // The menu bar's entries, positions 0 to 6.
    const std::vector<std::unique_ptr<Node>>& TopLevel() const { return m_root; }
    // The entry at a path of positions (menu bar position first); nullptr when there is none.
    Node* At(std::initializer_list<int> path) const;
    QAction* Action(int id) const { return m_byId.value(id); }
    // Visits every entry, each before its children, in menu order.
    void ForEach(const std::function<void(const Node&)>& visit) const;

    static constexpr const char* kGreyed = "tolvaroGreyed";
    // Whether the entry shows greyed: a disabled command or a greyed submenu.
    static bool IsGreyed(const QAction& action);

    bool IsEnabled(int id) const;
    void SetEnabled(int id, bool enabled);
    void SetEnabledAt(std::initializer_list<int> path, bool enabled);
    // The same for every entry below the one at `path`, separators aside.
    void SetEnabledBelow(std::initializer_list<int> path, bool enabled);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);

    // Sets every caption from the string table for the language offset (0 or 200).
    void ApplyCaptions(int langOffset);

    // The command a key runs; 0 when the key is none of the table's.
    int CommandForKey(QKeyCombination key) const { return m_byKey.value(key.toCombined(), 0); }
    // Runs the command when its action is enabled; returns whether it ran. A greyed command
    // raises Refused instead.
    bool Trigger(int id);

Q_SIGNALS:
    void Command(int id);
    void Refused(int id);
    // A submenu's greyed state changed (its action's own enabled state does not).
    void GreyedChanged(QAction* action);

private:
    std::unique_ptr<Node> Make(const MenuDef& def);
    void SetEnabled(Node& node, bool enabled);

    std::vector<std::unique_ptr<Node>> m_root;
    QHash<int, QAction*> m_byId;
    QHash<int, int> m_byKey;
};

// Sets every menu caption for the language offset (0 German, 200 English), keeping every item's
// state, and marks the active language: its item radio-marked and disabled, the other enabled.
void ApplyMenuLanguage(CommandTable& commands, int langOffset);

class VisibleList;
// Makes the line `step` (1 or -1) away from a list's current one current (1 from none: the first
// line) and greys the commands `previous` and `next` where the list ends; false, changing
// nothing, when there is no such line.
bool StepLine(VisibleList& list, CommandTable& commands, int step, int previous, int next);

} // namespace tolvaro
