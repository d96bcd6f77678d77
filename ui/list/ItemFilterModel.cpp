#include "ui/list/ItemFilterModel.h"

#include "platform/TextBytes.h"
#include "ui/list/ItemListModel.h"

CItemFilterModel::CItemFilterModel(CItemListModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model) {
    setSourceModel(&model);
}

void CItemFilterModel::SetFindText(const QString& text) {
    std::string folded = FoldAsciiCase(ToBytes(text));
    if (folded == m_folded) return;
    m_folded = std::move(folded);
    invalidateFilter();
}

bool CItemFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    return !sourceParent.isValid() && m_model.RowMatches(sourceRow, m_folded);
}
