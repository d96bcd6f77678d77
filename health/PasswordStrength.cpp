#include "health/PasswordStrength.h"

#include <string>

#include <zxcvbn.h>

#include "vault/ItemList.h"

namespace {

StrengthWord WordOf(double bits) {
    if (bits < 40) return StrengthWord::kPoor;
    if (bits < 60) return StrengthWord::kWeak;
    if (bits < 80) return StrengthWord::kFair;
    if (bits < 100) return StrengthWord::kGood;
    return StrengthWord::kExcellent;
}

}  // namespace

PasswordStrength EstimateStrength(std::string_view password) {
    // zxcvbn reads a terminated string: a copy that is wiped at once.
    std::string text(password);
    const double bits = text.empty() ? 0.0 : ZxcvbnMatch(text.c_str(), nullptr, nullptr);
    WipeString(text);
    return {bits, WordOf(bits)};
}

const char* StrengthWordText(StrengthWord word) {
    switch (word) {
        case StrengthWord::kPoor: return "poor";
        case StrengthWord::kWeak: return "weak";
        case StrengthWord::kFair: return "fair";
        case StrengthWord::kGood: return "good";
        case StrengthWord::kExcellent: return "excellent";
    }
    return "";
}
