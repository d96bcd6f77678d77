#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
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

/// Longest Password and UnLock password in UTF-8 bytes: the cipher's key
/// size, so that a Password is exactly one sealed block.
inline constexpr int kMaxPasswordBytes = 16;
/// Longest Password and UnLock password of a hardened vault in bytes: 300
/// characters of up to four UTF-8 bytes each.
inline constexpr std::size_t kMaxHardenedPasswordBytes = 1200;

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
    /// Removes one row, wiping its texts.
    virtual void RemoveRow(int row) = 0;
};

/// Order of the list's rows by Location: letters compared without regard
/// to case (ASCII), so "amazon" and "Amazon" sit together; Locations that
/// differ only in case are then ordered by their bytes, so they stay apart.
/// Returns <0, 0 or >0.
int CompareLocations(const std::string& a, const std::string& b);

/// The list of Items kept in Location order: the storage of the list
/// view's model, and the rows in memory where no widget is involved (the
/// command-line tool, tests, benchmarks). Plain texts are wiped whenever they
/// are replaced or their row goes.
class CMemoryItemList : public IItemList {
public:
    using Row = std::array<std::string, kItemColumnCount>;

    CMemoryItemList() = default;
    ~CMemoryItemList() override;
    CMemoryItemList(const CMemoryItemList&) = delete;
    CMemoryItemList& operator=(const CMemoryItemList&) = delete;
    /// Moving hands the rows over; no text is copied.
    CMemoryItemList(CMemoryItemList&&) = default;

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    void RemoveAllRows() override;
    /// Adds a row at SortedPlace(location) and returns its row number.
    int AppendRow(const std::string& location) override;
    void SetText(int row, int column, const std::string& text) override;
    std::string GetText(int row, int column) const override;
    void RemoveRow(int row) override;

    /// Where a row with `location` goes: after every row that does not sort
    /// after it, so equal Locations keep their entry order.
    int SortedPlace(const std::string& location) const;
    const Row& RowAt(int row) const { return *m_rows[static_cast<std::size_t>(row)]; }
    bool IsValidRow(int row) const { return row >= 0 && row < RowCount(); }

private:
    // Rows are held by pointer so that inserting or removing one never
    // moves texts and leaves copies of them behind in freed memory.
    std::vector<std::unique_ptr<Row>> m_rows;
};

/// `text` with the letters A to Z made lower case; every other byte stays.
std::string FoldAsciiCase(std::string text);
/// True when the Location, URL, User ID or Hint of `row` holds `foldedText`
/// (made by FoldAsciiCase), letters compared without ASCII case. An empty
/// text is found in every row; the Note and the Password are not searched.
bool RowMatchesFind(const CMemoryItemList::Row& row, std::string_view foldedText);

/// Adds every row of `from` to `to`, each at its sorted place.
void AppendRows(const IItemList& from, IItemList& to);

/// Overwrites the bytes of `text` with zeros, then empties it.
void WipeString(std::string& text);
