#include "book/CellStore.h"

#include <algorithm>
#include <utility>

namespace tolvaro {

CellStore::Cell* CellStore::At(int row, int column) {
    return const_cast<Cell*>(std::as_const(*this).At(row, column));
}

int CellStore::InsertRow(int row) {
    if (m_rows % kChunkRows == 0)
        m_chunks.push_back(
            std::make_unique<Cell[]>(static_cast<std::size_t>(kChunkRows * m_columns)));
    const int last = m_rows++;
    if (row < 0 || row >= last) // appended, as the loaders do
        return last;
    for (int r = last; r > row; --r) { // the rows from `row` on move down by one
        for (int c = 0; c < m_columns; ++c)
            *At(r, c) = *At(r - 1, c);
    }
    for (int c = 0; c < m_columns; ++c)
        *At(row, c) = Cell{};
    return row;
}

void CellStore::DeleteRow(int row) {
    if (row < 0 || row >= m_rows)
        return;
    for (int r = row; r + 1 < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c)
            *At(r, c) = *At(r + 1, c);
    }
    if (--m_rows % kChunkRows == 0)
        m_chunks.pop_back();
}

char16_t* CellStore::Place(Cell& cell, std::size_t length) {
    if (length > kBlockChars - m_used) { // a new block; a longer text gets one of its own size
        m_blocks.push_back(
            std::make_unique_for_overwrite<char16_t[]>(std::max(length, kBlockChars)));
        m_used = 0;
    }
    cell = {static_cast<std::uint32_t>(m_blocks.size() - 1), static_cast<std::uint32_t>(m_used),
            static_cast<std::uint32_t>(length)};
    m_used = length > kBlockChars ? kBlockChars : m_used + length;
    return m_blocks.back().get() + cell.offset;
}

void CellStore::SetText(int row, int column, QStringView text) {
    if (Cell* cell = At(row, column)) {
        const auto length = static_cast<std::size_t>(text.size());
        if (length == 0)
            *cell = {};
        else
            std::copy_n(text.utf16(), length, Place(*cell, length));
    }
}

void CellStore::SetLatin1(int row, int column, QLatin1StringView text) {
    Cell* cell = At(row, column);
    if (!cell)
        return;
    if (text.isEmpty()) {
        *cell = {};
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::copy_n(bytes, text.size(), Place(*cell, static_cast<std::size_t>(text.size())));
}

void CellStore::CopyCell(int fromRow, int fromColumn, int toRow, int toColumn) {
    const Cell* from = At(fromRow, fromColumn);
    Cell* to = At(toRow, toColumn);
    if (from && to)
        *to = *from;
}

void CellStore::DeleteAllRows() {
    m_chunks.clear();
    m_blocks.clear();
    m_used = kBlockChars;
    m_rows = 0;
}

} // namespace tolvaro
