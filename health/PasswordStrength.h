#pragma once

#include <string_view>

/// A password's estimated strength, in words a user reads at a glance.
enum class StrengthWord { kPoor, kWeak, kFair, kGood, kExcellent };

struct PasswordStrength {
    double bits = 0;  ///< log2 of the guesses the estimator expects an attacker to need
    StrengthWord word = StrengthWord::kPoor;
};

/// Estimates `password` with zxcvbn (dictionaries, keyboard patterns,
/// dates, repeats and sequences). Poor below 40 bits, weak below 60, fair
/// below 80, good below 100, excellent from 100.
PasswordStrength EstimateStrength(std::string_view password);

/// "poor", "weak", "fair", "good" or "excellent".
const char* StrengthWordText(StrengthWord word);

/// True for the words the health report lists as weak.
inline bool IsWeak(StrengthWord word) { return word <= StrengthWord::kWeak; }
