#include "app/MainFrame.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/HelpKeys.h"
#include "ui/list/ItemListView.h"
#include "platform/AppTitle.h"
#include "platform/CommandIcons.h"
#include "contract/KeynestEvents.h"
#include "platform/HelpViewer.h"
#include "app/KeynestView.h"
#include "app/MenuItemNames.h"
#include "settings/Preferences.h"
#include "settings/RegistryStore.h"

namespace {

QIcon CommandIcon(const CommandRow& row) { return row.icon ? ThemeIcon(row.icon) : QIcon(); }

}  // namespace

CMainFrame::CMainFrame(CRegistryStore& store, IHelpViewer& help, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_help(help) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(AppTitle());
    setProperty(kHelpContextProperty, kHelpMainWindow);
    m_toolbar = addToolBar(QStringLiteral("Standard"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setIconSize(QSize(16, 16));
    BuildStatusBar();
    new CHelpKeys(m_help, this);
    InstallMenuItemNames();
    ApplyStoredGeometry();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetView(CKeynestView* view) {
    m_view = view;
    setCentralWidget(view);
    m_features.emplace(view->Features());
    m_rows = BuildCommandRows(*m_features, *this);
    BuildActions();
    BuildMenus();
    BuildToolbar();
    CKeynestEvents& events = view->Events();
    connect(&events, &CKeynestEvents::CommandStatesChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&events, &CKeynestEvents::LockStateChanged, this, [this](bool unlocked) {
        SetStatusText(kLockPane,
                      unlocked ? QStringLiteral(" UNLOCKED ") : QStringLiteral(" LOCKED "));
        // A notice may name an Item, which must not outlive the lock.
        if (!unlocked) statusBar()->clearMessage();
        UpdateCommandStates();
    });
    connect(&events, &CKeynestEvents::StatusMessage, statusBar(), &QStatusBar::showMessage);
    connect(&events, &CKeynestEvents::CloseRequested, this, &QWidget::close, Qt::QueuedConnection);
    connect(&m_features->list, &CItemListView::ContextMenuRequested, this, &CMainFrame::ShowListMenu);
    connect(view, &CKeynestView::FindStatusChanged, this, [this](const QString& text) {
        m_findPane->setText(text);
        m_findPane->setVisible(!text.isEmpty());
    });
    UpdateCommandStates();
}

const CommandRow* CMainFrame::Row(int id) const {
    for (const CommandRow& row : m_rows) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

void CMainFrame::BuildActions() {
    for (const CommandRow& row : m_rows) {
        auto* action = new QAction(QString::fromUtf8(row.text), this);
        action->setObjectName(QStringLiteral("command%1").arg(row.id));
        action->setIcon(CommandIcon(row));
        // The toolbar button's text, which a screen reader reads as its name.
        action->setIconText(CommandName(action->text()).remove(QStringLiteral("...")));
        action->setStatusTip(StatusTipOf(row));
        action->setToolTip(ToolTipOf(row));
        if (row.key != QKeyCombination()) action->setShortcut(QKeySequence(row.key));
        action->setCheckable(row.checkable);
        action->setChecked(row.checkable);
        const int id = row.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    // The checks follow the bars, however they were shown or hidden.
    connect(m_toolbar, &QToolBar::visibilityChanged, this,
            [this](bool visible) { m_actions[ID_VIEW_TOOLBAR]->setChecked(visible); });
}

namespace {

// Rows sorted by a place, with the places of a menu or the toolbar; a
// separator goes between rows whose places differ in the tens.
template <class Add, class Separate>
void AddInPlaceOrder(std::vector<const CommandRow*> rows, int CommandRow::*place, Add add,
                     Separate separate) {
    std::stable_sort(rows.begin(), rows.end(),
                     [place](const CommandRow* a, const CommandRow* b) { return a->*place < b->*place; });
    int group = -1;
    for (const CommandRow* row : rows) {
        if (group >= 0 && row->*place / 10 != group) separate();
        group = row->*place / 10;
        add(*row);
    }
}

}  // namespace

void CMainFrame::BuildMenus() {
    for (const MenuName menuName : {MenuName::File, MenuName::Edit, MenuName::View, MenuName::Help}) {
        std::vector<const CommandRow*> rows;
        for (const CommandRow& row : m_rows) {
            if (row.menu == menuName) rows.push_back(&row);
        }
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(MenuTitle(menuName)));
        // Some states (set-aside Items) change without a notice to the frame.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        AddInPlaceOrder(
            rows, &CommandRow::menuPlace,
            [this, menu](const CommandRow& row) { menu->addAction(m_actions[row.id]); },
            [menu] { menu->addSeparator(); });
    }
}

void CMainFrame::BuildToolbar() {
    std::vector<const CommandRow*> rows;
    for (const CommandRow& row : m_rows) {
        if (row.toolbarPlace != 0) rows.push_back(&row);
    }
    AddInPlaceOrder(
        rows, &CommandRow::toolbarPlace,
        [this](const CommandRow& row) { m_toolbar->addAction(m_actions[row.id]); },
        [this] { m_toolbar->addSeparator(); });
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
    // While a find text hides Items: how many are shown.
    m_findPane = new QLabel(this);
    m_findPane->setObjectName(QStringLiteral("findPane"));
    m_findPane->hide();
    statusBar()->addPermanentWidget(m_findPane);
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

void CMainFrame::ShowListMenu(const QPoint& globalPos) {
    UpdateCommandStates();
    std::vector<const CommandRow*> rows;
    for (const CommandRow& row : m_rows) {
        if (row.listMenuPlace != 0) rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const CommandRow* a, const CommandRow* b) {
        return a->listMenuPlace < b->listMenuPlace;
    });
    QMenu menu(QStringLiteral("Dummy"), this);
    for (const CommandRow* row : rows) {
        QAction* action = menu.addAction(QString::fromUtf8(row->listMenuText));
        action->setData(row->id);
        action->setEnabled(m_actions[row->id]->isEnabled());
    }
    const QAction* chosen = menu.exec(globalPos);
    if (chosen != nullptr) OnCommand(chosen->data().toInt());
}

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::UpdateCommandStates() {
    if (!m_features) return;
    for (const CommandRow& row : m_rows) {
        m_actions[row.id]->setEnabled(row.enabled == nullptr || row.enabled(*m_features));
        if (row.checked != nullptr) m_actions[row.id]->setChecked(row.checked(*m_features));
    }
}

void CMainFrame::OnCommand(int id) {
    UpdateCommandStates();
    const CommandRow* row = Row(id);
    if (row == nullptr || !m_actions[id]->isEnabled()) return;
    row->run();
    UpdateCommandStates();
}

void CMainFrame::ToggleToolbar() { m_toolbar->setVisible(!m_toolbar->isVisible()); }

void CMainFrame::ToggleStatusBar() {
    statusBar()->setVisible(!statusBar()->isVisible());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(statusBar()->isVisible());
}

void CMainFrame::ApplyStoredGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const WindowGeometry g = LoadWindowGeometry(m_store, area.width(), area.height());
    // The work area's own offset is not added, as the stored values never held it.
    move(g.x, g.y);
    resize(g.cx, g.cy);
}

void CMainFrame::ShowAsStored() {
    if (LoadWindowMaximized(m_store)) {
        showMaximized();
        return;
    }
    show();
    FitIntoWorkArea();
    // Window managers add the borders a moment after the window shows.
    QTimer::singleShot(100, this, &CMainFrame::FitIntoWorkArea);
}

void CMainFrame::FitIntoWorkArea() {
    if (windowState() != Qt::WindowNoState || !screen()) return;
    const QRect area = screen()->availableGeometry();
    const QRect outer = frameGeometry();
    const int borderWidth = outer.width() - width();
    const int borderHeight = outer.height() - height();
    const QSize inner(std::min(width(), area.width() - borderWidth),
                      std::min(height(), area.height() - borderHeight));
    if (inner != size()) resize(inner);
    const int x = std::clamp(outer.x(), area.left(), area.right() + 1 - inner.width() - borderWidth);
    const int y = std::clamp(outer.y(), area.top(), area.bottom() + 1 - inner.height() - borderHeight);
    if (QPoint(x, y) != outer.topLeft()) move(x, y);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || (windowState() & Qt::WindowMinimized)) return;
    // Only the state is stored for a maximised window: its normal place stays.
    SaveWindowMaximized(m_store, (windowState() & Qt::WindowMaximized) != 0);
}

void CMainFrame::TrackGeometry() {
    if (windowState() != Qt::WindowNoState) return;
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
    // Windows of the main window's (the help) end with it: left open, they
    // would keep the program running with its worker threads stopped.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) child->close();
    }
}
