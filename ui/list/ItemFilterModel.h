#pragma once

#include <QSortFilterProxyModel>
#include <string>

class CItemListModel;

/// The rows of the list that hold the find text, in the model's own order.
/// Only a view: the Items, their order and their row numbers stay the
/// model's, and nothing here copies a text.
class CItemFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CItemFilterModel)

public:
    /// Shows `model`, which must outlive the filter.
    explicit CItemFilterModel(CItemListModel& model, QObject* parent = nullptr);

    /// Shows only the rows whose Location, URL, User ID or Hint holds
    /// `text`, ignoring ASCII case; an empty text shows every row.
    void SetFindText(const QString& text);
    bool IsFiltering() const { return !m_folded.empty(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const CItemListModel& m_model;
    std::string m_folded;  // the find text as UTF-8, letters folded
};
