#include "book/CellStore.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace tolvaro {

CellStore::Chars16 CellStore::Allocate(std::size_t chars) {
    auto* p = static_cast<char16_t*>(std::malloc(chars * sizeof(char16_t)));
    if (!p)
        throw std::bad_alloc();
    return Chars16(p);
}

CellStore& CellStore::operator=(CellStore&& other) noexcept {
    if (this == &other)
        return *this;
    FreeChunks();
    m_columns = other.m_columns;
    m_rows = std::exchange(other.m_rows, 0);
    m_lastRow = std::exchange(other.m_lastRow, nullptr);
    m_chunkShift = other.m_chunkShift;
    m_share = other.m_share;
    m_chunks = std::move(other.m_chunks);
    m_blocks = std::move(other.m_blocks);
    m_current = std::exchange(other.m_current, 0);
    m_blockUsed = std::exchange(other.m_blockUsed, 0);
    m_blockChars = std::exchange(other.m_blockChars, 0);
    m_nextBlockChars = other.m_nextBlockChars;
    m_large = std::move(other.m_large);
    m_lastSet = std::move(other.m_lastSet);
    m_memory = std::move(other.m_memory);
    m_kept = std::move(other.m_kept);
    other.m_kept.clear();
    other.m_chunks.clear();
    other.m_blocks.clear();
    other.m_large.clear();
    other.m_lastSet.assign(other.m_share ? other.Columns() : 0, Cell{});
    return *this;
}

BlockMemory& CellStore::Memory() {
    if (!m_memory)
        m_memory = std::make_shared<BlockMemory>();
    return *m_memory;
}

// A small store's rows are handed on by copying them, so they come from malloc and go back as
// soon as the store is emptied; a large store's stay with the table.
CellStore::Cell* CellStore::NewChunk() {
    const std::size_t cells = (std::size_t{1} << m_chunkShift) * Columns();
    m_chunks.reserve(m_chunks.size() + 1); // so that a chunk is never lost to a throw
    Cell* chunk =
        m_share ? static_cast<Cell*>(Memory().Take(cells * sizeof(Cell))) : new Cell[cells];
    m_chunks.push_back(chunk);
    return chunk;
}

void CellStore::Keep(const std::shared_ptr<BlockMemory>& memory) {
    if (memory && memory != m_memory &&
        std::find(m_kept.begin(), m_kept.end(), memory) == m_kept.end())
        m_kept.push_back(memory);
}

void CellStore::FreeChunks() {
    if (!m_share) {
        for (Cell* chunk : m_chunks)
            delete[] chunk;
    }
    m_chunks.clear();
}

void CellStore::FindLastRow() {
    m_lastRow = nullptr;
    if (m_rows == 0 || m_columns == 0)
        return;
    const int row = m_rows - 1;
    m_lastRow = &m_chunks[static_cast<std::size_t>(row >> m_chunkShift)]
                         [static_cast<std::size_t>((row & ((1 << m_chunkShift) - 1)) * m_columns)];
}

// The way for a row in the middle, or for the first row of a chunk.
int CellStore::InsertRowBefore(int row) {
    const int count = m_rows;
    if (row < 0 || row > count)
        row = count;
    if ((count & ((1 << m_chunkShift) - 1)) == 0) // a row's cells are cleared as it comes
        NewChunk();
    ++m_rows;
    FindLastRow();
    for (int r = count; r > row; --r) // the loaders only ever append: no row moves
        std::copy_n(At(r - 1, 0), Columns(), At(r, 0));
    std::memset(static_cast<void*>(At(row, 0)), 0, Columns() * sizeof(Cell));
    return row;
}

const char16_t* CellStore::Chars(Cell cell) const {
    if (cell.length > kBlockChars)
        return m_large[cell.pos].get();
    return m_blocks[cell.pos >> 16] + (cell.pos & 0xffff);
}

QStringView CellStore::TextView(int row, int column) const {
    const Cell* cell = At(row, column);
    if (!cell || cell->length == 0)
        return {};
    return QStringView(Chars(*cell), static_cast<qsizetype>(cell->length));
}

char16_t* CellStore::Place(Cell& cell, std::size_t length) {
    if (m_blockChars - m_blockUsed < length && !NewBlock(length)) {
        if (length <= kBlockChars) // the positions of 8 GB of text are all taken
            return nullptr;
        m_large.push_back(Allocate(length));
        cell = {static_cast<std::uint32_t>(m_large.size() - 1), static_cast<std::uint32_t>(length)};
        return m_large.back().get();
    }
    return TakeFromBlock(cell, length);
}

// A new block for a text of `length` characters; false for a text too long for one, or when
// the block positions are all taken.
bool CellStore::NewBlock(std::size_t length) {
    if (length > kBlockChars || m_blocks.size() >= kMaxBlocks)
        return false;
    m_blockChars = std::max(length, m_nextBlockChars);
    m_nextBlockChars = std::min(2 * m_nextBlockChars, kBlockChars);
    m_blocks.reserve(m_blocks.size() + 1);
    m_blocks.push_back(static_cast<char16_t*>(Memory().Take(m_blockChars * sizeof(char16_t))));
    m_current = m_blocks.size();
    m_blockUsed = 0;
    return true;
}

