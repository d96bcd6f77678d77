#include "health/HealthReport.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "vault/ItemList.h"

namespace {

// Names and user ids shorter than this match too many passwords by chance.
constexpr std::size_t kMinNameLength = 3;

int Severity(const HealthEntry& entry) {
    return (entry.unlock != UnlockOverlap::kNone ? 8 : 0) + (entry.reuseGroup != 0 ? 4 : 0) +
           (entry.containsUserId || entry.containsLocation ? 2 : 0) + (IsWeak(entry.strength.word) ? 1 : 0);
}

// True when `folded` (an ASCII-folded password) holds `name`, compared
// without ASCII case.
bool HoldsName(const std::string& folded, const std::string& name) {
    if (name.size() < kMinNameLength) return false;
    std::string foldedName = FoldAsciiCase(name);
    const bool holds = folded.find(foldedName) != std::string::npos;
    WipeString(foldedName);
    return holds;
}

// The part of a mail address before the '@', or the whole User ID.
std::string UserName(const std::string& userId) { return userId.substr(0, userId.find('@')); }

}  // namespace

std::vector<std::string> HealthEntry::Findings() const {
    std::vector<std::string> findings;
    switch (unlock) {
        case UnlockOverlap::kEqual: findings.emplace_back("is the UnLock password"); break;
        case UnlockOverlap::kContains: findings.emplace_back("contains the UnLock password"); break;
        case UnlockOverlap::kContained: findings.emplace_back("is part of the UnLock password"); break;
        case UnlockOverlap::kNone: break;
    }
    if (reuseGroup != 0) {
        findings.push_back("used by " + std::to_string(reuseCount) + " Items (group " + std::to_string(reuseGroup) +
                           ")");
    }
    if (containsUserId) findings.emplace_back("contains its User ID");
    if (containsLocation) findings.emplace_back("contains its Location");
    if (IsWeak(strength.word)) findings.push_back(std::string(StrengthWordText(strength.word)) + " strength");
    return findings;
}

std::vector<HealthEntry> BuildHealthReport(const CMemoryItemList& rows, const CVault& vault) {
    const int count = rows.RowCount();
    auto passwordOf = [&rows](int row) -> const std::string& { return rows.RowAt(row)[kColPassword]; };
    // Rows ordered by Password, so that equal ones sit together; the
    // Passwords are compared where they are, never copied.
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return passwordOf(a) < passwordOf(b); });

    std::vector<HealthEntry> all(static_cast<std::size_t>(count));
    int groups = 0;
    for (std::size_t start = 0; start < order.size();) {
        std::size_t end = start + 1;
        while (end < order.size() && passwordOf(order[end]) == passwordOf(order[start])) ++end;
        const std::string& password = passwordOf(order[start]);
        const PasswordStrength strength = EstimateStrength(password);
        const UnlockOverlap unlock = vault.CompareWithUnlockPassword(password);
        std::string folded = FoldAsciiCase(password);
        const int group = end - start > 1 ? ++groups : 0;
        for (std::size_t i = start; i < end; ++i) {
            const CMemoryItemList::Row& item = rows.RowAt(order[i]);
            HealthEntry& entry = all[static_cast<std::size_t>(order[i])];
            entry.row = order[i];
            entry.strength = strength;
            entry.unlock = unlock;
            entry.reuseGroup = group;
            entry.reuseCount = static_cast<int>(end - start);
            entry.containsUserId = HoldsName(folded, UserName(item[kColUserId]));
            entry.containsLocation = HoldsName(folded, item[kColLocation]);
        }
        WipeString(folded);
        start = end;
    }

    std::vector<HealthEntry> report;
    for (HealthEntry& entry : all) {
        if (Severity(entry) == 0) continue;
        entry.location = rows.RowAt(entry.row)[kColLocation];
        entry.userId = rows.RowAt(entry.row)[kColUserId];
        report.push_back(std::move(entry));
    }
    // A shared Password ranks by its worst Item and keeps its Items together.
    std::vector<int> groupSeverity(static_cast<std::size_t>(groups) + 1, 0);
    for (const HealthEntry& entry : report) {
        int& worst = groupSeverity[static_cast<std::size_t>(entry.reuseGroup)];
        worst = std::max(worst, Severity(entry));
    }
    auto key = [&](const HealthEntry& entry) {
        const int rank = entry.reuseGroup != 0 ? groupSeverity[static_cast<std::size_t>(entry.reuseGroup)]
                                               : Severity(entry);
        return std::make_tuple(-rank, entry.strength.bits, entry.reuseGroup, -Severity(entry), entry.row);
    };
    std::sort(report.begin(), report.end(), [&](const HealthEntry& a, const HealthEntry& b) { return key(a) < key(b); });
    // Groups renumbered in the order they are shown.
    std::vector<int> shownNumber(static_cast<std::size_t>(groups) + 1, 0);
    int next = 0;
    for (HealthEntry& entry : report) {
        if (entry.reuseGroup == 0) continue;
        int& number = shownNumber[static_cast<std::size_t>(entry.reuseGroup)];
        if (number == 0) number = ++next;
        entry.reuseGroup = number;
    }
    return report;
}
