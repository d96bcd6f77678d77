#pragma once

#include <QObject>
#include <vector>

class CKeynestEvents;
class IClipboard;

/// Something that keeps a plain secret outside the vault (a deleted Item
/// held for undo, the find text, the cells the list drew last) and drops
/// it when the program locks.
class ILockWipe {
public:
    virtual ~ILockWipe() = default;
    virtual void WipeAtLock() = 0;
};

/// Everything the program wipes when it locks, besides the list itself:
/// each owner wipes its own part, then the clipboard and the PRIMARY
/// selection give up what the program put there.
class CLockWipes final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CLockWipes)

public:
    CLockWipes(CKeynestEvents& events, IClipboard& clipboard, std::vector<ILockWipe*> owners,
               QObject* parent = nullptr);

private:
    void WipeAll();

    IClipboard& m_clipboard;
    std::vector<ILockWipe*> m_owners;
};
