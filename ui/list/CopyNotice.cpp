#include "ui/list/CopyNotice.h"

#include "contract/KeynestContext.h"
#include "contract/KeynestEvents.h"
#include "settings/Preferences.h"

void ReportCopied(KeynestContext& context, const QString& what) {
    const int seconds = context.prefs.clipSeconds;
    const QString when = seconds > 0 ? QStringLiteral("it is cleared in %1 second%2.")
                                           .arg(seconds)
                                           .arg(seconds == 1 ? QString() : QStringLiteral("s"))
                                     : QStringLiteral("it is cleared when Keynest locks or ends.");
    Q_EMIT context.events.StatusMessage(what + QStringLiteral(" copied to the Clipboard; ") + when,
                                        seconds * 1000);
}
