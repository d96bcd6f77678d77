#include "lock/LockWipes.h"

#include <utility>

#include "platform/Clipboard.h"
#include "contract/KeynestEvents.h"
#include "platform/PasswordBox.h"

CLockWipes::CLockWipes(CKeynestEvents& events, IClipboard& clipboard,
                       std::vector<ILockWipe*> owners, QObject* parent)
    : QObject(parent), m_clipboard(clipboard), m_owners(std::move(owners)) {
    connect(&events, &CKeynestEvents::Locking, this, &CLockWipes::WipeAll);
}

void CLockWipes::WipeAll() {
    for (ILockWipe* owner : m_owners) owner->WipeAtLock();
    m_clipboard.ClearOwnText();
    DropOwnSelection();
}
