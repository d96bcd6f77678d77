#include "app/KeynestView.h"

#include <QMetaObject>
#include <QTimer>
#include <QVBoxLayout>

#include "extras/ExtraCommands.h"
#include "lock/AutoLockStages.h"
#include "lock/LockFlow.h"
#include "lock/LockWipes.h"
#include "lock/Watchdog.h"
#include "platform/Clipboard.h"
#include "platform/DesktopLockWatcher.h"
#include "platform/FileChooser.h"
#include "contract/KeynestEvents.h"
#include "ui/files/ExportImport.h"
#include "ui/files/FileReset.h"
#include "ui/files/ForeignFiles.h"
#include "ui/health/HealthCommand.h"
#include "ui/format/VaultFormatCommands.h"
#include "ui/list/FindBox.h"
#include "ui/list/HidePasswords.h"
#include "ui/items/ItemCommands.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"
#include "ui/password/MakePassword.h"
#include "ui/preferences/PreferencesCommand.h"
#include "ui/print/PrintCommands.h"

CKeynestView::CKeynestView(Services services, CRegistryStore& store, QWidget* parent)
    : QWidget(parent),
      m_vault(store),
      m_events(new CKeynestEvents(this)),
      m_model(new CItemListModel(this)),
      m_watchdog(std::make_unique<CWatchdog>()),
      m_context{m_vault,  *m_model,    m_listLock,  m_prefs,  store,
                services, *m_watchdog, *m_watchdog, *m_events, *this},
      m_list(new CItemListView(m_context, *m_model, this)),
      m_findBox(new CFindBox(m_context, *m_list, this)),
      m_lock(std::make_unique<CLockFlow>(m_context)),
      m_commands(std::make_unique<CItemCommands>(m_context, *m_list)),
      m_makePassword(std::make_unique<CMakePassword>(m_context)),
      m_preferences(std::make_unique<CPreferencesCommand>(
          m_context, [this] { m_lock->OnChangePassword(); })),
      m_fileChooser(std::make_unique<CQtFileChooser>(this)),
      m_exportImport(std::make_unique<CExportImport>(m_context, *m_fileChooser)),
      m_foreignFiles(std::make_unique<CForeignFiles>(m_context, *m_fileChooser)),
      m_print(std::make_unique<CPrintCommands>(m_context)),
      m_extras(std::make_unique<CExtraCommands>(m_context)),
      m_hidePasswords(std::make_unique<CHidePasswords>(m_context, *m_model)),
      m_reset(std::make_unique<CFileReset>(m_context)),
      m_health(std::make_unique<CHealthCommand>(m_context, *m_model, *m_commands)),
      m_vaultFormat(std::make_unique<CVaultFormatCommands>(m_context)) {
    setObjectName(QStringLiteral("keynestView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_findBox);
    layout->addWidget(m_list);
    setFocusProxy(m_list);

    m_stages = new CAutoLockStages(
        window(), [this] { return m_prefs.saveCancel; }, [this] { m_lock->LockStep(); }, this);
    m_lockWipes = new CLockWipes(m_context.events, m_context.services.clipboard,
                                 {m_commands.get(), m_findBox, m_list, m_health.get()}, this);
    m_desktopLock = new CDesktopLockWatcher(this);
    ConnectFeatures();
}

void CKeynestView::ConnectFeatures() {
    connect(m_list, &CItemListView::EditRequested, this, [this] { m_commands->EditSelectedItem(); });
    connect(m_events, &CKeynestEvents::LockStateChanged, m_list, [this](bool unlocked) {
        if (unlocked) m_list->SelectCurrentRow();
    });
    connect(m_findBox, &CFindBox::FindStatusChanged, this, &CKeynestView::FindStatusChanged);
    m_context.services.clipboard.SetClearDelay(
        [this] { return std::chrono::milliseconds(std::chrono::seconds(m_prefs.clipSeconds)); });
    // A desktop message can only ever start a lock, and only when the user wants it.
    connect(m_desktopLock, &CDesktopLockWatcher::LockRequested, this, [this] {
        if (m_prefs.lockOnDesktop != 0 && m_vault.IsUnlocked()) m_stages->LockNow();
    });

    // A load of thousands of rows tells the frame once, after the load,
    // instead of once per row.
    const auto changed = [this] {
        if (m_bStatesPending) return;
        m_bStatesPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bStatesPending = false;
                Q_EMIT m_events->CommandStatesChanged();
            },
            Qt::QueuedConnection);
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_model, &QAbstractItemModel::modelReset, this, changed);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
}

CKeynestView::~CKeynestView() {
    // The frame is going too: tell it nothing more while the rows are wiped.
    blockSignals(true);
    m_events->blockSignals(true);
    m_context.services.clipboard.SetClearDelay({});
    m_watchdog->Stop();
    std::lock_guard lock(m_listLock);
    m_model->RemoveAllRows();
}

CommandFeatures CKeynestView::Features() {
    return {m_vault,         *m_list,     *m_findBox,       *m_commands,
            *m_lock,         *m_stages,   *m_exportImport,  *m_foreignFiles, *m_print,
            *m_extras,       *m_makePassword, *m_preferences, *m_hidePasswords,
            *m_reset,        *m_health,   *m_vaultFormat,  m_context.services.help};
}

QLineEdit& CKeynestView::FindBox() { return *m_findBox; }

void CKeynestView::OnInitialUpdate() {
    m_watchdog->Start(m_stages, m_context.services.shell);
    m_list->SetColumnWidths(LoadColumnWidths(m_context.store, m_list->viewport()->width()));
    Q_EMIT m_events->LockStateChanged(false);
    m_prefs = LoadPreferences(m_context.store);
    Q_EMIT m_events->PreferencesChanged();
    // Locked: no inactivity wait runs until the first unlock.
    m_watchdog->SetDogTimeout(kInfinite);
    QTimer::singleShot(100, this, [this] {
        m_lock->StartLockFlow();
        Q_EMIT m_events->CommandStatesChanged();
    });
}

void CKeynestView::OnClose() {
    if (!m_reset->Erased()) SaveColumnWidths(m_context.store, m_list->ColumnWidths());
    // A password Keynest copied goes with it, also when erasing at exit is off: a
    // clipboard manager would otherwise keep it after the exit.
    if (m_prefs.emptyClipboard == 1) {
        m_context.services.clipboard.Clear();
    } else {
        m_context.services.clipboard.ClearOwnText();
    }
    m_watchdog->Stop(std::chrono::milliseconds(5000));
    // After a Reset nothing may remain, not even what the closing window wrote.
    if (m_reset->Erased()) (void)m_vault.EraseEverything();
}
