#pragma once

#include "book/BlockMemory.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvaro {

// The text cells of a table: rows numbered from 0, a fixed number of columns. Cell text lives in
// large blocks that are filled one after the other and never moved, so a book of a hundred
// thousand phrases loads without an allocation or a copy per cell; a cell set again leaves its
// old text unused until the rows are deleted. Texts of up to 2^31 - 1 characters are kept.
// Rows and blocks come from a BlockMemory, which a store may share with others (stores filled
// one after the other on one thread, whose rows a table then takes over): the memory lives as
// long as any store using it. Not thread-safe; a store filled on one thread may be handed to
// another.
class CellStore {
    struct Cell; // a cell's place in the text blocks: below

public:
    // A small store, one for a few hundred rows, starts with smaller pieces of memory and does
    // not look for repeated texts: its writer shares them itself, with CopyCell.
    // Its rows, which it hands on by copying them, then come from malloc, and its texts from
    // `memory` when one is given.
    explicit CellStore(int columns, bool small = false, std::shared_ptr<BlockMemory> memory = {})
        : m_columns(columns), m_chunkShift(small ? 7 : 10), m_share(!small),
          m_nextBlockChars(small ? kBlockChars / 16 : kBlockChars),
          m_lastSet(m_share ? Columns() : 0), m_memory(std::move(memory)) {}
    ~CellStore() { FreeChunks(); }
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;
    // A store moved from is empty.
    CellStore(CellStore&& other) noexcept { *this = std::move(other); }
    CellStore& operator=(CellStore&& other) noexcept;

    int ColumnCount() const { return m_columns; }
    int RowCount() const { return m_rows; }

    // Inserts a row with every cell empty at `row` (appended when row is out of range) and
    // returns its number.
    int InsertRow(int row) {
        if (row >= 0 && row < m_rows)
            return InsertRowBefore(row);
        // A loader appends a row per phrase: as a rule there is room in the last chunk.
        if (m_lastRow && (m_rows & ((1 << m_chunkShift) - 1)) != 0) {
            m_lastRow += m_columns;
            std::fill_n(m_lastRow, m_columns, Cell{});
            return m_rows++;
        }
        return InsertRowBefore(m_rows);
    }
    // Empty for a row or column out of range, like a cell never filled.
    QString Text(int row, int column) const { return TextView(row, column).toString(); }
    // The same without a copy; valid until the store changes.
    QStringView TextView(int row, int column) const;
    void SetText(int row, int column, QStringView text) { SetCell(At(row, column), column, text); }
    // Sets a cell to bytes taken one character each.
    void SetLatin1(int row, int column, QLatin1StringView text) {
        SetCell(At(row, column), column, text);
    }
    // Gives row `to` the text row `from` has in the column, without comparing or copying it.
    void CopyCell(int from, int to, int column) {
        CopyCell(RowAt(from), column, RowAt(to), column);
    }

    // The cells of one row, for a writer that sets several of them, or copies cells between
    // rows, without finding the row each time. It stays valid while rows are only appended and
    // the store is not emptied; it is null for a row out of range.
    class Row {
    public:
        Row() = default;
        explicit operator bool() const { return m_cells != nullptr; }

    private:
        friend class CellStore;
        Cell* m_cells = nullptr;
    };
    Row RowAt(int row) {
        Row r;
        r.m_cells = At(row, 0);
        return r;
    }
    void SetText(Row row, int column, QStringView text) { SetCell(At(row, column), column, text); }
    void SetLatin1(Row row, int column, QLatin1StringView text) {
        SetCell(At(row, column), column, text);
    }
    // Gives one cell the text of another, without comparing or copying it.
    void CopyCell(Row from, int fromColumn, Row to, int toColumn) {
        const Cell* source = At(from, fromColumn);
        Cell* target = At(to, toColumn);
        if (source && target)
            *target = *source;
    }
    void DeleteAllRows();

    // Appends the rows of `other` (same column count) and empties it. Its text blocks are taken
    // over, not copied; `column` of every appended row is set to `fill`.
    void AppendRows(CellStore&& other, int column, QStringView fill);
    // The size of the next block of text, for a writer that knows roughly what is coming.
    void Reserve(std::size_t chars);
    // Frees the unused end of the block being filled, for a store that is complete.
    void Shrink();

private:
    // A cell's text: `length` characters at `pos`. Texts up to a block long live in the blocks
    // (block pos >> 16, offset pos & 0xffff); a longer one has a block of its own, m_large[pos].
    struct Cell { // trivial, so that a new chunk is zeroed in one go
        std::uint32_t pos;
        std::uint32_t length;
    };
    static constexpr std::size_t kBlockChars = std::size_t{1} << 16;
    static constexpr std::size_t kMaxBlocks = std::size_t{1} << 16;

