#pragma once

#include "cli/ExitStatus.h"

class CCliSession;

/// keynest-cli health: one line per finding of the password health report,
/// tab-separated Location, User ID, finding and estimated bits, never a
/// Password. Exit status 0 when there is nothing to report, 1 otherwise.
ExitStatus RunHealthReport(CCliSession& session);