template <typename Char>
void CellStore::Store(Cell& cell, int column, const Char* text, std::size_t length) {
    cell = Cell{};
    length = std::min<std::size_t>(length, INT32_MAX);
    if (length == 0)
        return;
    Cell* last = m_share ? &m_lastSet[static_cast<std::size_t>(column)] : nullptr;
    // Neighbouring rows mostly differ at the end of a text, if at all.
    const char16_t* lastChars = last && last->length == length ? Chars(*last) : nullptr;
    if (lastChars && lastChars[length - 1] == text[length - 1] &&
        std::equal(text, text + length, lastChars)) {
        cell = *last;
        return;
    }
    // As a rule the block being filled has room: that way stays inline.
    char16_t* out =
        m_blockChars - m_blockUsed >= length ? TakeFromBlock(cell, length) : Place(cell, length);
    if (!out)
        return;
    if constexpr (std::is_same_v<Char, unsigned char>)
        WidenInto(text, length, out);
    else
        std::copy_n(text, length, out);
    if (last)
        *last = cell;
}

void CellStore::Reserve(std::size_t chars) {
    m_nextBlockChars = std::clamp<std::size_t>(chars, 64, kBlockChars);
}

template void CellStore::Store(Cell&, int, const char16_t*, std::size_t);
template void CellStore::Store(Cell&, int, const unsigned char*, std::size_t);

void CellStore::DeleteAllRows() {
    m_rows = 0;
    m_lastRow = nullptr;
    FreeChunks();
    m_blocks.clear();
    m_memory.reset();
    m_kept.clear();
    m_current = 0;
    m_blockUsed = m_blockChars = 0;
    m_large.clear();
    std::fill(m_lastSet.begin(), m_lastSet.end(), Cell{});
}

void CellStore::Shrink() {
    if (m_current == 0 || m_blockUsed == m_blockChars)
        return;
    if (m_memory)
        m_memory->Shorten(m_blocks[m_current - 1], m_blockChars * sizeof(char16_t),
                          m_blockUsed * sizeof(char16_t));
    m_blockChars = m_blockUsed; // full now: the next text starts a new block
}

// The slow way, for when the block positions would run out: text by text.
void CellStore::CopyRows(const CellStore& other) {
    for (int r = 0; r < other.m_rows; ++r) {
        const int row = InsertRow(m_rows);
        for (int c = 0; c < m_columns; ++c)
            SetText(row, c, other.TextView(r, c));
    }
}

void CellStore::AppendRows(CellStore&& other, int column, QStringView fill) {
    if (other.m_columns != m_columns || m_blocks.size() + other.m_blocks.size() > kMaxBlocks) {
        const int first = m_rows;
        CopyRows(other);
        for (int row = first; row < m_rows; ++row)
            SetText(row, column, fill);
    } else {
        TakeRows(other, column, fill);
    }
    other.DeleteAllRows();
}

// Each cell moved to where its block lands here: rows copied in runs that lie together in both
// stores.
void CellStore::TakeRows(CellStore& other, int column, QStringView fill) {
    const auto blockBase = static_cast<std::uint32_t>(m_blocks.size() << 16);
    const auto largeBase = static_cast<std::uint32_t>(m_large.size());
    const bool anyLarge = !other.m_large.empty();
    m_blocks.insert(m_blocks.end(), other.m_blocks.begin(), other.m_blocks.end());
    other.m_blocks.clear();
    // The other store's memory now holds texts of this one.
    for (const std::shared_ptr<BlockMemory>& m : other.m_kept)
        Keep(m);
    Keep(other.m_memory);
    std::move(other.m_large.begin(), other.m_large.end(), std::back_inserter(m_large));
    Cell filled{};
    if (column >= 0 && column < m_columns)
        Store(filled, column, fill.utf16(), static_cast<std::size_t>(fill.size()));
    const int chunkRows = 1 << m_chunkShift, otherRows = 1 << other.m_chunkShift;
    for (int r = 0; r < other.m_rows;) {
        if (m_rows % chunkRows == 0)
            NewChunk();
        const int n =
            std::min({other.m_rows - r, otherRows - r % otherRows, chunkRows - m_rows % chunkRows});
        const Cell* from = &other.m_chunks[static_cast<std::size_t>(r / otherRows)]
                                          [static_cast<std::size_t>(r % otherRows * m_columns)];
        Cell* to = &m_chunks.back()[static_cast<std::size_t>(m_rows % chunkRows * m_columns)];
        Rebase(from, to, static_cast<std::size_t>(n) * Columns(), blockBase, largeBase, anyLarge);
        if (column >= 0 && column < m_columns) {
            for (int i = 0; i < n; ++i)
                to[static_cast<std::size_t>(i * m_columns + column)] = filled;
        }
        r += n;
        m_rows += n;
    }
    FindLastRow();
}

// An empty cell's position is never read: it moves with the rest. Without long texts in the
// other store (as a rule) no cell needs to be looked at.
void CellStore::Rebase(const Cell* from, Cell* to, std::size_t cells, std::uint32_t blockBase,
                       std::uint32_t largeBase, bool anyLarge) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two cells at a time, while neither holds a text longer than a block.
    const __m128i base =
        _mm_set_epi32(0, static_cast<int>(blockBase), 0, static_cast<int>(blockBase));
    for (; i + 2 <= cells; i += 2) {
        if (anyLarge && (from[i].length > kBlockChars || from[i + 1].length > kBlockChars))
            break;
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_add_epi32(x, base));
    }
#endif
    for (; i < cells; ++i)
        to[i] = {from[i].pos + (from[i].length > kBlockChars ? largeBase : blockBase),
                 from[i].length};
}

} // namespace tolvaro
