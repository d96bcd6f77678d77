#include "app/KeynestView.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QKeyEvent>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "extras/ExtraCommands.h"
#include "lock/AppMessages.h"
#include "lock/AutoLockStages.h"
#include "lock/LockFlow.h"
#include "lock/Watchdog.h"
#include "platform/PasswordBox.h"
#include "platform/Clipboard.h"
#include "platform/FileChooser.h"
#include "platform/DesktopLockWatcher.h"
#include "platform/KeynestEvents.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "settings/RegistryStore.h"
#include "ui/ExportImport.h"
#include "ui/ItemCommands.h"
#include "ui/ItemListModel.h"
#include "ui/ItemListView.h"
#include "ui/MakePassword.h"
#include "ui/PreferencesCommand.h"
#include "ui/PrintCommands.h"

CKeynestView::CKeynestView(Services services, CRegistryStore& store, QWidget* parent)
    : QWidget(parent),
      m_vault(store),
      m_events(new CKeynestEvents(this)),
      m_model(new CItemListModel(this)),
      m_watchdog(std::make_unique<CWatchdog>()),
      m_context{m_vault,    *m_model, m_listLock, m_prefs, store,
                services,   *m_watchdog, *m_events, *this},
      m_list(new CItemListView(m_context, *m_model, this)),
      m_lock(std::make_unique<CLockFlow>(m_context)),
      m_commands(std::make_unique<CItemCommands>(m_context, *m_list)),
      m_makePassword(std::make_unique<CMakePassword>(m_context)),
      m_preferences(std::make_unique<CPreferencesCommand>(
          m_context, [this] { m_lock->OnChangePassword(); })),
      m_fileChooser(std::make_unique<CQtFileChooser>(this)),
      m_exportImport(std::make_unique<CExportImport>(m_context, *m_fileChooser)),
      m_print(std::make_unique<CPrintCommands>(m_context)),
      m_extras(std::make_unique<CExtraCommands>(m_context)) {
    setObjectName(QStringLiteral("keynestView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_findBox = new QLineEdit(this);
    m_findBox->setObjectName(QStringLiteral("findBox"));
    m_findBox->setPlaceholderText(QStringLiteral("Find: Location, URL, User ID or Hint"));
    m_findBox->setAccessibleName(QStringLiteral("Find"));
    m_findBox->setAccessibleDescription(
        QStringLiteral("Shows only the Items whose Location, URL, User ID or Hint holds the text"));
    m_findBox->setClearButtonEnabled(true);
    // Reached by Ctrl+F or a click only: the list keeps the focus, so that
    // keys such as Ctrl+A and Del go to the Item commands and not the box.
    m_findBox->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_findBox);
    layout->addWidget(m_list);
    setFocusProxy(m_list);

    m_stages = new CAutoLockStages(
        window(), [this] { return m_prefs.saveCancel; }, [this] { m_lock->LockStep(); }, this);

    connect(m_list, &CItemListView::EditRequested, this, [this] { m_commands->EditSelectedItem(); });
    connect(m_list, &CItemListView::ContextCommand, this, &CKeynestView::ContextCommand);
    connect(m_events, &CKeynestEvents::Locking, this, [this] {
        m_commands->WipeUndoSlot();
        m_findBox->clear();
        m_context.services.clipboard.ClearOwnText();
        DropOwnSelection();
        m_list->DropDrawnTexts();
    });
    connect(m_events, &CKeynestEvents::LockStateChanged, m_findBox, &QWidget::setEnabled);
    connect(m_events, &CKeynestEvents::LockStateChanged, m_list, [this](bool unlocked) {
        if (unlocked) m_list->SelectCurrentRow();
    });
    connect(m_events, &CKeynestEvents::ShowEveryItem, m_findBox, &QLineEdit::clear);

    connect(m_findBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_watchdog->SignalActivity();
        m_list->SetFindText(text);
    });
    connect(m_findBox, &QLineEdit::returnPressed, m_list, [this] { m_list->setFocus(); });
    m_findBox->installEventFilter(this);
    connect(m_list, &CItemListView::ShownRowsChanged, this, [this] {
        Q_EMIT FindStatusChanged(m_list->IsFiltering()
                                     ? QStringLiteral("%1 of %2 Items shown")
                                           .arg(m_list->ShownRowCount())
                                           .arg(m_model->RowCount())
                                     : QString());
    });

    m_context.services.clipboard.SetClearDelay(
        [this] { return std::chrono::milliseconds(std::chrono::seconds(m_prefs.clipSeconds)); });
    // A desktop message can only ever start a lock, and only when the user wants it.
    m_desktopLock = new CDesktopLockWatcher(this);
    connect(m_desktopLock, &CDesktopLockWatcher::LockRequested, this, [this] {
        if (m_prefs.lockOnDesktop != 0) LockNow();
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

void CKeynestView::OnInitialUpdate() {
    m_watchdog->Start(m_stages, m_context.services.shell);
    m_list->SetColumnWidths(LoadColumnWidths(m_context.store, m_list->viewport()->width()));
    Q_EMIT m_events->LockStateChanged(false);
    m_prefs = LoadPreferences(m_context.store);
    m_model->SetPasswordsHidden(m_prefs.hidePwds != 0);
    // Locked: no inactivity wait runs until the first unlock.
    m_watchdog->SetDogTimeout(kInfinite);
    m_lockFlowTimer.start(100, this);
}

namespace {

// Command keys a one-line box has no use of its own for, although a text
// box may claim them (Ctrl+E moves to the end of the line on X11): while
// the find box has the focus they stay the commands' keys.
bool IsCommandKeyForFindBox(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35) return true;
    return modifiers == Qt::ControlModifier &&
           (key.key() == Qt::Key_E || key.key() == Qt::Key_I || key.key() == Qt::Key_L);
}

}  // namespace

bool CKeynestView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_findBox && event->type() == QEvent::ShortcutOverride &&
        IsCommandKeyForFindBox(*static_cast<QKeyEvent*>(event))) {
        // Not claimed by the box: the shortcut goes to its command.
        event->ignore();
        return true;
    }
    // Escape in the find box shows every Item again.
    if (watched == m_findBox && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_findBox->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CKeynestView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_lockFlowTimer.timerId()) {
        m_lockFlowTimer.stop();
        m_lock->StartLockFlow();
        Q_EMIT m_events->CommandStatesChanged();
        return;
    }
    QWidget::timerEvent(event);
}

