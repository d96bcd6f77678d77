#pragma once

#include <QString>

/// The application title: window title of the main frame and caption of
/// every message box.
inline QString AppTitle() { return QStringLiteral("Keynest"); }
