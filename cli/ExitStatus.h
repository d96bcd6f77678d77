#pragma once

#include <string_view>

/// What keynest-cli tells its caller through its exit status.
enum class ExitStatus : int {
    Ok = 0,
    Usage = 1,     ///< bad command line or input, or a question answered No
    Locked = 2,    ///< wrong UnLock password, none chosen yet, or the store is in use
    NotFound = 3,  ///< no such Location, or nothing to work on
    Failed = 4,    ///< the store, a file, a clipboard tool or the self-test failed
};

/// Writes "keynest-cli: MESSAGE" to standard error as one line and returns `status`.
ExitStatus Fail(ExitStatus status, std::string_view message);
