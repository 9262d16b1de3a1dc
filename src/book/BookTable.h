#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

namespace tolvaro {

// A table of text cells, one of the hidden book tables. Rows are numbered from 0 in the order
// they are appended; other tables refer to them by that number written as decimal text.
//
// The current row is the selection mark together with the Selected state of that row. A state
// change touches only the bits in its mask and notifies synchronously through ItemChanged with
// the row's whole new state: first for the row that loses Selected or Focused to it (single
// selection, single focus), then for the row itself; a row whose state does not change sends
// nothing. Handlers act only when the new state is exactly Selected, so MoveToQuietly (Selected
// and Focused) moves the cursor without triggering them.
class BookTable : public QObject {
    Q_OBJECT
public:
    enum State { Focused = 0x1, Selected = 0x2 };

    explicit BookTable(int columns, QObject* parent = nullptr)
        : QObject(parent), m_columns(columns) {}

    int ColumnCount() const { return m_columns; }
    int RowCount() const { return m_rowCount; }

    // Appends a row; cells past the given ones stay empty, surplus ones are ignored.
    int AppendRow(const std::vector<QString>& cells = {});
    // Removes a row and its state, without a notification; the rows after it move up by one.
    void DeleteRow(int row);
    // Empty for a row or column out of range, like a cell the loader never filled.
    QString Text(int row, int column) const { return TextView(row, column).toString(); }
    // The same without a copy; valid until the table changes.
    QStringView TextView(int row, int column) const;
    // Writing out of range does nothing.
    void SetText(int row, int column, const QString& text);
    void DeleteAllRows();

    int SelectionMark() const { return m_mark; }
    void SetSelectionMark(int row) { m_mark = row; }
    int ItemState(int row) const;
    // Sets the bits of `mask` in the row's state to those of `state`.
    void SetItemState(int row, int state, int mask);

    // Moves the current row and lets the change handler act.
    void MoveTo(int row);
    // Moves the current row without triggering the change handler.
    void MoveToQuietly(int row);

Q_SIGNALS:
    void ItemChanged(int row, int newState, int oldState);

private:
    bool InRange(int row, int column) const {
        return row >= 0 && row < RowCount() && column >= 0 && column < m_columns;
    }
    std::size_t Cell(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
               static_cast<std::size_t>(column);
    }
    void ChangeState(int row, int state);

    int m_columns;
    int m_rowCount = 0;
    std::vector<QString> m_cells; // row by row

    // Row states, as far as any was set; rows past the end have none.
    std::vector<int> m_states;
    int m_mark = -1;
    int m_selectedRow = -1;
    int m_focusedRow = -1;
};

} // namespace tolvaro
