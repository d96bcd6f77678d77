#include "vault/SealedRecord.h"

#include "vault/ItemRules.h"
#include "vault/PasswordSealer.h"

namespace {

void WipeRecord(SealedRecord& plain) {
    for (std::string& text : plain) WipeString(text);
}

}  // namespace

bool OpenSealedRecord(CPasswordSealer& sealer, CSealingKey& key, const SealedRecord& sealed,
                      SealedRecord& plain) {
    std::size_t padding = 0;
    bool opens = true;
    for (std::size_t column = 0; opens && column < sealed.size(); ++column) {
        std::size_t fieldPadding = 0;
        opens = sealer.UnsealPadded(key, sealed[column], plain[column], fieldPadding);
        padding += fieldPadding;
    }
    opens = opens && padding >= kProofPadding;
    if (!opens) {
        for (std::string& text : plain) WipeString(text);
    }
    return opens;
}

RecordVerdict JudgeImportedRecord(CPasswordSealer& sealer, CSealingKey& key,
                                  const SealedRecord& sealed, SealedRecord& plain,
                                  std::string& reason) {
    reason.clear();
    std::size_t padding = 0;
    bool opens = sealed[kColPassword].size() == kSealedPasswordLength;
    for (std::size_t column = 0; opens && column < sealed.size(); ++column) {
        WipeString(plain[column]);
        if (sealed[column].empty()) continue;
        std::size_t fieldPadding = 0;
        opens = sealer.UnsealPadded(key, sealed[column], plain[column], fieldPadding);
        padding += fieldPadding;
    }
    for (std::size_t column = 0; opens && padding < kProofPadding && column < plain.size();
         ++column) {
        opens = !HasControlCharacter(plain[column]);
    }
    if (!opens) {
        WipeRecord(plain);
        return RecordVerdict::NotSealedHere;
    }
    reason = CheckItemFields(plain);
    if (!reason.empty()) {
        WipeRecord(plain);
        return RecordVerdict::BreaksRules;
    }
    return RecordVerdict::Accepted;
}
