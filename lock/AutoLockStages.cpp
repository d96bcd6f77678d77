#include "lock/AutoLockStages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

#include "contract/AppMessages.h"
#include "lock/LockPasses.h"
#include "platform/WaitCursor.h"

CAutoLockStages::CAutoLockStages(QWidget* mainFrame, std::function<int()> saveCancel,
                                 std::function<void()> lockStep, QObject* parent)
    : QObject(parent),
      m_mainFrame(mainFrame),
      m_saveCancel(std::move(saveCancel)),
      m_lockStep(std::move(lockStep)) {}

void CAutoLockStages::LockNow() { QCoreApplication::postEvent(this, new QEvent(kWmDogCloseBoxes)); }

void CAutoLockStages::customEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == kWmDogCloseBoxes) {
        if (m_bRunning) return;
        m_bRunning = true;
        CloseBoxesStage();
    } else if (type == kWmDogCloseDialogs) {
        CloseDialogsStage();
    } else if (type == kWmDogLock) {
        // The lock step shows its own wait cursor and restores it before the
        // UnLock dialog opens; holding one here would keep the wait cursor
        // over that dialog for as long as it is open.
        // Locked from here on, so later requests find nothing to lock.
        m_bRunning = false;
        if (m_lockStep) m_lockStep();
    } else {
        QObject::customEvent(event);
    }
}

// Resolved when a stage runs, so a widget given before it was placed in the
// frame still names the frame.
const QWidget* CAutoLockStages::MainFrame() const {
    return m_mainFrame.isNull() ? nullptr : m_mainFrame->window();
}

void CAutoLockStages::CloseBoxesStage() {
    const CWaitCursor wait;
    DismissMessageBoxes(MainFrame());
    QCoreApplication::postEvent(this, new QEvent(kWmDogCloseDialogs));
}

void CAutoLockStages::CloseDialogsStage() {
    const CWaitCursor wait;
    CloseOrSaveDialogs(MainFrame(), m_saveCancel ? m_saveCancel() : 0);
    QCoreApplication::postEvent(this, new QEvent(kWmDogLock));
}
