#pragma once

#include <QObject>

/// The program-wide notices the features send one another, so that none of
/// them needs to know who listens: the frame shows the lock state, the
/// command states follow the list, the commands wipe what they hold at lock.
class CKeynestEvents final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CKeynestEvents)

public:
    explicit CKeynestEvents(QObject* parent = nullptr) : QObject(parent) {}

Q_SIGNALS:
    /// The program was locked (false) or unlocked (true).
    void LockStateChanged(bool unlocked);
    /// The list is being emptied by a lock: drop every plain copy held.
    void Locking();
    /// Something the enabling of the commands depends on may have changed.
    void CommandStatesChanged();
    /// A notice for the status bar's message pane, shown for `timeoutMs`
    /// (0: until another message replaces it); screen readers read it there.
    void StatusMessage(const QString& text, int timeoutMs);
    /// A command is about to act on every Item, not only on those the find
    /// text shows: the list should show them all before it asks or acts.
    void ShowEveryItem();
    /// The preferences in force were changed (loaded, set in the dialog or
    /// by a View command): whatever depends on one takes it up again.
    void PreferencesChanged();
    /// The program should end through the main window's close path.
    void CloseRequested();
};
