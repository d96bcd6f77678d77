#include "KeynestView.h"

#include <QApplication>
#include <QHeaderView>
#include <QMetaObject>
#include <QTimerEvent>

#include "AutoLockStages.h"
#include "Clipboard.h"
#include "ItemCommands.h"
#include "ItemListModel.h"
#include "ItemStore.h"
#include "MainFrame.h"
#include "PasswordSealer.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "ShellOpener.h"
#include "WaitCursor.h"
#include "Watchdog.h"

namespace {

// Every section File > Reset erases, in order.
constexpr const char* kResetSections[] = {"FileSel", "List", "Newbie", "Keynest",
                                          "Prefs",   "Screen", "Test", "Text"};


}  // namespace

CKeynestView::CKeynestView(Services services, CRegistryStore& store, QWidget* parent)
    : CItemListView(services, store, parent),
      m_sealer(std::make_unique<CPasswordSealer>()),
      m_itemStore(std::make_unique<CItemStore>(store, *m_sealer)),
      m_lock(std::make_unique<CLockFlow>(*this, services, store, *m_sealer, *m_itemStore)),
      m_commands(std::make_unique<CItemCommands>(*this, services, store, m_prefs)),
      m_watchdog(std::make_unique<CWatchdog>()) {
    setObjectName(QStringLiteral("keynestView"));
    m_stages = new CAutoLockStages(
        window(), [this] { return m_prefs.saveCancel; }, [this] { m_lock->LockStep(); }, this);

    // A load of thousands of rows tells the frame once, after the load,
    // instead of once per row.
    const auto changed = [this] {
        if (m_bStatesPending) return;
        m_bStatesPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bStatesPending = false;
                Q_EMIT CommandStatesChanged();
            },
            Qt::QueuedConnection);
    };
    connect(&Model(), &QAbstractItemModel::rowsInserted, this, changed);
    connect(&Model(), &QAbstractItemModel::rowsRemoved, this, changed);
    connect(&Model(), &QAbstractItemModel::modelReset, this, changed);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
}

CKeynestView::~CKeynestView() {
    // The frame is going too: tell it nothing more while the rows are wiped.
    blockSignals(true);
    m_watchdog->Stop();
    RemoveAllRows();
}

void CKeynestView::OnInitialUpdate() {
    m_watchdog->Start(m_stages, *m_services.shell);
    SetColumnWidths(LoadColumnWidths(m_store, viewport()->width()));
    SetLockStatus(QStringLiteral(" LOCKED "));
    m_prefs = LoadPreferences(m_store);
    m_dwDogTime = m_prefs.DogTimeMs();
    // Locked: no inactivity wait runs until the first unlock.
    m_watchdog->SetDogTimeout(kInfinite);
    m_lockFlowTimer.start(100, this);
}

void CKeynestView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_lockFlowTimer.timerId()) {
        m_lockFlowTimer.stop();
        m_lock->StartLockFlow();
        Q_EMIT CommandStatesChanged();
        return;
    }
    CItemListView::timerEvent(event);
}

void CKeynestView::OnCommand(int id) {
    switch (id) {
        case ID_FILE_UNLOCK: m_lock->OnFileUnlock(); break;
        case ID_FILE_RESET: OnFileReset(); break;
        case ID_EDIT_ADD_ITEM: m_commands->OnAddItem(); break;
        case ID_EDIT_DELETE_ITEM: m_commands->OnDeleteItem(); break;
        case ID_EDIT_UNDO_DELETE: m_commands->OnUndoDelete(); break;
        case ID_EDIT_DELETE_ALL: m_commands->OnDeleteAllItems(); break;
        case ID_EDIT_EDIT_ITEM: m_commands->OnEditItem(); break;
        case ID_EDIT_CHANGE_PASSWORD: m_lock->OnChangePassword(); break;
        case ID_EDIT_COPY_PASSWORD: OnCopyPassword(); break;
        default: break;
    }
    Q_EMIT CommandStatesChanged();
}

CommandState CKeynestView::CommandStateNow() const {
    CommandState state;
    state.unlocked = m_lock->IsUnlocked();
    state.rowCount = Model().RowCount();
    state.hasSelection = CItemListView::FirstSelectedRow() >= 0;
    state.undoAvailable = m_commands->IsUndoAvailable();
    return state;
}

void CKeynestView::OnClose() {
    SaveColumnWidths(m_store, ColumnWidths());
    if (m_prefs.emptyClipboard == 1) m_services.clipboard->Clear();
    m_watchdog->Stop(std::chrono::milliseconds(5000));
}

void CKeynestView::OnFileReset() {
    const int answer = m_services.prompter->Show(
        QStringLiteral("You are requesting that Keynest erase \neverything you have "
                       "entered.\n\nYou should only do this if you have\nforgotten your UnLock "
                       "password.\n\nThis action cannot be undone.\n\nAre you sure you want to do "
                       "this?"),
        PromptButtons::YesNo, PromptIcon::None);
    if (answer != kPromptYes) return;
    RemoveAllRows();
    for (const char* section : kResetSections) m_store.DeleteSection(section);
    RequestClose();
}

void CKeynestView::LoadAllItems() {
    CWaitCursor wait;
    m_itemStore->LoadAllItems(Model(), m_lock->UnlockPassword());
}

bool CKeynestView::SaveAllItems() {
    CWaitCursor wait;
    std::lock_guard lock(m_listLock);
    // While locked the list is empty and no password is confirmed.
    if (!m_lock->IsUnlocked()) return true;
    return m_itemStore->SaveAllItems(Model(), m_lock->UnlockPassword());
}

bool CKeynestView::IsUnlocked() const { return m_lock->IsUnlocked(); }

void CKeynestView::SignalActivity() { m_watchdog->SignalActivity(); }

void CKeynestView::RemoveAllRows() {
    std::lock_guard lock(m_listLock);
    Model().RemoveAllRows();
}

void CKeynestView::RequestLaunch(const std::string& url) { m_watchdog->RequestLaunch(url); }

void CKeynestView::EditSelectedItem() { m_commands->EditSelectedItem(); }

IItemList& CKeynestView::Rows() { return Model(); }

void CKeynestView::RemoveRow(int row) { Model().RemoveRow(row); }

void CKeynestView::ScrollToRow(int row) {
    scrollTo(Model().index(row, 0), QAbstractItemView::EnsureVisible);
}

void CKeynestView::SetLockStatus(const QString& text) {
    if (auto* frame = qobject_cast<CMainFrame*>(window())) {
        frame->SetStatusText(CMainFrame::kLockPane, text);
    }
    Q_EMIT CommandStatesChanged();
}

void CKeynestView::SetDogTimeout(std::uint32_t ms) { m_watchdog->SetDogTimeout(ms); }

void CKeynestView::ForgetPlainItems() { m_commands->WipeUndoSlot(); }

void CKeynestView::RequestClose() {
    QMetaObject::invokeMethod(window(), &QWidget::close, Qt::QueuedConnection);
}
