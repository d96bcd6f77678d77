#pragma once

#include <cstdint>
#include <functional>
#include <string>

/// A source of uniformly distributed random numbers.
class IRandomSource {
  public:
    virtual ~IRandomSource() = default;
    /// A uniformly drawn number in [0, bound); bound is at least 1.
    virtual std::uint32_t UniformBelow(std::uint32_t bound) = 0;
};

/// Random numbers from the operating system (getrandom), drawn without
/// modulo bias.
class COsRandomSource final : public IRandomSource {
  public:
    std::uint32_t UniformBelow(std::uint32_t bound) override;
};

/// The ready-made easy-to-read sets (the full set is FullCharSet() of the
/// preferences).
extern const char* const kEasyUpperCharSet;  ///< "23456789ABCDEFGHJKMNPQRSTUVWXYZ"
extern const char* const kEasyLowerCharSet;  ///< the same with lower-case letters

/// What callers tell the user when asked to generate from an empty set.
extern const char* const kEmptyCharSetMessage;

/// A password of `length` characters drawn from `charSet`, no character
/// more than twice (relaxed only as far as a too-small set needs), with
/// the letter-and-digit fix-up when `alphaNum` is 1. Empty for an empty set.
std::string GeneratePassword(const std::string& charSet, unsigned length, int alphaNum,
                             IRandomSource& random);

/// True when every character of `text` occurs in `charSet` (true for "").
bool IsInCharSet(const std::string& text, const std::string& charSet);
/// True when every character is 'A'-'Z' or 'a'-'z' (true for "").
bool IsAllAlpha(const std::string& text);
/// True when every character is '0'-'9' (true for "").
bool IsAllNumeric(const std::string& text);

/// Asks a Yes/No question; returns true for Yes.
using AskYesNo = std::function<bool(const std::string& question)>;
/// Shows a warning with an OK button.
using ShowWarning = std::function<void(const std::string& warning)>;

/// The acceptance rules for a new character set `charSet` chosen together
/// with `alphaNum`, where `currentLength` is the Length in force before the
/// Preferences dialog opened. Returns true when the set is accepted.
bool AcceptCharSet(const std::string& charSet, int alphaNum, unsigned currentLength,
                   const AskYesNo& ask, const ShowWarning& warn);
