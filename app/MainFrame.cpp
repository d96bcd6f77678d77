#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "AppTitle.h"
#include "CommandStates.h"
#include "CommandTable.h"
#include "HelpViewer.h"
#include "KeynestView.h"
#include "Preferences.h"
#include "RegistryStore.h"

namespace {

// Toolbar pictures from the desktop style, so they match the user's theme.
QIcon ToolbarIcon(int id) {
    QStyle* style = QApplication::style();
    switch (id) {
        case ID_FILE_UNLOCK: return style->standardIcon(QStyle::SP_DialogOpenButton);
        case ID_FILE_IMPORT: return style->standardIcon(QStyle::SP_ArrowDown);
        case ID_FILE_EXPORT: return style->standardIcon(QStyle::SP_ArrowUp);
        case ID_FILE_PRINT: return style->standardIcon(QStyle::SP_FileIcon);
        case ID_EDIT_ADD_ITEM: return style->standardIcon(QStyle::SP_FileDialogNewFolder);
        case ID_EDIT_DELETE_ITEM: return style->standardIcon(QStyle::SP_TrashIcon);
        case ID_EDIT_EDIT_ITEM: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
        case ID_EDIT_MAKE_PASSWORD: return style->standardIcon(QStyle::SP_BrowserReload);
        case ID_EDIT_COPY_PASSWORD: return style->standardIcon(QStyle::SP_FileDialogContentsView);
        case ID_EDIT_PREFERENCES: return style->standardIcon(QStyle::SP_FileDialogListView);
        case ID_APP_ABOUT: return style->standardIcon(QStyle::SP_MessageBoxInformation);
        default: return {};
    }
}

}  // namespace

CMainFrame::CMainFrame(CRegistryStore& store, IHelpViewer& help, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_help(help) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(AppTitle());
    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
    ApplyStoredGeometry();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetView(CKeynestView* view) {
    m_view = view;
    setCentralWidget(view);
    connect(view, &CKeynestView::CommandStatesChanged, this, &CMainFrame::UpdateCommandStates);
    UpdateCommandStates();
}

void CMainFrame::BuildActions() {
    for (const MenuEntry& entry : MenuEntries()) {
        if (entry.id == 0) continue;
        auto* action = new QAction(QString::fromUtf8(entry.text), this);
        action->setObjectName(QStringLiteral("command%1").arg(entry.id));
        action->setIcon(ToolbarIcon(entry.id));
        if (const QString tip = CommandStatusTip(entry.id); !tip.isEmpty()) action->setStatusTip(tip);
        if (const QString tip = CommandToolTip(entry.id); !tip.isEmpty()) action->setToolTip(tip);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (const Accelerator& accelerator : Accelerators()) {
        m_actions[accelerator.id]->setShortcut(QKeySequence(accelerator.keys));
    }
    // F1 opens the help from every window of the program, dialogs included.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, [this] { m_help.ShowHelp(kHelpContents); });

    m_actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_actions[ID_VIEW_TOOLBAR]->setChecked(true);
    m_actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(true);
}

void CMainFrame::BuildMenus() {
    QMenu* menu = nullptr;
    MenuName current = MenuName::Help;
    for (const MenuEntry& entry : MenuEntries()) {
        if (!menu || entry.menu != current) {
            current = entry.menu;
            menu = menuBar()->addMenu(QString::fromUtf8(MenuTitle(current)));
        }
        if (entry.id == 0) {
            menu->addSeparator();
        } else {
            menu->addAction(m_actions[entry.id]);
        }
    }
}

void CMainFrame::BuildToolbar() {
    m_toolbar = addToolBar(QStringLiteral("Standard"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setIconSize(QSize(16, 16));
    for (const int id : ToolbarCommands()) {
        if (id == 0) {
            m_toolbar->addSeparator();
        } else {
            m_toolbar->addAction(m_actions[id]);
        }
    }
}

void CMainFrame::BuildStatusBar() {
    // Pane 0 is the message pane; it falls back to "Ready" when a prompt ends.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) statusBar()->showMessage(QStringLiteral("Ready"));
    });
    statusBar()->showMessage(QStringLiteral("Ready"));
    m_lockPane = new QLabel(this);
    m_lockPane->setObjectName(QStringLiteral("lockPane"));
    m_lockPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(m_lockPane);
    SetStatusText(kLockPane, QStringLiteral(" UNLOCKED"));
}

void CMainFrame::SetStatusText(int pane, const QString& text) {
    if (pane != kLockPane) {
        statusBar()->showMessage(text);
        return;
    }
    m_lockPane->setText(text);
    // Blanks are part of the text, so measure them rather than trim them.
    const int margins = m_lockPane->contentsMargins().left() + m_lockPane->contentsMargins().right() +
                        2 * m_lockPane->frameWidth();
    m_lockPane->setFixedWidth(m_lockPane->fontMetrics().horizontalAdvance(text) + 2 + margins);
}

QString CMainFrame::StatusText(int pane) const {
    return pane == kLockPane ? m_lockPane->text() : statusBar()->currentMessage();
}

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::UpdateCommandStates() {
    const CommandState state = m_view ? m_view->CommandStateNow() : CommandState{};
    for (const auto& [id, action] : m_actions) {
        action->setEnabled(IsCommandBuilt(id) && IsCommandEnabled(id, state));
    }
}

void CMainFrame::OnCommand(int id) {
    UpdateCommandStates();
    if (!m_actions[id]->isEnabled()) return;
    switch (id) {
        case ID_APP_EXIT: close(); break;
        case ID_VIEW_TOOLBAR: m_toolbar->setVisible(m_actions[id]->isChecked()); break;
        case ID_VIEW_STATUS_BAR: statusBar()->setVisible(m_actions[id]->isChecked()); break;
        case ID_HELP_FINDER: m_help.ShowHelp(kHelpContents); break;
        case ID_APP_ABOUT:
            if (m_about) m_about();
            break;
        default:
            if (m_view) m_view->OnCommand(id);
            break;
    }
    UpdateCommandStates();
}

void CMainFrame::ApplyStoredGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const WindowGeometry g = LoadWindowGeometry(m_store, area.width(), area.height());
    // The work area's own offset is not added, as the stored values never held it.
    move(g.x, g.y);
    resize(g.cx, g.cy);
}

void CMainFrame::TrackGeometry() {
    if (windowState() & Qt::WindowMinimized) return;
    SaveWindowGeometry(m_store, {x(), y(), width(), height()});
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible()) TrackGeometry();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible()) TrackGeometry();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_view) m_view->OnClose();
    event->accept();
}
