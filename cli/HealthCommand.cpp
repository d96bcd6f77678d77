#include "cli/HealthCommand.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "cli/CliSession.h"
#include "health/HealthReport.h"

ExitStatus RunHealthReport(CCliSession& session) {
    if (const ExitStatus status = session.OpenAndUnlock(false); status != ExitStatus::Ok) return status;
    const std::vector<HealthEntry> report = BuildHealthReport(session.Rows(), session.Vault());
    std::string out;
    for (const HealthEntry& entry : report) {
        const std::string bits = std::to_string(std::lround(entry.strength.bits));
        for (const std::string& finding : entry.Findings()) {
            out += entry.location + '\t' + entry.userId + '\t' + finding + '\t' + bits + '\n';
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return report.empty() ? ExitStatus::Ok : ExitStatus::Usage;
}
