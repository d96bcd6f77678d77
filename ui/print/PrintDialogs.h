#pragma once

#include <functional>

class QPrinter;
class QWidget;

/// The printer dialogs the print commands open. The program uses Qt's;
/// tests pass their own, so that no dialog waits for a user.
struct PrintDialogs {
    /// Renders the pages of a job on the printer it is given.
    using Render = std::function<void(QPrinter&)>;

    /// Lets the user choose the printer and its options; false when cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
    /// Shows the pages `render` draws until the user closes the preview.
    std::function<void(QPrinter&, const Render&)> preview;
    /// The printer's paper and orientation.
    std::function<void(QPrinter&)> setup;
};

/// Qt's print, print preview and page setup dialogs, parented to `parent`.
PrintDialogs QtPrintDialogs(QWidget& parent);
