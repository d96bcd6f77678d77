#include "ItemListModel.h"

#include "TextBytes.h"

namespace {

// Zeros the whole buffer of `text`, also the bytes beyond its length that
// an earlier, longer text may have left there, then empties it.
void WipeBuffer(std::string& text) {
    text.resize(text.capacity());
    WipeString(text);
}

void WipeRow(CItemListModel::Row& row) {
    for (std::string& text : row) WipeBuffer(text);
}

}  // namespace

CItemListModel::CItemListModel(QObject* parent) : QAbstractTableModel(parent) {}

CItemListModel::~CItemListModel() {
    for (auto& row : m_rows) WipeRow(*row);
}

QString CItemListModel::ColumnTitle(int column) {
    switch (column) {
        case kColLocation:
            return QStringLiteral("Location");
        case kColUrl:
            return QStringLiteral("URL");
        case kColUserId:
            return QStringLiteral("User ID");
        case kColHint:
            return QStringLiteral("Hint");
        case kColNote:
            return QStringLiteral("Note");
        case kColPassword:
            return QStringLiteral("Password");
        default:
            return {};
    }
}

int CItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int CItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kItemColumnCount;
}

QVariant CItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !IsValidRow(index.row()) || index.column() < 0 ||
        index.column() >= kItemColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) return FromBytes(GetText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

QVariant CItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return ColumnTitle(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags CItemListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int CItemListModel::RowCount() const { return static_cast<int>(m_rows.size()); }

void CItemListModel::RemoveAllRows() {
    if (m_rows.empty()) return;
    beginRemoveRows(QModelIndex(), 0, RowCount() - 1);
    for (auto& row : m_rows) WipeRow(*row);
    m_rows.clear();
    endRemoveRows();
}

int CItemListModel::SortedPlace(const std::string& location) const {
    // A plain binary search. It stays well defined even when an edited
    // Location has left the rows out of order.
    int low = 0;
    int high = RowCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareLocations(location, (*m_rows[static_cast<size_t>(middle)])[kColLocation]) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

int CItemListModel::AppendRow(const std::string& location) {
    const int place = SortedPlace(location);
    auto row = std::make_unique<Row>();
    (*row)[kColLocation] = location;
    beginInsertRows(QModelIndex(), place, place);
    m_rows.insert(m_rows.begin() + place, std::move(row));
    endInsertRows();
    return place;
}

void CItemListModel::SetText(int row, int column, const std::string& text) {
    if (!IsValidRow(row) || column < 0 || column >= kItemColumnCount) return;
    std::string& cell = (*m_rows[static_cast<size_t>(row)])[static_cast<size_t>(column)];
    WipeBuffer(cell);
    cell = text;
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

std::string CItemListModel::GetText(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= kItemColumnCount) return {};
    return (*m_rows[static_cast<size_t>(row)])[static_cast<size_t>(column)];
}

void CItemListModel::RemoveRow(int row) {
    if (!IsValidRow(row)) return;
    beginRemoveRows(QModelIndex(), row, row);
    WipeRow(*m_rows[static_cast<size_t>(row)]);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}
