#pragma once

#include "contract/KeynestContext.h"

/// File > Reset: erases everything the program stored, after a question,
/// and ends the program, for a user who forgot the UnLock password.
class CFileReset final {
public:
    explicit CFileReset(KeynestContext& context) : m_context(context) {}
    CFileReset(const CFileReset&) = delete;
    CFileReset& operator=(const CFileReset&) = delete;

    void OnFileReset();
    /// True once the store was erased: the closing window must store nothing.
    bool Erased() const { return m_bErased; }

private:
    KeynestContext& m_context;
    bool m_bErased = false;
};
