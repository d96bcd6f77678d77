#pragma once

#include <QAbstractTableModel>
#include <string>
#include <string_view>

#include "vault/ItemList.h"

/// The Items of the list view: six text columns, rows kept in ascending
/// Location order as they are added. Texts are held as bytes (UTF-8) and
/// shown through FromBytes. The plain texts live only here while the
/// program is unlocked, so every text is wiped when it is replaced or its
/// row goes.
class CItemListModel final : public QAbstractTableModel, public IItemList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CItemListModel)

  public:
    explicit CItemListModel(QObject* parent = nullptr);
    ~CItemListModel() override;

    /// The title of column `column` ("Location" ... "Password"), empty when out of range.
    static QString ColumnTitle(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int RowCount() const override;
    void RemoveAllRows() override;
    /// Adds a row at the sorted place of `location` (after equal Locations)
    /// and returns its row number.
    int AppendRow(const std::string& location) override;
    /// Sets one text of `row`. The row keeps its place, also when its
    /// Location changes.
    void SetText(int row, int column, const std::string& text) override;
    std::string GetText(int row, int column) const override;

    void RemoveRow(int row) override;

    /// True when `row` holds `foldedText` as RowMatchesFind tells, read in
    /// place: no text is copied.
    bool RowMatches(int row, std::string_view foldedText) const;
    /// Shows the Password column as a row of dots, the same for every Item.
    void SetPasswordsHidden(bool hidden);
    bool PasswordsHidden() const { return m_bPasswordsHidden; }
    /// The rows themselves, read in place by the checks over every Item.
    const CMemoryItemList& Items() const { return m_list; }

  private:
    CMemoryItemList m_list;
    bool m_bPasswordsHidden = false;
};
