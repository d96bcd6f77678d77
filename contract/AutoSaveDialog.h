#pragma once

/// A dialog that the inactivity lock may save without asking: an Add or
/// Edit Item dialog. Other dialogs are simply closed.
class IAutoSaveDialog {
public:
    virtual ~IAutoSaveDialog() = default;
    /// Checks the fields without any message; when they are valid, ends the
    /// dialog with OK and returns true, otherwise returns false and leaves it open.
    virtual bool SaveSilently() = 0;
};
