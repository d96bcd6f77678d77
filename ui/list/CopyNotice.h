#pragma once

#include <QString>

struct KeynestContext;

/// Says in the status bar that `what` ("Password of ...") is now on the
/// clipboard and when it leaves it; the notice goes when the password does.
void ReportCopied(KeynestContext& context, const QString& what);
