#include "book/BookTable.h"

#include <algorithm>

namespace tolvaro {

BookTable::BookTable(std::vector<Column> columns, QObject* parent)
    : QObject(parent), m_columns(std::move(columns)) {}

int BookTable::InsertRow(int row) {
    if (row < 0 || row > RowCount())
        row = RowCount();
    const auto cols = static_cast<std::size_t>(ColumnCount());
    m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(row * cols), cols, QString());
    m_states.insert(m_states.begin() + row, 0);
    if (m_selectedRow >= row)
        ++m_selectedRow;
    if (m_focusedRow >= row)
        ++m_focusedRow;
    return row;
}

int BookTable::AppendRow(const std::vector<QString>& cells) {
    const int row = InsertRow(RowCount());
    const int n = std::min(ColumnCount(), static_cast<int>(cells.size()));
    for (int c = 0; c < n; ++c)
        m_cells[static_cast<std::size_t>(row * ColumnCount() + c)] = cells[c];
    return row;
}

QString BookTable::Text(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return {};
    return m_cells[static_cast<std::size_t>(row * ColumnCount() + column)];
}

void BookTable::SetText(int row, int column, const QString& text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return;
    m_cells[static_cast<std::size_t>(row * ColumnCount() + column)] = text;
}

void BookTable::DeleteAllRows() {
    m_cells.clear();
    m_states.clear();
    m_mark = -1;
    m_selectedRow = -1;
    m_focusedRow = -1;
}

int BookTable::ItemState(int row) const {
    if (row < 0 || row >= RowCount())
        return 0;
    return m_states[static_cast<std::size_t>(row)];
}

void BookTable::SetItemState(int row, int state, int mask) {
    if (row < 0 || row >= RowCount())
        return;
    const int next = (ItemState(row) & ~mask) | (state & mask);
    // Single selection and single focus: the rows that held them lose them first.
    const int taken = next & mask & (Selected | Focused);
    const int previous[] = {m_selectedRow, m_focusedRow};
    for (int other : previous) {
        if (other >= 0 && other != row && (ItemState(other) & taken))
            ChangeState(other, ItemState(other) & ~taken);
    }
    ChangeState(row, next);
}

void BookTable::ChangeState(int row, int state) {
    const int old = m_states[static_cast<std::size_t>(row)];
    if (old == state)
        return;
    m_states[static_cast<std::size_t>(row)] = state;
    if (state & Selected)
        m_selectedRow = row;
    else if (m_selectedRow == row)
        m_selectedRow = -1;
    if (state & Focused)
        m_focusedRow = row;
    else if (m_focusedRow == row)
        m_focusedRow = -1;
    Q_EMIT ItemChanged(row, state, old);
}

void BookTable::MoveTo(int row) {
    if (row < 0 || row >= RowCount())
        return;
    m_mark = row;
    SetItemState(row, Selected, Selected);
}

void BookTable::MoveToQuietly(int row) {
    if (row < 0 || row >= RowCount())
        return;
    m_mark = row;
    SetItemState(row, Selected | Focused, Selected | Focused);
}

} // namespace tolvaro
