#pragma once

class QWidget;

// The two passes every lock makes over the program's own top-level windows
// before it locks. Only this process's widgets can be reached, so a window
// of another program is never touched, whatever its title.

/// Ends every visible dialog titled exactly "Keynest" (the program's message
/// boxes), other than `mainFrame`, with the result -1. Returns how many.
int DismissMessageBoxes(const QWidget* mainFrame);

/// Closes, as by Cancel, every visible window of the program other than
/// `mainFrame`, whatever its title: its dialogs, Qt's print, preview, page
/// setup and file dialogs, and any other window it opened. A dialog that can
/// save itself (an Add or Edit Item dialog) is saved without a word when
/// `saveCancel` is 1 and its fields are valid, and closed otherwise.
/// Returns how many windows were closed or saved.
int CloseOrSaveDialogs(const QWidget* mainFrame, int saveCancel);
