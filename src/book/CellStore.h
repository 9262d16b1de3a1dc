#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace tolvaro {

// The text cells of a table: rows numbered from 0, a fixed number of columns. Texts are written
// one after the other into blocks that never move, and a cell holds where its text is: a book of
// a hundred thousand phrases loads without an allocation per cell and without copying what it
// has stored as it grows. A cell set again leaves its old text unused until the rows are
// deleted; a copied cell shares the text. Cells out of range read as empty, and writing to them
// does nothing.
class CellStore {
public:
    explicit CellStore(int columns) : m_columns(columns) {}

    int ColumnCount() const { return m_columns; }
    int RowCount() const { return m_rows; }

    // Inserts a row with every cell empty at `row` (appended when row is out of range) and
    // returns its number.
    int InsertRow(int row);
    // Removes a row; the rows after it move up by one.
    void DeleteRow(int row);
    QString Text(int row, int column) const { return TextView(row, column).toString(); }
    // The same without a copy; valid until the rows are deleted. Inline: a search reads a cell
    // of every row.
    QStringView TextView(int row, int column) const {
        const Cell* cell = At(row, column);
        if (!cell || cell->length == 0)
            return {};
        return QStringView(m_blocks[cell->block].get() + cell->offset,
                           static_cast<qsizetype>(cell->length));
    }
    void SetText(int row, int column, QStringView text);
    // Sets a cell to bytes taken one character each.
    void SetLatin1(int row, int column, QLatin1StringView text);
    // Gives one cell the text of another, without copying it.
    void CopyCell(int fromRow, int fromColumn, int toRow, int toColumn);
    void DeleteAllRows();

private:
    struct Cell {
        std::uint32_t block = 0, offset = 0, length = 0;
    };
    const Cell* At(int row, int column) const {
        if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
            return nullptr;
        return &m_chunks[static_cast<std::size_t>(row / kChunkRows)]
                        [static_cast<std::size_t>(row % kChunkRows * m_columns + column)];
    }
    Cell* At(int row, int column);
    // Room for `length` characters, recorded in the cell.
    char16_t* Place(Cell& cell, std::size_t length);

    static constexpr std::size_t kBlockChars = 16384;
    static constexpr int kChunkRows = 1024;
    int m_columns;
    int m_rows = 0;
    std::vector<std::unique_ptr<Cell[]>> m_chunks; // rows in chunks that never move
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    std::size_t m_used = kBlockChars; // characters taken in the last block
};

} // namespace tolvaro
