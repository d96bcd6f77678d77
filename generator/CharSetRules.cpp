#include <string>

#include "generator/PasswordGenerator.h"

const char* const kEasyUpperCharSet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
const char* const kEasyLowerCharSet = "23456789abcdefghjkmnpqrstuvwxyz";
const char* const kEmptyCharSetMessage =
    "The password character set is empty.\n\nPlease choose characters in the Preferences dialog.";

namespace {

// Plain ASCII ranges: the locale never widens them, and a byte of 0x80 or
// above (negative as a signed char) is neither a letter nor a digit.
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsPrintable(char c) { return c >= '!' && c <= '~'; }

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Characters of `text` read as UTF-8, as the user typed them; a byte that
// begins no complete sequence counts as one character.
size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
        if (lead > 0xF4 || i + length > text.size()) length = 1;
        for (size_t k = 1; k < length; ++k) {
            if (!IsContinuation(text[i + k])) length = 1;
        }
        i += length;
    }
    return count;
}

}  // namespace

bool IsInCharSet(const std::string& text, const std::string& charSet) {
    for (const char c : text) {
        if (charSet.find(c) == std::string::npos) return false;
    }
    return true;
}

bool IsAllAlpha(const std::string& text) {
    for (const char c : text) {
        if (!IsLetter(c)) return false;
    }
    return true;
}

bool IsAllNumeric(const std::string& text) {
    for (const char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

bool AcceptCharSet(const std::string& charSet, int alphaNum, unsigned currentLength,
                   const AskYesNo& ask, const ShowWarning& warn) {
    bool refused = false;

    const size_t characters = CharacterCount(charSet);
    if (characters < currentLength) {
        refused = ask("Your present password length is " + std::to_string(currentLength) +
                      ".\n\nBut you have chosen only " + std::to_string(characters) +
                      " characters.\nThis will cause your passwords to less\ncomplex and may "
                      "compromise your security. \n\nWould like to improve this?");
    }

    if (!refused) {
        for (size_t i = 0; i < charSet.size(); ++i) {
            if (!IsPrintable(charSet[i])) {
                warn("The character as position " + std::to_string(i + 1) +
                     " is bogus.\n\nPlease delete it and continue.");
                refused = true;
                break;
            }
        }
    }

    if (!refused) {
        for (size_t i = 0; i + 1 < charSet.size() && !refused; ++i) {
            const size_t again = charSet.find(charSet[i], i + 1);
            if (again != std::string::npos) {
                warn(std::string("The character \"") + charSet[i] + "\" at position " +
                     std::to_string(i + 1) + "\nis repeated at position " +
                     std::to_string(again + 1) + ".\n\nPlease delete one of them and continue. ");
                refused = true;
            }
        }
    }

    // Checked even after a refusal, so one confirmation can bring both messages.
    if (alphaNum == 1) {
        bool hasLetter = false;
        bool hasDigit = false;
        for (const char c : charSet) {
            hasLetter = hasLetter || IsLetter(c);
            hasDigit = hasDigit || IsDigit(c);
        }
        if (!hasLetter || !hasDigit) {
            warn(
                "You have asked that generated passwords \nhave a least one alpha and one "
                "numeric\nbut your character set does not support this. \n\nPlease correct "
                "this.");
            refused = true;
        }
    }

    return !refused;
}