    std::size_t Columns() const { return static_cast<std::size_t>(m_columns); }
    const Cell* At(int row, int column) const {
        if (row == m_rows - 1 && m_lastRow && column >= 0 && column < m_columns)
            return m_lastRow + column; // the row being written, as a rule
        if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
            return nullptr;
        const int inChunk = row & ((1 << m_chunkShift) - 1);
        return &m_chunks[static_cast<std::size_t>(row >> m_chunkShift)]
                        [static_cast<std::size_t>(inChunk * m_columns + column)];
    }
    Cell* At(int row, int column) {
        return const_cast<Cell*>(std::as_const(*this).At(row, column));
    }
    Cell* At(Row row, int column) const {
        return row.m_cells && column >= 0 && column < m_columns ? row.m_cells + column : nullptr;
    }
    void SetCell(Cell* cell, int column, QStringView text) {
        if (cell && text.isEmpty())
            *cell = Cell{};
        else if (cell)
            Store(*cell, column, text.utf16(), static_cast<std::size_t>(text.size()));
    }
    void SetCell(Cell* cell, int column, QLatin1StringView text) {
        if (!cell)
            return;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const auto length = static_cast<std::size_t>(text.size());
        if (length == 0) {
            *cell = Cell{};
            return;
        }
        // A store that shares no texts, with room in its block: what a loader meets for nearly
        // every value. That way is inline.
        if (!m_share && length <= m_blockChars - m_blockUsed) {
            WidenInto(bytes, length, TakeFromBlock(*cell, length));
            return;
        }
        Store(*cell, column, bytes, length);
    }
    const char16_t* Chars(Cell cell) const;
    // Bytes widened to UTF-16 characters; with SSE2 in blocks of eight or four, the last block
    // overlapping the one before (writing the same characters again).
    static void WidenInto(const unsigned char* in, std::size_t n, char16_t* out) {
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const auto eight = [&zero](const unsigned char* from, char16_t* to) {
            const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(x, zero));
        };
        if (n >= 8) {
            for (std::size_t i = 0; i + 8 <= n; i += 8)
                eight(in + i, out + i);
            eight(in + n - 8, out + n - 8);
            return;
        }
        if (n >= 4) {
            const auto four = [&zero](const unsigned char* from, char16_t* to) {
                std::uint32_t word;
                std::memcpy(&word, from, 4);
                const __m128i x = _mm_cvtsi32_si128(static_cast<int>(word));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(x, zero));
            };
            four(in, out);
            four(in + n - 4, out + n - 4);
            return;
        }
#endif
        for (; n > 0; --n)
            *out++ = *in++;
    }
    // Room for `length` characters; returns where they go and fills in the cell.
    char16_t* Place(Cell& cell, std::size_t length);
    // `length` characters at the end of the block being filled, which has room for them.
    char16_t* TakeFromBlock(Cell& cell, std::size_t length) {
        cell = {static_cast<std::uint32_t>((m_current - 1) << 16 | m_blockUsed),
                static_cast<std::uint32_t>(length)};
        char16_t* at = m_blocks[m_current - 1] + m_blockUsed;
        m_blockUsed += length;
        return at;
    }
    int InsertRowBefore(int row);
    bool NewBlock(std::size_t length);
    // Sets the cell to `length` characters, sharing the column's last text when it is the same.
    template <typename Char>
    void Store(Cell& cell, int column, const Char* text, std::size_t length);
    void CopyRows(const CellStore& other);
    void TakeRows(CellStore& other, int column, QStringView fill);
    static void Rebase(const Cell* from, Cell* to, std::size_t cells, std::uint32_t blockBase,
                       std::uint32_t largeBase, bool anyLarge);

    void FindLastRow();
    BlockMemory& Memory();
    Cell* NewChunk();
    void FreeChunks();
    void Keep(const std::shared_ptr<BlockMemory>& memory);

    int m_columns = 0;
    int m_rows = 0;
    Cell* m_lastRow = nullptr; // the cells of row m_rows - 1
    int m_chunkShift = 10;     // chunks of 2^m_chunkShift rows
    bool m_share = true;       // whether a text equal to the column's last one is kept once
    // Rows in chunks that never move: a growing table copies nothing.
    std::vector<Cell*> m_chunks;
    // Texts longer than a block come from malloc.
    struct Free {
        void operator()(char16_t* p) const { std::free(p); }
    };
    using Chars16 = std::unique_ptr<char16_t, Free>;
    static Chars16 Allocate(std::size_t chars);

    std::vector<char16_t*> m_blocks;
    std::size_t m_current = 0;   // the block being filled: m_blocks[m_current - 1]
    std::size_t m_blockUsed = 0; // characters taken in it
    std::size_t m_blockChars = 0;
    std::size_t m_nextBlockChars = kBlockChars; // doubles up to kBlockChars
    std::vector<Chars16> m_large;
    // The text each column was set to last: a book repeats a file name or a heading number
    // from row to row, and such a run is kept once.
    std::vector<Cell> m_lastSet;
    // Where new rows (but a small store's) and blocks come from; made when first needed.
    std::shared_ptr<BlockMemory> m_memory;
    // The memory of rows and blocks taken over from other stores.
    std::vector<std::shared_ptr<BlockMemory>> m_kept;
};

} // namespace tolvaro