CommandState CKeynestView::CommandStateNow() {
    CommandState state;
    state.unlocked = m_vault.IsUnlocked();
    // Read from the store: Items are set aside by a first choice of the
    // password or by a save, and come back by a password that opens them.
    state.setAsideItems = state.unlocked && m_vault.HasSetAsideItems();
    state.rowCount = m_model->RowCount();
    state.hasSelection = m_list->FirstSelectedRow() >= 0;
    state.undoAvailable = m_commands->IsUndoAvailable();
    state.passwordsHidden = m_model->PasswordsHidden();
    return state;
}

void CKeynestView::OnClose() {
    if (!m_bErased) SaveColumnWidths(m_context.store, m_list->ColumnWidths());
    // A password Keynest copied goes with it, also when "Empty" is off: a
    // clipboard manager would otherwise keep it after the exit.
    if (m_prefs.emptyClipboard == 1) {
        m_context.services.clipboard.Clear();
    } else {
        m_context.services.clipboard.ClearOwnText();
    }
    m_watchdog->Stop(std::chrono::milliseconds(5000));
    // After a Reset nothing may remain, not even what the closing window wrote.
    if (m_bErased) (void)m_vault.EraseEverything();
}

void CKeynestView::OnFileReset() {
    const int answer = m_context.services.prompter.Show(
        QStringLiteral("You are requesting that Keynest erase \neverything you have "
                       "entered.\n\nYou should only do this if you have\nforgotten your UnLock "
                       "password.\n\nThis action cannot be undone.\n\nAre you sure you want to do "
                       "this?"),
        PromptButtons::YesNo, PromptIcon::None);
    if (answer != kPromptYes) return;
    {
        std::lock_guard lock(m_listLock);
        Q_EMIT m_events->Locking();
        m_model->RemoveAllRows();
    }
    m_bErased = true;
    if (!m_vault.EraseEverything()) {
        m_context.services.prompter.Show(
            QStringLiteral("Keynest could not erase everything it stored.\n\n%1")
                .arg(QString::fromStdString(m_context.store.LastError())),
            PromptButtons::Ok, PromptIcon::Warning);
    }
    Q_EMIT m_events->CloseRequested();
}

void CKeynestView::LockNow() {
    if (!m_vault.IsUnlocked()) return;
    QCoreApplication::postEvent(m_stages, new QEvent(kWmDogCloseBoxes));
}

void CKeynestView::FocusFindBox() {
    m_findBox->setFocus(Qt::ShortcutFocusReason);
    m_findBox->selectAll();
}

void CKeynestView::TogglePasswordsHidden() {
    m_prefs.hidePwds = m_prefs.hidePwds != 0 ? 0 : 1;
    m_model->SetPasswordsHidden(m_prefs.hidePwds != 0);
    (void)SaveHidePasswords(m_context.store, m_prefs.hidePwds);
}
