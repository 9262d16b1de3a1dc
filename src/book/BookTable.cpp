#include "book/BookTable.h"

#include <algorithm>

namespace tolvaro {

BookTable::BookTable(std::vector<Column> columns, QObject* parent)
    : QObject(parent), m_columns(std::move(columns)) {}

int BookTable::InsertRow(int row) {
    if (row < 0 || row > RowCount())
        row = RowCount();
    const auto cols = static_cast<std::size_t>(ColumnCount());
    m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(row * cols), cols, Cell{});
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
        SetText(row, c, cells[static_cast<std::size_t>(c)]);
    return row;
}

BookTable::Cell* BookTable::At(int row, int column) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return nullptr;
    return &m_cells[static_cast<std::size_t>(row * ColumnCount() + column)];
}

QStringView BookTable::TextView(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return {};
    const Cell& cell = m_cells[static_cast<std::size_t>(row * ColumnCount() + column)];
    return QStringView(m_text).sliced(cell.start, cell.length);
}

void BookTable::SetText(int row, int column, QStringView text) {
    const QChar* begin = m_text.constData();
    if (!text.isEmpty() && text.data() >= begin && text.data() < begin + m_text.size()) {
        SetText(row, column, text.toString()); // text of this table: copy it out first
        return;
    }
    if (Cell* cell = At(row, column)) {
        Reserve(text.size());
        cell->start = m_text.size();
        cell->length = text.size();
        m_text.append(text);
    }
}

// Grows the text buffer by doubling, so that appending a book's cells copies it only a few
// times.
void BookTable::Reserve(qsizetype more) {
    const qsizetype needed = m_text.size() + more;
    if (needed > m_text.capacity())
        m_text.reserve(
            std::max<qsizetype>(needed, std::max<qsizetype>(4096, 2 * m_text.capacity())));
}

void BookTable::SetLatin1(int row, int column, QLatin1StringView text) {
    if (Cell* cell = At(row, column)) {
        Reserve(text.size());
        cell->start = m_text.size();
        cell->length = text.size();
        m_text.append(text);
    }
}

void BookTable::DeleteAllRows() {
    QString().swap(m_text);
    std::vector<Cell>().swap(m_cells);
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
