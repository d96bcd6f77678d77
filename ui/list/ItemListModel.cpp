#include "ui/list/ItemListModel.h"

#include "platform/TextBytes.h"

CItemListModel::CItemListModel(QObject* parent) : QAbstractTableModel(parent) {}

CItemListModel::~CItemListModel() = default;

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
    if (!index.isValid() || !m_list.IsValidRow(index.row()) || index.column() < 0 ||
        index.column() >= kItemColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        // A fixed count, so that the dots do not tell the password's length.
        if (index.column() == kColPassword && m_bPasswordsHidden) return QString(8, QChar(0x2022));
        return FromBytes(GetText(index.row(), index.column()));
    }
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

int CItemListModel::RowCount() const { return m_list.RowCount(); }

void CItemListModel::RemoveAllRows() {
    if (RowCount() == 0) return;
    beginRemoveRows(QModelIndex(), 0, RowCount() - 1);
    m_list.RemoveAllRows();
    endRemoveRows();
}

int CItemListModel::AppendRow(const std::string& location) {
    const int place = m_list.SortedPlace(location);
    beginInsertRows(QModelIndex(), place, place);
    m_list.AppendRow(location);
    endInsertRows();
    return place;
}

void CItemListModel::SetText(int row, int column, const std::string& text) {
    if (!m_list.IsValidRow(row) || column < 0 || column >= kItemColumnCount) return;
    m_list.SetText(row, column, text);
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

std::string CItemListModel::GetText(int row, int column) const {
    return m_list.GetText(row, column);
}

void CItemListModel::RemoveRow(int row) {
    if (!m_list.IsValidRow(row)) return;
    beginRemoveRows(QModelIndex(), row, row);
    m_list.RemoveRow(row);
    endRemoveRows();
}

bool CItemListModel::RowMatches(int row, std::string_view foldedText) const {
    return m_list.IsValidRow(row) && RowMatchesFind(m_list.RowAt(row), foldedText);
}

void CItemListModel::SetPasswordsHidden(bool hidden) {
    if (hidden == m_bPasswordsHidden) return;
    m_bPasswordsHidden = hidden;
    if (RowCount() == 0) return;
    Q_EMIT dataChanged(index(0, kColPassword), index(RowCount() - 1, kColPassword),
                       {Qt::DisplayRole});
}
