#include "shell/AccessibleNames.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTreeView>

namespace tolvaro {
namespace {

const char* const kNameProperty = "tolvaroAccessibleName";

// A menu-bar item as Qt presents it, with the name of our choice: its menu as its one child,
// the focus while it is the bar's active item, greyed when disabled, and opening its menu as its
// action.
class NamedMenuBarItem : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    NamedMenuBarItem(QMenuBar* bar, QAction* item) : m_bar(bar), m_item(item) {}

    bool isValid() const override { return m_bar && m_item; }
    QObject* object() const override { return m_item; }
    QWindow* window() const override { return m_bar->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_bar);
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && m_item->menu() ? QAccessible::queryAccessibleInterface(m_item->menu())
                                            : nullptr;
    }
    int childCount() const override { return m_item->menu() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && m_item->menu() && child->object() == m_item->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return m_item->property(kNameProperty).toString();
        if (t == QAccessible::Accelerator) {
            const qsizetype amp = m_item->text().indexOf(u'&');
            if (amp >= 0 && amp + 1 < m_item->text().size())
                return QStringLiteral("Alt+") + m_item->text().at(amp + 1).toUpper();
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect r = m_bar->actionGeometry(m_item);
        return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = m_bar->activeAction() == m_item;
        s.disabled = !m_item->isEnabled();
        s.invisible = !m_bar->isVisible() || !m_item->isVisible();
        s.hasPopup = m_item->menu() != nullptr;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            m_bar->setActiveAction(m_item);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QMenuBar> m_bar;
    QPointer<QAction> m_item;
};

QAccessibleInterface* NamedItemFactory(const QString&, QObject* object) {
    auto* item = qobject_cast<QAction*>(object);
    if (!item || !item->property(kNameProperty).isValid())
        return nullptr;
    for (QObject* owner : item->associatedObjects()) {
        if (auto* bar = qobject_cast<QMenuBar*>(owner))
            return new NamedMenuBarItem(bar, item);
    }
    return nullptr;
}

} // namespace

void InstallMenuBarNames() {
    QAccessible::installFactory(&NamedItemFactory);
}

void SetMenuBarItemName(QAction& item, const QString& name) {
    item.setProperty(kNameProperty, name);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(&item, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void AnnounceCurrentItem(QTreeView& tree) {
    const QModelIndex current = tree.currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || !tree.hasFocus())
        return;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&tree);
    QAccessibleTableInterface* table = view ? view->tableInterface() : nullptr;
    if (!table)
        return;
    int row = 0; // the row among the items shown, which is how the table counts
    for (QModelIndex above = tree.indexAbove(current); above.isValid();
         above = tree.indexAbove(above))
        ++row;
    const int child = view->indexOfChild(table->cellAt(row, 0));
    if (child < 0)
        return;
    QAccessibleEvent focus(&tree, QAccessible::Focus);
    focus.setChild(child);
    QAccessible::updateAccessibility(&focus);
}

} // namespace tolvaro
