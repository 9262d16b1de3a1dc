#pragma once

#include "book/CellStore.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

namespace tolvaro {

struct Column {
    QString header;
    int width;
};

// A table of text cells, one of the hidden book tables. Rows are numbered from 0 in insertion
// order; other tables refer to them by that number written as decimal text. The cells are kept
// in a CellStore, which the loaders fill directly.
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

    explicit BookTable(std::vector<Column> columns, QObject* parent = nullptr);

    const std::vector<Column>& Columns() const { return m_columns; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    int RowCount() const { return m_cells.RowCount(); }

    // Inserts a row with every cell empty at `row` (appended when row is past the end) and
    // returns its number.
    int InsertRow(int row);
    // Removes a row and its state, without a notification; the rows after it move up by one.
    void DeleteRow(int row);
    // Appends a row; cells past the given ones stay empty, surplus ones are ignored.
    int AppendRow(const std::vector<QString>& cells);
    // Empty for a row or column out of range, like a cell the loader never filled.
    QString Text(int row, int column) const { return m_cells.Text(row, column); }
    // The same without a copy; valid until the table changes.
    QStringView TextView(int row, int column) const { return m_cells.TextView(row, column); }
    void SetText(int row, int column, QStringView text) { m_cells.SetText(row, column, text); }
    // Sets a cell to bytes taken one character each.
    void SetLatin1(int row, int column, QLatin1StringView text) {
        m_cells.SetLatin1(row, column, text);
    }
    void DeleteAllRows();
    // The cells, for the loaders: rows added there have no state set.
    CellStore& Cells() { return m_cells; }

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
    void ChangeState(int row, int state);

    std::vector<Column> m_columns;
    CellStore m_cells;
    // Row states, as far as any was set; rows past the end have none.
    std::vector<int> m_states;
    int m_mark = -1;
    int m_selectedRow = -1;
    int m_focusedRow = -1;
};

} // namespace tolvaro
