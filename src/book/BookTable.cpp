#include "book/BookTable.h"

#include <algorithm>
#include <climits>
#include <cstdint>

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
    if (cell.length == 0)
        return {};
    return QStringView(m_blocks[cell.block].text.get() + cell.start,
                       static_cast<qsizetype>(cell.length));
}

char16_t* BookTable::Place(Cell& cell, std::size_t length) {
    constexpr std::size_t kBlock = 1 << 16;
    if (m_blocks.empty() || m_blocks.back().capacity - m_blocks.back().size < length) {
        const std::size_t capacity = std::max(kBlock, length);
        m_blocks.push_back({std::unique_ptr<char16_t[]>(new char16_t[capacity]), 0, capacity});
    }
    Block& block = m_blocks.back();
    cell.block = static_cast<std::uint32_t>(m_blocks.size() - 1);
    cell.start = static_cast<std::uint32_t>(block.size);
    cell.length = static_cast<std::uint32_t>(length);
    char16_t* at = block.text.get() + block.size;
    block.size += length;
    return at;
}

void BookTable::SetText(int row, int column, QStringView text) {
    Cell* cell = At(row, column);
    if (!cell)
        return;
    // Texts beyond four thousand million characters are not kept.
    const auto length = static_cast<std::size_t>(std::min<qsizetype>(text.size(), UINT32_MAX));
    std::copy_n(text.utf16(), length, Place(*cell, length));
}

void BookTable::SetLatin1(int row, int column, QLatin1StringView text) {
    Cell* cell = At(row, column);
    if (!cell)
        return;
    const auto length = static_cast<std::size_t>(std::min<qsizetype>(text.size(), UINT32_MAX));
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    char16_t* out = Place(*cell, length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = bytes[i];
}

void BookTable::DeleteAllRows() {
    m_blocks.clear();
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
