#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QStandardItemModel>

#include <utility>
#include <vector>

namespace tolvaro {

// The heading tree the user sees. One item per heading row, in heading order; an item's data is
// its heading row number. The model and its selection model are shared with the tree view, so a
// selection made by the user and one made by the program both arrive at SelectionChanged,
// synchronously, before the call that caused them returns.
class HeadingTree : public QObject {
    Q_OBJECT
public:
    explicit HeadingTree(QObject* parent = nullptr);

    QStandardItemModel* Model() { return &m_model; }
    const QStandardItemModel* Model() const { return &m_model; }
    QItemSelectionModel* Selection() { return &m_selection; }

    // Number of items at every depth.
    int Count() const { return m_count; }

    // Appends a heading of the given level. It closes every open item of its own and deeper
    // levels and becomes the last child of the deepest item still open, or a root item when none
    // is (level 1 always). So the tree's document order is always the order of appending.
    QModelIndex AppendHeading(int level, const QString& text, int data);
    void DeleteAllItems();

    QModelIndex FirstRoot() const;
    // The item after `index` in document order (children before siblings); invalid at the end.
    QModelIndex Next(const QModelIndex& index) const;
    // The first item in document order whose data is `data`; invalid when none has it.
    QModelIndex FindByData(int data) const;

    static int ItemData(const QModelIndex& index);

    // How a screen reader names a heading: `form` with the title for %1 and the level for %2
    // ("%1, level %2"); empty: by its title alone.
    void SetSpokenForm(const QString& form);

    // Makes `index` the selected item (and the caret). Selecting the item that is already
    // selected raises nothing.
    void Select(const QModelIndex& index);
    QModelIndex Selected() const { return m_selection.currentIndex(); }
    // The tree expands one branch at a time: the items that stand open are the selected one
    // and its ancestors, outermost first; every other item is collapsed.
    QModelIndexList OpenBranch() const;

Q_SIGNALS:
    // The selected item changed; `data` is the new item's heading row.
    void SelectionChanged(int data);

private:
    QString m_spoken;
    QStandardItemModel m_model;
    QItemSelectionModel m_selection;
    std::vector<std::pair<int, QStandardItem*>> m_open; // level and item, shallowest first
    int m_count = 0;
};

} // namespace tolvaro
