#include "ui/list/ItemListView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QMouseEvent>
#include <QPalette>

#include "contract/AppMessages.h"
#include "platform/Clipboard.h"
#include "ui/list/CopyNotice.h"
#include "ui/list/ItemFilterModel.h"
#include "ui/list/ItemListModel.h"
#include "settings/Preferences.h"
#include "platform/NewUserHint.h"
#include "platform/Prompter.h"
#include "platform/TextBytes.h"
#include "contract/Activity.h"
#include "contract/UrlLauncher.h"
#include "vault/Vault.h"

namespace {

QString SelectHintText() {
    return QStringLiteral(
        "Please select an Item. \n\nIts Password can then be \ncopied to the Clipboard.");
}

QString ListCopyHintText() {
    return QStringLiteral(
        "New User Hint...\n\nEvery time an item in the list is clicked, \nits password is copied "
        "to the "
        "Clipboard.\n\nHit F1 for Help at anytime.");
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    for (size_t i = 0; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        const auto byte = static_cast<unsigned char>(text[i]);
        const char upper =
            (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - ('a' - 'A')) : text[i];
        if (upper != prefix[i]) return false;
    }
    return true;
}

// Only web and file-transfer addresses are handed to the browser.
bool IsLaunchableUrl(const std::string& url) {
    return StartsWithNoCase(url, "HTTP") || StartsWithNoCase(url, "FTP");
}

}  // namespace

CItemListView::CItemListView(KeynestContext& context, CItemListModel& model, QWidget* parent)
    : QTreeView(parent),
      m_context(context),
      m_model(&model),
      m_filter(new CItemFilterModel(model, this)) {
    setObjectName(QStringLiteral("itemList"));
    setAccessibleName(QStringLiteral("Items"));
    setAccessibleDescription(
        QStringLiteral("A click or Ctrl+C copies the selected Item's Password; F2 edits the Item"));
    setModel(m_filter);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The rows keep the model's Location order; header clicks do not sort.
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The selection looks the same whether or not the list has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    connect(this, &QAbstractItemView::clicked, this, &CItemListView::OnClicked);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(m_filter, signal, this, &CItemListView::ShownRowsChanged);
    }
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CItemListView::ShownRowsChanged);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &CItemListView::ShownRowsChanged);
}

CItemListView::~CItemListView() = default;

void CItemListView::SetColumnWidths(const std::array<int, 6>& widths) {
    for (size_t column = 0; column < widths.size(); ++column) {
        setColumnWidth(static_cast<int>(column), widths[column]);
    }
}

std::array<int, 6> CItemListView::ColumnWidths() const {
    std::array<int, 6> widths{};
    for (size_t column = 0; column < widths.size(); ++column) {
        widths[column] = columnWidth(static_cast<int>(column));
    }
    return widths;
}

int CItemListView::FirstSelectedRow() const {
    int first = -1;
    const QItemSelectionModel* selection = selectionModel();
    if (selection == nullptr) return first;
    for (const QItemSelectionRange& range : selection->selection()) {
        if (!range.isValid()) continue;
        // The filter keeps the model's order, so the top shown row is the
        // top model row.
        const int row = m_filter->mapToSource(m_filter->index(range.top(), 0)).row();
        if (row >= 0 && (first < 0 || row < first)) first = row;
    }
    return first;
}

QModelIndex CItemListView::ShownIndex(int row) const {
    return m_filter->mapFromSource(m_model->index(row, 0));
}

