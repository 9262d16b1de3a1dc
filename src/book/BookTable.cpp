#include "book/BookTable.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace tolvaro {

BookTable::BookTable(std::vector<Column> columns, QObject* parent)
    : QObject(parent), m_columns(std::move(columns)), m_lastSet(m_columns.size()) {}

int BookTable::InsertRow(int row) {
    const int count = RowCount();
    if (row < 0 || row > count)
        row = count;
    const auto cols = static_cast<std::size_t>(ColumnCount());
    if (count % kChunkRows == 0) // rows past the count are empty: set only after insertion
        m_chunks.push_back(std::make_unique<Cell[]>(kChunkRows * cols));
    if (row == count) { // the loaders only ever append: the new row's cells are empty already
        m_states.push_back(0);
        return row;
    }
    m_states.insert(m_states.begin() + row, 0);
    for (int r = count; r > row; --r)
        std::copy_n(At(r - 1, 0), cols, At(r, 0));
    std::fill_n(At(row, 0), cols, Cell{});
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

const BookTable::Cell* BookTable::At(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return nullptr;
    const auto& chunk = m_chunks[static_cast<std::size_t>(row / kChunkRows)];
    return &chunk[static_cast<std::size_t>(row % kChunkRows * ColumnCount() + column)];
}

BookTable::Cell* BookTable::At(int row, int column) {
    return const_cast<Cell*>(std::as_const(*this).At(row, column));
}

const char16_t* BookTable::Chars(Cell cell) const {
    if (cell.length > kBlockChars)
        return m_large[cell.pos].get();
    return m_blocks[cell.pos >> 16].get() + (cell.pos & 0xffff);
}

QStringView BookTable::TextView(int row, int column) const {
    const Cell* cell = At(row, column);
    if (!cell || cell->length == 0)
        return {};
    return QStringView(Chars(*cell), static_cast<qsizetype>(cell->length));
}

char16_t* BookTable::Place(Cell& cell, std::size_t length) {
    if (length > kBlockChars) {
        m_large.push_back(std::unique_ptr<char16_t[]>(new char16_t[length]));
        cell = {static_cast<std::uint32_t>(m_large.size() - 1), static_cast<std::uint32_t>(length)};
        return m_large.back().get();
    }
    if (kBlockChars - m_blockUsed < length) {
        if (m_blocks.size() > 0xffff) // the positions of 8 GB of text are all taken
            return nullptr;
        m_blocks.push_back(std::unique_ptr<char16_t[]>(new char16_t[kBlockChars]));
        m_blockUsed = 0;
    }
    const std::size_t block = m_blocks.size() - 1;
    cell = {static_cast<std::uint32_t>(block << 16 | m_blockUsed),
            static_cast<std::uint32_t>(length)};
    char16_t* at = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += length;
    return at;
}

template <typename Char>
void BookTable::Store(Cell& cell, int column, const Char* text, std::size_t length) {
    cell = {};
    length = std::min<std::size_t>(length, INT32_MAX);
    if (length == 0)
        return;
    Cell& last = m_lastSet[static_cast<std::size_t>(column)];
    // Neighbouring rows mostly differ at the end of a text, if at all.
    const char16_t* lastChars = last.length == length ? Chars(last) : nullptr;
    if (lastChars && lastChars[length - 1] == text[length - 1] &&
        std::equal(text, text + length, lastChars)) {
        cell = last;
        return;
    }
    char16_t* out = Place(cell, length);
    if (!out)
        return;
    std::copy_n(text, length, out);
    last = cell;
}

void BookTable::SetText(int row, int column, QStringView text) {
    if (Cell* cell = At(row, column))
        Store(*cell, column, text.utf16(), static_cast<std::size_t>(text.size()));
}

void BookTable::SetLatin1(int row, int column, QLatin1StringView text) {
    if (Cell* cell = At(row, column))
        Store(*cell, column, reinterpret_cast<const unsigned char*>(text.data()),
              static_cast<std::size_t>(text.size()));
}

void BookTable::DeleteAllRows() {
    m_chunks.clear();
    m_blocks.clear();
    m_blockUsed = kBlockChars;
    m_large.clear();
    std::fill(m_lastSet.begin(), m_lastSet.end(), Cell{});
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
