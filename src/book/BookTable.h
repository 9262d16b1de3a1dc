#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace tolvaro {

struct Column {
    QString header;
    int width;
};

// A table of text cells, one of the hidden book tables. Rows are numbered from 0 in insertion
// order; other tables refer to them by that number written as decimal text. Cell text lives in
// large blocks that are filled one after the other and never moved, so a book of a hundred
// thousand phrases loads without an allocation or a copy per cell; a cell set again leaves its
// old text unused until the rows are deleted. Texts of up to 2^31 - 1 characters are kept.
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
    int RowCount() const { return static_cast<int>(m_states.size()); }

    // Inserts a row with every cell empty at `row` (appended when row is past the end) and
    // returns its number.
    int InsertRow(int row);
    // Appends a row; cells past the given ones stay empty, surplus ones are ignored.
    int AppendRow(const std::vector<QString>& cells);
    // Empty for a row or column out of range, like a cell the loader never filled.
    QString Text(int row, int column) const { return TextView(row, column).toString(); }
    // The same without a copy; valid until the table changes.
    QStringView TextView(int row, int column) const;
    void SetText(int row, int column, QStringView text);
    // Sets a cell to bytes taken one character each.
    void SetLatin1(int row, int column, QLatin1StringView text);
    void DeleteAllRows();

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
    // A cell's text: `length` characters at `pos`. Texts up to a block long live in the blocks
    // (block pos >> 16, offset pos & 0xffff); a longer one has a block of its own, m_large[pos].
    struct Cell {
        std::uint32_t pos = 0;
        std::uint32_t length = 0;
    };
    static constexpr std::size_t kBlockChars = std::size_t{1} << 16;
    static constexpr int kChunkRows = 1024;

    Cell* At(int row, int column);
    const Cell* At(int row, int column) const;
    const char16_t* Chars(Cell cell) const;
    // Room for `length` characters; returns where they go and fills in the cell.
    char16_t* Place(Cell& cell, std::size_t length);
    // Sets the cell to `length` characters, sharing the column's last text when it is the same.
    template <typename Char>
    void Store(Cell& cell, int column, const Char* text, std::size_t length);
    void ChangeState(int row, int state);

    std::vector<Column> m_columns;
    // Rows in chunks of kChunkRows that never move: a growing table copies nothing.
    std::vector<std::unique_ptr<Cell[]>> m_chunks;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    std::size_t m_blockUsed = kBlockChars; // characters taken in the last block
    std::vector<std::unique_ptr<char16_t[]>> m_large;
    // The text each column was set to last: a book repeats a file name or a heading number
    // from row to row, and such a run is kept once.
    std::vector<Cell> m_lastSet;
    std::vector<int> m_states;
    int m_mark = -1;
    int m_selectedRow = -1;
    int m_focusedRow = -1;
};

} // namespace tolvaro
