#include "book/HeadingTree.h"

namespace tolvaro {

HeadingTree::HeadingTree(QObject* parent) : QObject(parent), m_model(0, 1), m_selection(&m_model) {
    connect(&m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid())
                    Q_EMIT SelectionChanged(ItemData(current));
            });
}

QModelIndex HeadingTree::InsertItem(const QString& text, int data, const QModelIndex& parent) {
    auto* item = new QStandardItem(text);
    item->setData(data, Qt::UserRole);
    item->setEditable(false);
    QStandardItem* owner =
        parent.isValid() ? m_model.itemFromIndex(parent) : m_model.invisibleRootItem();
    owner->appendRow(item);
    ++m_count;
    return item->index();
}

QModelIndex HeadingTree::AppendHeading(int level, const QString& text, int data) {
    QModelIndex parent;
    if (level > 1 && level <= 6)
        parent = m_lastOfLevel[static_cast<std::size_t>(level - 1)];
    const QModelIndex index = InsertItem(text, data, parent);
    if (level >= 1 && level <= 6)
        m_lastOfLevel[static_cast<std::size_t>(level)] = index;
    return index;
}

void HeadingTree::DeleteAllItems() {
    m_lastOfLevel = {};
    m_count = 0;
    m_model.removeRows(0, m_model.rowCount());
}

QModelIndex HeadingTree::FirstRoot() const {
    return m_model.index(0, 0);
}

QModelIndex HeadingTree::Next(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    if (m_model.hasChildren(index))
        return m_model.index(0, 0, index);
    for (QModelIndex at = index; at.isValid(); at = at.parent()) {
        const QModelIndex sibling = at.siblingAtRow(at.row() + 1);
        if (sibling.isValid())
            return sibling;
    }
    return {};
}

QModelIndex HeadingTree::FindByData(int data) const {
    int visited = 0;
    for (QModelIndex at = FirstRoot(); at.isValid() && visited < m_count;
         at = Next(at), ++visited) {
        if (ItemData(at) == data)
            return at;
    }
    return {};
}

int HeadingTree::ItemData(const QModelIndex& index) {
    return index.data(Qt::UserRole).toInt();
}

void HeadingTree::Select(const QModelIndex& index) {
    if (!index.isValid())
        return;
    m_selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

} // namespace tolvaro
