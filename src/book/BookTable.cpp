#include "book/BookTable.h"

#include <algorithm>
#include <utility>

namespace tolvaro {

int BookTable::AppendRow(const std::vector<QString>& cells) {
    const std::size_t start = m_cells.size();
    m_cells.resize(start + static_cast<std::size_t>(m_columns));
    std::copy_n(cells.begin(), std::min<std::size_t>(m_columns, cells.size()),
                m_cells.begin() + static_cast<std::ptrdiff_t>(start));
    return m_rowCount++;
}

QStringView BookTable::TextView(int row, int column) const {
    if (!InRange(row, column))
        return {};
    return m_cells[Cell(row, column)];
}

void BookTable::SetText(int row, int column, const QString& text) {
    if (InRange(row, column))
        m_cells[Cell(row, column)] = text;
}

void BookTable::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    const auto first = m_cells.begin() + static_cast<std::ptrdiff_t>(Cell(row, 0));
    m_cells.erase(first, first + m_columns);
    --m_rowCount;
    if (static_cast<std::size_t>(row) < m_states.size())
        m_states.erase(m_states.begin() + row);
    for (int* index : {&m_mark, &m_selectedRow, &m_focusedRow}) {
        if (*index == row)
            *index = -1;
        else if (*index > row)
            --*index;
    }
}

void BookTable::DeleteAllRows() {
    m_cells.clear();
    m_rowCount = 0;
    m_states.clear();
    m_mark = -1;
    m_selectedRow = -1;
    m_focusedRow = -1;
}

int BookTable::ItemState(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_states.size())
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
    const int old = ItemState(row);
    if (old == state)
        return;
    if (static_cast<std::size_t>(row) >= m_states.size())
        m_states.resize(static_cast<std::size_t>(row) + 1, 0);
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
