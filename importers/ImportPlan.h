#pragma once

#include <map>
#include <string>
#include <vector>

#include "importers/ForeignFile.h"
#include "vault/ItemRules.h"

/// What importing a file would do, shown to the user before anything
/// changes: the Items it adds and the records it leaves out, with why.
struct ImportPlan {
    /// Why a record is left out, as a program needs to know it.
    enum class SkipKind {
        kNotForKeynest,       ///< the file rules it out: not a login
        kDuplicate,           ///< equal to an Item in the list or earlier in the file
        kBreaksRules,         ///< no Location and no URL, or it breaks the Item rules
        kNeedsHardenedVault,  ///< only its Password is too long for the first format
    };
    struct Skipped {
        std::string location;  ///< as the record names it (never its Password)
        std::string reason;    ///< in words
        SkipKind kind = SkipKind::kBreaksRules;
    };
    int found = 0;           ///< records in the file
    CMemoryItemList toAdd;   ///< the Items to add, plain
    std::vector<Skipped> skipped;

    /// How many records each reason left out, by reason.
    std::map<std::string, int> ReasonCounts() const;
};

/// Plans the import of `file` into a list holding `existing`: a record is
/// left out, with its reason, when the file rules it out, when it has no
/// Location and no URL, when its Item breaks the Item rules under the
/// vault's Password `limit`, or when an Item with the same Location, User
/// ID and Password is in the list already (or earlier in the file). Fields
/// are never cut.
ImportPlan PlanImport(const ForeignFile& file, const CMemoryItemList& existing, const PasswordLimit& limit);
