#include "vault/ItemList.h"

#include <algorithm>
#include <cstring>

namespace {

unsigned char FoldAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// True when `folded` occurs in `text` once its letters are folded too.
bool ContainsFolded(std::string_view text, std::string_view folded) {
    if (folded.size() > text.size()) return false;
    const auto first = static_cast<unsigned char>(folded[0]);
    const size_t last = text.size() - folded.size();
    for (size_t start = 0; start <= last; ++start) {
        if (FoldAscii(text[start]) != first) continue;
        size_t i = 1;
        while (i < folded.size() &&
               FoldAscii(text[start + i]) == static_cast<unsigned char>(folded[i])) {
            ++i;
        }
        if (i == folded.size()) return true;
    }
    return false;
}

}  // namespace

std::string FoldAsciiCase(std::string text) {
    for (char& c : text) c = static_cast<char>(FoldAscii(c));
    return text;
}

bool RowMatchesFind(const CMemoryItemList::Row& row, std::string_view foldedText) {
    if (foldedText.empty()) return true;
    for (const int column : {kColLocation, kColUrl, kColUserId, kColHint}) {
        if (ContainsFolded(row[static_cast<size_t>(column)], foldedText)) return true;
    }
    return false;
}

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

namespace {

// Zeros the whole buffer of `text`, also the bytes beyond its length that
// an earlier, longer text may have left there, then empties it.
void WipeBuffer(std::string& text) {
    text.resize(text.capacity());
    WipeString(text);
}

void WipeRow(CMemoryItemList::Row& row) {
    for (std::string& text : row) WipeBuffer(text);
}

}  // namespace

CMemoryItemList::~CMemoryItemList() { RemoveAllRows(); }

void CMemoryItemList::RemoveAllRows() {
    for (auto& row : m_rows) WipeRow(*row);
    m_rows.clear();
}

int CMemoryItemList::SortedPlace(const std::string& location) const {
    // A plain binary search. It stays well defined even when an edited
    // Location has left the rows out of order.
    int low = 0;
    int high = RowCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareLocations(location, RowAt(middle)[kColLocation]) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

int CMemoryItemList::AppendRow(const std::string& location) {
    const int place = SortedPlace(location);
    auto row = std::make_unique<Row>();
    (*row)[kColLocation] = location;
    m_rows.insert(m_rows.begin() + place, std::move(row));
    return place;
}

void CMemoryItemList::SetText(int row, int column, const std::string& text) {
    if (!IsValidRow(row) || column < 0 || column >= kItemColumnCount) return;
    std::string& cell = (*m_rows[static_cast<std::size_t>(row)])[static_cast<std::size_t>(column)];
    WipeBuffer(cell);
    cell = text;
}

std::string CMemoryItemList::GetText(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= kItemColumnCount) return {};
    return RowAt(row)[static_cast<std::size_t>(column)];
}

void CMemoryItemList::RemoveRow(int row) {
    if (!IsValidRow(row)) return;
    WipeRow(*m_rows[static_cast<std::size_t>(row)]);
    m_rows.erase(m_rows.begin() + row);
}

void AppendRows(const IItemList& from, IItemList& to) {
    for (int index = 0; index < from.RowCount(); ++index) {
        // Each copy is wiped as soon as the new row has it.
        std::string text = from.GetText(index, kColLocation);
        const int row = to.AppendRow(text);
        WipeString(text);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            text = from.GetText(index, column);
            to.SetText(row, column, text);
            WipeString(text);
        }
    }
}
