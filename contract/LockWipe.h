#pragma once

/// Something that keeps a plain secret outside the vault (a deleted Item
/// held for undo, the find text, the cells the list drew last) and drops
/// it when the program locks; CLockWipes tells every owner.
class ILockWipe {
public:
    virtual ~ILockWipe() = default;
    virtual void WipeAtLock() = 0;
};
