#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QEvent;

/// Carries out the inactivity lock in three posted stages: dismiss the
/// program's message boxes, close or save its dialogs, then lock. Each stage
/// posts the next one instead of calling it, so a box or dialog ended in one
/// stage returns to its caller, which finishes its work, before the next
/// stage runs. Stages run inside whatever event loop is open at the time.
/// A first stage that comes while a lock is under way is dropped, so that
/// two requests at once (the watchdog, Lock now, the desktop) lock once.
class CAutoLockStages final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAutoLockStages)

public:
    /// The window of `mainFrame` (the main frame or any widget in it) is never
    /// closed; `saveCancel` reads the preference that saves an open Item dialog when stage 2
    /// runs; `lockStep` is the lock itself.
    CAutoLockStages(QWidget* mainFrame, std::function<int()> saveCancel, std::function<void()> lockStep,
                    QObject* parent = nullptr);

    /// Starts the stages at once, as the inactivity wait does when it ends.
    void LockNow();

protected:
    void customEvent(QEvent* event) override;

private:
    void CloseBoxesStage();
    void CloseDialogsStage();
    const QWidget* MainFrame() const;

    QPointer<QWidget> m_mainFrame;
    std::function<int()> m_saveCancel;
    std::function<void()> m_lockStep;
    bool m_bRunning = false;  // from the first stage until the lock step
};
