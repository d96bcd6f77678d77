// Seals arbitrary texts as the six fields of one export record, damages the
// record in one of a few ways, and checks the import's judgement of it: an
// Item typed into Keynest and sealed under the key is always accepted as it
// was; an accepted record keeps the Item rules; damage is never accepted
// as other texts.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "vault/ItemRules.h"
#include "vault/PasswordSealer.h"
#include "vault/SealedRecord.h"
#include "vault/SealingKey.h"

namespace {

enum class Damage { None, FlipDigit, NotHex, OtherPassword, kMaxValue = OtherPassword };

// What an Item typed into the desktop's boxes or keynest-cli looks like.
bool IsTypedItem(const SealedRecord& fields) {
    if (!CheckItemFields(fields).empty()) return false;
    for (const std::string& text : fields) {
        if (!IsUtf8Text(text) || HasControlCharacter(text)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto damage = input.ConsumeEnum<Damage>();
    const std::size_t where = input.ConsumeIntegral<std::uint16_t>();
    SealedRecord fields;
    for (std::string& text : fields) {
        text = input.ConsumeRandomLengthString(400);
        // Zero bytes at the end are padding once sealed, not text.
        while (!text.empty() && text.back() == '\0') text.pop_back();
    }

    CPasswordSealer sealer;
    CSealingKey key(std::string("fuzz"));
    CSealingKey otherKey(std::string("Fuzz"));
    SealedRecord sealed;
    for (std::size_t column = 0; column < fields.size(); ++column) {
        sealed[column] =
            sealer.SealText(damage == Damage::OtherPassword ? otherKey : key, fields[column]);
    }
    std::string& digits = sealed[where % sealed.size()];
    const std::size_t at = (where / sealed.size()) % digits.size();
    if (damage == Damage::FlipDigit) digits[at] = digits[at] == '0' ? '1' : '0';
    if (damage == Damage::NotHex) digits[at] = 'G';

    SealedRecord plain;
    std::string reason;
    const RecordVerdict verdict = JudgeImportedRecord(sealer, key, sealed, plain, reason);
    Require((verdict == RecordVerdict::BreaksRules) == !reason.empty(),
            "a reason is given exactly for a record that breaks the rules");
    if (verdict == RecordVerdict::Accepted) {
        Require(CheckItemFields(plain).empty(), "an accepted record keeps the Item rules");
    } else {
        for (const std::string& text : plain) Require(text.empty(), "a refused record is wiped");
    }
    if (damage == Damage::None) {
        Require((verdict == RecordVerdict::Accepted) == IsTypedItem(fields) ||
                    (verdict == RecordVerdict::Accepted && CheckItemFields(fields).empty()),
                "a typed Item is accepted, and an Item breaking the rules is not");
        if (verdict == RecordVerdict::Accepted) Require(plain == fields, "accepted as sealed");
    }
    if (damage == Damage::NotHex) Require(verdict != RecordVerdict::Accepted, "not hex: refused");
    return 0;
}
