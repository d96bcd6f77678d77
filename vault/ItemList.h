#pragma once

#include <array>
#include <string>
#include <vector>

/// Columns of an Item, in the order used by the list, the store and export files.
enum ItemColumn : int {
    kColLocation = 0,
    kColUrl = 1,
    kColUserId = 2,
    kColHint = 3,
    kColNote = 4,
    kColPassword = 5,
    kItemColumnCount = 6,
};

/// The rows the Item store loads into and saves from: the list view's
/// model in the program, a plain in-memory list in tests. Texts are bytes.
class IItemList {
public:
    virtual ~IItemList() = default;
    virtual int RowCount() const = 0;
    virtual void RemoveAllRows() = 0;
    /// Adds a row whose Location is `location` at its sorted place and
    /// returns its row number.
    virtual int AppendRow(const std::string& location) = 0;
    /// Sets column 1 to 5 of `row`.
    virtual void SetText(int row, int column, const std::string& text) = 0;
    virtual std::string GetText(int row, int column) const = 0;
};

/// Order of the list's rows by Location: letters compared without regard
/// to case (ASCII), so "amazon" and "Amazon" sit together; Locations that
/// differ only in case are then ordered by their bytes, so they stay apart.
/// Returns <0, 0 or >0.
int CompareLocations(const std::string& a, const std::string& b);

/// A plain list of Items kept in Location order: the rows in memory when
/// no widget is involved (tests, benchmarks) and the storage of the list
/// view's model. Plain texts are wiped when rows are removed.
class CMemoryItemList : public IItemList {
public:
    using Row = std::array<std::string, kItemColumnCount>;

    ~CMemoryItemList() override;
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    void RemoveAllRows() override;
    int AppendRow(const std::string& location) override;
    void SetText(int row, int column, const std::string& text) override;
    std::string GetText(int row, int column) const override;

    /// Removes one row, wiping its texts.
    void RemoveRow(int row);
    const Row& RowAt(int row) const { return m_rows[static_cast<size_t>(row)]; }

private:
    std::vector<Row> m_rows;
};

/// Overwrites the bytes of `text` with zeros, then empties it.
void WipeString(std::string& text);
