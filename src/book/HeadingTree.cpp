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

// A heading: its title, its row number as item data, not editable; a screen reader is given
// its level with the title. Kept in members rather than in the item's list of role values, which
// costs a book of thousands of headings more than the rest of its tree. The items are never
// changed after they are made.
class HeadingItem : public QStandardItem {
public:
    HeadingItem(const QString& title, int data, int level, const QString& spoken)
        : m_title(title), m_data(data), m_level(level), m_spoken(spoken) {}

    QVariant data(int role) const override {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_title;
        case Qt::UserRole:
            return m_data;
        case Qt::AccessibleTextRole:
            return m_spoken.isEmpty() ? QVariant() : m_spoken.arg(m_title).arg(m_level);
        case Qt::UserRole - 1: // where QStandardItem keeps its flags
            return static_cast<int>(kFlags);
        default:
            return QStandardItem::data(role);
        }
    }
    QStandardItem* clone() const override {
        return new HeadingItem(m_title, m_data, m_level, m_spoken);
    }

private:
    static constexpr Qt::ItemFlags kFlags =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    QString m_title;
    int m_data, m_level;
    const QString& m_spoken; // the tree's, shared by all its items
};

} // namespace

QModelIndex HeadingTree::AppendHeading(int level, const QString& text, int data) {
    while (!m_open.empty() && m_open.back().first >= level)
        m_open.pop_back();
    QStandardItem* item = new HeadingItem(text, data, level, m_spoken);
    (m_open.empty() ? m_model.invisibleRootItem() : m_open.back().second)->appendRow(item);
    ++m_count;
    m_open.emplace_back(level, item);
    return item->index();
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
