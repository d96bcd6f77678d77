#include "vault/SealedRecord.h"

#include "vault/PasswordSealer.h"

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
