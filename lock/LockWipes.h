#pragma once

#include <QObject>
#include <vector>

#include "contract/LockWipe.h"

class CKeynestEvents;
class IClipboard;

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
