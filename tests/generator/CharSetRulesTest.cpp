// The acceptance rules of a new character set, with their questions and
// warnings.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "generator/PasswordGenerator.h"

namespace {

using Strings = std::vector<std::string>;

std::string Bogus(int position) {
    return "The character as position " + std::to_string(position) +
           " is bogus.\n\nPlease delete it and continue.";
}
std::string Repeated(char c, int first, int again) {
    return "The character \"" + std::string(1, c) + "\" at position " + std::to_string(first) +
           "\nis repeated at position " + std::to_string(again) +
           ".\n\nPlease delete one of them and continue. ";
}
std::string LengthQuestion(int length, int count) {
    return "Your present password length is " + std::to_string(length) +
           ".\n\nBut you have chosen only " + std::to_string(count) +
           " characters.\nThis will cause your passwords to less\ncomplex and may compromise your "
           "security. \n\nWould like to improve this?";
}
const std::string kAlphaNumWarning =
    "You have asked that generated passwords \nhave a least one alpha and one numeric\n"
    "but your character set does not support this. \n\nPlease correct this.";

TEST(CharSetRulesTest, AcceptanceAsksAndWarnsInOrder) {
    const struct {
        const char* set;
        int alphaNum;
        unsigned length;  // in force before the dialog
        bool yes;         // the answer to the length question
        bool accepted;
        Strings questions;
        Strings warnings;
    } cases[] = {
        {"ab cd", 0, 4, false, false, {}, {Bogus(3)}},
        {"abcd\x80", 0, 4, false, false, {}, {Bogus(5)}},
        {"abca", 0, 4, false, false, {}, {Repeated('a', 1, 4)}},
        // The first character found again, with its next occurrence.
        {"xbcbxb", 0, 4, false, false, {}, {Repeated('x', 1, 5)}},
        {"abcdef", 0, 4, false, true, {}, {}},
        {"abcdef", 1, 4, false, false, {}, {kAlphaNumWarning}},
        {"abcde9", 1, 4, false, true, {}, {}},
        // An earlier refusal does not skip the letter-and-digit check.
        {"abca", 1, 4, false, false, {}, {Repeated('a', 1, 4), kAlphaNumWarning}},
        // Fewer characters than the Length: No goes on and accepts...
        {"abcdefghi1", 1, 16, false, true, {LengthQuestion(16, 10)}, {}},
        {"", 0, 4, false, true, {LengthQuestion(4, 0)}, {}},
        // ... Yes refuses and skips the character checks, not the last one.
        {"aa b", 1, 8, true, false, {LengthQuestion(8, 4)}, {kAlphaNumWarning}},
        {"abcdefghi1", 1, 8, false, true, {}, {}},
        // Characters are counted, not their UTF-8 bytes.
        {"\xC3\xA9\xC3\xA9\xC3\xA9", 0, 4, false, false, {LengthQuestion(4, 3)}, {Bogus(1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.set) + " length " + std::to_string(c.length));
        Strings questions, warnings;
        const bool accepted = AcceptCharSet(
            c.set, c.alphaNum, c.length,
            [&](const std::string& q) {
                questions.push_back(q);
                return c.yes;
            },
            [&](const std::string& w) { warnings.push_back(w); });
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(warnings, c.warnings);
    }
}

}  // namespace
