#include "shell/AccessibleNames.h"

#include "commands/CommandTable.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

namespace tolvaro {
namespace {

const char* const kNameProperty = "tolvaroAccessibleName";

// The caption as a screen reader reads it: without the mnemonic marks.
QString StripMnemonic(QString caption) {
    for (qsizetype i = caption.indexOf(u'&'); i >= 0 && i < caption.size();
         i = caption.indexOf(u'&', i + 1))
        caption.remove(i, 1); // "&&" leaves one "&", which the next search steps over
    return caption;
}

// A submenu entry, in the menu bar or in a menu, as Qt presents it with two changes: greyed
// when the command table greys it (its action stays enabled so that the menu still opens), and
// named as we choose where the caption is not a name ("?" is the help menu). Its menu is its one
// child; it has the focus while it is its owner's active entry; its action opens the menu.
class MenuEntryItem : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuEntryItem(QWidget* owner, QAction* item) : m_owner(owner), m_item(item) {}

    bool isValid() const override { return m_owner && m_item; }
    QObject* object() const override { return m_item; }
    QWindow* window() const override { return m_owner->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_owner);
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
        if (t == QAccessible::Name) {
            const QVariant name = m_item->property(kNameProperty);
            return name.isValid() ? name.toString() : StripMnemonic(m_item->text());
        }
        if (t == QAccessible::Accelerator) {
            const qsizetype amp = m_item->text().indexOf(u'&');
            if (amp >= 0 && amp + 1 < m_item->text().size())
                return QStringLiteral("Alt+") + m_item->text().at(amp + 1).toUpper();
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        QRect r;
        if (auto* bar = qobject_cast<QMenuBar*>(m_owner))
            r = bar->actionGeometry(m_item);
        else if (auto* menu = qobject_cast<QMenu*>(m_owner))
            r = menu->actionGeometry(m_item);
        return QRect(m_owner->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = ActiveEntry() == m_item;
        s.disabled = CommandTable::IsGreyed(*m_item);
        s.invisible = !m_owner->isVisible() || !m_item->isVisible();
        s.hasPopup = m_item->menu() != nullptr;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override {
        if (name != showMenuAction() && name != pressAction())
            return;
        if (auto* bar = qobject_cast<QMenuBar*>(m_owner))
            bar->setActiveAction(m_item);
        else if (auto* menu = qobject_cast<QMenu*>(m_owner))
            menu->setActiveAction(m_item); // a menu's active submenu entry opens its menu
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QAction* ActiveEntry() const {
        if (auto* bar = qobject_cast<QMenuBar*>(m_owner))
            return bar->activeAction();
        if (auto* menu = qobject_cast<QMenu*>(m_owner))
            return menu->activeAction();
        return nullptr;
    }

    QPointer<QWidget> m_owner;
    QPointer<QAction> m_item;
};

// Announces the view's current item once the focus has settled on the view, a moment after it
// came: a screen reader passes over a focus event that follows others too closely (a window
// closing, another activated).
class FocusFollower : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            QPointer<QAbstractItemView> view = static_cast<QAbstractItemView*>(watched);
            QTimer::singleShot(150, this, [view] {
                if (view)
                    AnnounceCurrentItem(*view);
            });
        }
        return false;
    }
};

QAccessibleInterface* MenuEntryFactory(const QString&, QObject* object) {
    auto* item = qobject_cast<QAction*>(object);
    if (!item || !item->menu())
        return nullptr;
    for (QObject* owner : item->associatedObjects()) {
        auto* widget = qobject_cast<QWidget*>(owner);
        const bool isMenu = qobject_cast<QMenuBar*>(owner) || qobject_cast<QMenu*>(owner);
        if (isMenu && widget->actions().contains(item))
            return new MenuEntryItem(widget, item);
    }
    return nullptr;
}

} // namespace

void InstallMenuBarNames() {
    QAccessible::installFactory(&MenuEntryFactory);
}

void SetMenuBarItemName(QAction& item, const QString& name) {
    item.setProperty(kNameProperty, name);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(&item, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void AnnounceCurrentItem(QAbstractItemView& view) {
    QModelIndex current = view.currentIndex();
    auto* tree = qobject_cast<QTreeView*>(&view);
    if (!current.isValid() && !tree && view.model())
        current = view.model()->index(0, 0, view.rootIndex());
    if (!QAccessible::isActive() || !current.isValid() || !view.hasFocus())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
    QAccessibleTableInterface* table = iface ? iface->tableInterface() : nullptr;
    if (!table)
        return;
    int row = current.row();
    if (tree) { // the row among the items shown, which is how the table counts
        row = 0;
        for (QModelIndex above = tree->indexAbove(current); above.isValid();
             above = tree->indexAbove(above))
            ++row;
    }
    const int child = iface->indexOfChild(table->cellAt(row, 0));
    if (child < 0)
        return;
    QAccessibleEvent focus(&view, QAccessible::Focus);
    focus.setChild(child);
    QAccessible::updateAccessibility(&focus);
}

void AnnounceCurrentItemOnFocus(QAbstractItemView& view) {
    view.installEventFilter(new FocusFollower(&view));
}

} // namespace tolvaro
