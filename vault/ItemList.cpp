#include "ItemList.h"

#include <algorithm>
#include <cstring>

namespace {

unsigned char FoldAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

void WipeString(std::string& text) {
    if (!text.empty()) explicit_bzero(text.data(), text.size());
    text.clear();
}

int CompareLocations(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char left = FoldAscii(a[i]);
        const unsigned char right = FoldAscii(b[i]);
        if (left != right) return left < right ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

CMemoryItemList::~CMemoryItemList() { RemoveAllRows(); }

void CMemoryItemList::RemoveAllRows() {
    for (Row& row : m_rows) {
        for (std::string& text : row) WipeString(text);
    }
    m_rows.clear();
}

int CMemoryItemList::AppendRow(const std::string& location) {
    // After rows of equal Location, so equal Items keep their entry order.
    const auto place = std::upper_bound(m_rows.begin(), m_rows.end(), location,
                                        [](const std::string& value, const Row& row) {
                                            return CompareLocations(value, row[kColLocation]) < 0;
                                        });
    Row row;
    row[kColLocation] = location;
    const auto inserted = m_rows.insert(place, std::move(row));
    return static_cast<int>(inserted - m_rows.begin());
}

void CMemoryItemList::SetText(int row, int column, const std::string& text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kItemColumnCount) return;
    std::string& cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    WipeString(cell);
    cell = text;
}

std::string CMemoryItemList::GetText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kItemColumnCount) return {};
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void CMemoryItemList::RemoveRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    for (std::string& text : m_rows[static_cast<size_t>(row)]) WipeString(text);
    m_rows.erase(m_rows.begin() + row);
}
