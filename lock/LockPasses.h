#pragma once

class QWidget;

// The two passes the inactivity lock makes over the program's own top-level
// windows before it locks. Only this process's widgets can be reached, so a
// window of another program is never touched, whatever its title.

/// Ends every visible dialog titled exactly "Keynest" (the program's message
/// boxes), other than `mainFrame`, with the result -1. Returns how many.
int DismissMessageBoxes(const QWidget* mainFrame);

/// Closes, as by Cancel, every visible window other than `mainFrame` whose
/// title names the program, except the Add and Edit Item dialogs: those are
/// saved without a word when `saveCancel` is 1 and they are valid, and closed
/// otherwise. Titles with "KEYNEST." (any case) or "Microsoft Visual C++" are
/// left alone. Returns how many windows were closed or saved.
int CloseOrSaveDialogs(const QWidget* mainFrame, int saveCancel);
