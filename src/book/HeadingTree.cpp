#include "book/HeadingTree.h"

namespace tolvaro {

HeadingTree::HeadingTree(QObject* parent) : QObject(parent), m_model(0, 1), m_selection(&m_model) {
    connect(&m_selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid())
                    Q_EMIT SelectionChanged(ItemData(current));
            });
}

namespace {
constexpr int kLevelRole = Qt::UserRole + 1;
} // namespace

// A heading: its title, its row number as item data, its level, not editable; a screen reader
// is given its level with the title.
QModelIndex HeadingTree::AppendHeading(int level, const QString& text, int data) {
    while (!m_open.empty() && m_open.back().first >= level)
        m_open.pop_back();
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(data, Qt::UserRole);
    item->setData(level, kLevelRole);
    if (!m_spoken.isEmpty())
        item->setData(m_spoken.arg(text).arg(level), Qt::AccessibleTextRole);
    (m_open.empty() ? m_model.invisibleRootItem() : m_open.back().second)->appendRow(item);
    ++m_count;
    m_open.emplace_back(level, item);
    return item->index();
}

void HeadingTree::SetSpokenForm(const QString& form) {
    m_spoken = form;
    for (QModelIndex at = FirstRoot(); at.isValid(); at = Next(at)) {
        m_model.setData(at,
                        form.isEmpty()
                            ? QVariant()
                            : form.arg(at.data().toString()).arg(at.data(kLevelRole).toInt()),
                        Qt::AccessibleTextRole);
    }
}

void HeadingTree::DeleteAllItems() {
    m_open.clear();
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

QModelIndexList HeadingTree::OpenBranch() const {
    QModelIndexList branch;
    for (QModelIndex at = Selected(); at.isValid(); at = at.parent())
        branch.prepend(at);
    return branch;
}

void HeadingTree::Select(const QModelIndex& index) {
    if (!index.isValid())
        return;
    m_selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

} // namespace tolvaro
