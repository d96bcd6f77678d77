#pragma once

#include <string>
#include <vector>

#include "health/PasswordStrength.h"
#include "vault/Vault.h"

class CMemoryItemList;

/// One Item the health report lists, with everything found about its
/// Password; the Password itself is never part of it.
struct HealthEntry {
    int row = 0;  ///< the Item's row in the list the report was made from
    std::string location;
    std::string userId;
    PasswordStrength strength;
    UnlockOverlap unlock = UnlockOverlap::kNone;
    int reuseGroup = 0;  ///< 0: used by this Item alone; otherwise the group's number, from 1
    int reuseCount = 1;  ///< how many Items share the Password
    bool containsUserId = false;
    bool containsLocation = false;

    /// Every finding in words, the worst first.
    std::vector<std::string> Findings() const;
};

/// The Items whose Password is weak, shared by several Items, overlaps the
/// UnLock password or holds the Item's own User ID or Location; the worst
/// first, and the Items of one shared Password together. Strength is
/// estimated once per distinct Password.
std::vector<HealthEntry> BuildHealthReport(const CMemoryItemList& rows, const CVault& vault);