void CItemListView::SelectRow(int row) {
    const QModelIndex shown = ShownIndex(row);
    if (!shown.isValid()) return;
    selectionModel()->setCurrentIndex(
        shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CItemListView::SelectCurrentRow() {
    if (selectionModel()->hasSelection()) return;
    QModelIndex current = currentIndex();
    if (!current.isValid()) current = m_filter->index(0, 0);
    if (!current.isValid()) return;
    selectionModel()->setCurrentIndex(
        current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CItemListView::SetFindText(const QString& text) {
    m_filter->SetFindText(text);
    // Also when no row came or went: the count is now shown, or no longer.
    Q_EMIT ShownRowsChanged();
}

bool CItemListView::IsFiltering() const { return m_filter->IsFiltering(); }

int CItemListView::ShownRowCount() const { return m_filter->rowCount(); }

bool CItemListView::IsValidRow(int row) const { return row >= 0 && row < m_model->RowCount(); }

void CItemListView::WipeAtLock() {
    // A fresh delegate; the old one takes its cached cell data with it.
    QAbstractItemDelegate* drawn = itemDelegate();
    setItemDelegate(new QStyledItemDelegate(this));
    delete drawn;
    // Qt's styles keep a copy of the last cell they laid out, text
    // included; laying out an empty cell replaces it.
    QStyleOptionViewItem blank;
    blank.initFrom(this);
    blank.widget = this;
    blank.features = QStyleOptionViewItem::HasDisplay;
    style()->subElementRect(QStyle::SE_ItemViewItemText, &blank, this);
}

void CItemListView::SignalActivity() { m_context.activity.SignalActivity(); }

void CItemListView::ScrollToRow(int row) {
    const QModelIndex shown = ShownIndex(row);
    if (shown.isValid()) scrollTo(shown, QAbstractItemView::EnsureVisible);
}

void CItemListView::CopySelectedPassword() {
    const int row = FirstSelectedRow();
    if (row < 0) {
        if (!m_bSelectHintShown) {
            m_bSelectHintShown = true;
            m_context.services.prompter.Show(SelectHintText(), PromptButtons::Ok,
                                             PromptIcon::Information);
        }
        return;
    }
    if (!IsValidRow(row)) return;
    std::string password = m_model->GetText(row, kColPassword);
    CopyToClipboard(password);
    WipeString(password);
    std::string location = m_model->GetText(row, kColLocation);
    ReportCopied(m_context, QStringLiteral("Password of \"%1\"").arg(FromBytes(location)));
    WipeString(location);
}

void CItemListView::CopyToClipboard(const std::string& text) {
    m_context.services.clipboard.SetText(text);
}

void CItemListView::OnCopyPassword() {
    SignalActivity();
    ShowNewUserHint(m_context.store, m_context.services.prompter, NewUserHints::kListCopy,
                    ListCopyHintText());
    CopySelectedPassword();
}

void CItemListView::OnClicked(const QModelIndex& index) {
    if (m_bClickAfterDoubleClick || !index.isValid()) return;
    if (index.column() >= 1) {
        // Every click on a row is a sign of activity, whichever column it hit.
        SignalActivity();
        CopySelectedPassword();
        return;
    }
    // A click on the Location is acted on after the click has run its
    // course, so that a double-click that follows can be told apart.
    QCoreApplication::postEvent(this, new QEvent(kWmDeferredClick));
}

bool CItemListView::event(QEvent* event) {
    if (event->type() == kWmDeferredClick) {
        OnDeferredClick();
        return true;
    }
    return QTreeView::event(event);
}

void CItemListView::OnDeferredClick() {
    if (m_bDoubleClick) return;
    SignalActivity();
    CopySelectedPassword();
    if (m_context.prefs.launch == 0) return;
    const int row = FirstSelectedRow();
    if (!IsValidRow(row)) return;
    const std::string url = m_model->GetText(row, kColUrl);
    if (IsLaunchableUrl(url)) m_context.launcher.RequestLaunch(url);
}

void CItemListView::keyPressEvent(QKeyEvent* event) {
    // The copy key copies a password, never the text of the current cell
    // as the item view would by itself.
    if (event->matches(QKeySequence::Copy)) {
        if (IsValidRow(FirstSelectedRow())) OnCopyPassword();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CItemListView::mousePressEvent(QMouseEvent* event) {
    m_bClickAfterDoubleClick = false;
    QTreeView::mousePressEvent(event);
}

void CItemListView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_bDoubleClick = true;
    Q_EMIT EditRequested();
    QTreeView::mouseDoubleClickEvent(event);
    m_bDoubleClick = false;
    m_bClickAfterDoubleClick = true;
}

QPoint CItemListView::ContextMenuPoint(const QPoint& clickPos) const {
    if (!m_context.vault.IsUnlocked()) return clickPos;
    const int row = FirstSelectedRow();
    if (!IsValidRow(row)) return {0, 0};
    // Just below the pointer, so that the menu does not hide the row clicked.
    const QRect rowRect = visualRect(ShownIndex(row));
    if (rowRect.isValid()) return clickPos + QPoint(0, rowRect.height());
    return {0, 0};
}

void CItemListView::ShowContextMenu(const QPoint& clickPos) {
    SignalActivity();
    if (m_context.vault.IsUnlocked() && !IsValidRow(FirstSelectedRow())) return;
    Q_EMIT ContextMenuRequested(viewport()->mapToGlobal(ContextMenuPoint(clickPos)));
}

void CItemListView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->pos());
    event->accept();
}
