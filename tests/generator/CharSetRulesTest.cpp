#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "PasswordGenerator.h"

namespace {

TEST(CharSetRulesTest, CharacterTests) {
    EXPECT_TRUE(IsAllAlpha(""));
    EXPECT_TRUE(IsAllNumeric(""));
    EXPECT_TRUE(IsInCharSet("", ""));
    EXPECT_TRUE(IsAllAlpha("azAZ"));
    EXPECT_TRUE(IsAllNumeric("0123456789"));
    // Neighbours of the ranges are neither letters nor digits.
    for (const char* text : {"@", "[", "`", "{", "abc1", "a b"}) {
        EXPECT_FALSE(IsAllAlpha(text)) << text;
    }
    for (const char* text : {"/", ":", "12a", "1 2"}) {
        EXPECT_FALSE(IsAllNumeric(text)) << text;
    }
    // Bytes of 0x80 and above ("é" in UTF-8 and Latin-1) are neither.
    EXPECT_FALSE(IsAllAlpha("caf\xC3\xA9"));
    EXPECT_FALSE(IsAllAlpha("\xE9"));
    EXPECT_FALSE(IsAllNumeric("\xB9"));

    EXPECT_TRUE(IsInCharSet("abba", "ab"));
    EXPECT_FALSE(IsInCharSet("abc", "ab"));
    EXPECT_FALSE(IsInCharSet("a", ""));
    EXPECT_FALSE(IsInCharSet("\xE9", "abc"));
    EXPECT_TRUE(IsInCharSet("\xE9", "a\xE9"));
}

TEST(CharSetRulesTest, EasySets) {
    const std::string upper = kEasyUpperCharSet;
    const std::string lower = kEasyLowerCharSet;
    EXPECT_EQ(upper.size(), 31u);
    EXPECT_EQ(lower.size(), 31u);
    for (const char c : std::string("ILO01")) EXPECT_EQ(upper.find(c), std::string::npos) << c;
    for (size_t i = 0; i < upper.size(); ++i) {
        const bool letter = upper[i] >= 'A';
        EXPECT_EQ(lower[i], letter ? upper[i] - 'A' + 'a' : upper[i]);
    }
}

// Records the questions and warnings of one confirmation and answers the
// questions from a script (No when it runs out).
struct Confirmation {
    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<std::string> warnings;

    bool Run(const std::string& set, int alphaNum, unsigned length) {
        return AcceptCharSet(
            set, alphaNum, length,
            [this](const std::string& q) {
                questions.push_back(q);
                if (answers.empty()) return false;
                const bool yes = answers.front();
                answers.pop_front();
                return yes;
            },
            [this](const std::string& w) { warnings.push_back(w); });
    }
};

const std::string kAlphaNumWarning =
    "You have asked that generated passwords \nhave a least one alpha and one numeric\n"
    "but your character set does not support this. \n\nPlease correct this.";

TEST(CharSetRulesTest, BogusAndRepeatedCharacters) {
    Confirmation blank;
    EXPECT_FALSE(blank.Run("ab cd", 0, 4));
    EXPECT_TRUE(blank.questions.empty());
    EXPECT_EQ(blank.warnings,
              std::vector<std::string>{
                  "The character as position 3 is bogus.\n\nPlease delete it and continue."});

    Confirmation high;
    EXPECT_FALSE(high.Run("abcd\x80", 0, 4));
    EXPECT_EQ(high.warnings.at(0),
              "The character as position 5 is bogus.\n\nPlease delete it and continue.");

    Confirmation repeated;
    EXPECT_FALSE(repeated.Run("abca", 0, 4));
    EXPECT_EQ(repeated.warnings,
              std::vector<std::string>{"The character \"a\" at position 1\nis repeated at "
                                       "position 4.\n\nPlease delete one of them and continue. "});

    // The first character found again is reported, with its next occurrence.
    Confirmation second;
    EXPECT_FALSE(second.Run("xbcbxb", 0, 4));
    EXPECT_EQ(second.warnings.at(0),
              "The character \"x\" at position 1\nis repeated at "
              "position 5.\n\nPlease delete one of them and continue. ");
}

TEST(CharSetRulesTest, LetterAndDigitRequirement) {
    Confirmation letters;
    EXPECT_TRUE(letters.Run("abcdef", 0, 4));
    EXPECT_TRUE(letters.warnings.empty());

    Confirmation refused;
    EXPECT_FALSE(refused.Run("abcdef", 1, 4));
    EXPECT_EQ(refused.warnings, std::vector<std::string>{kAlphaNumWarning});

    Confirmation lastDigit;
    EXPECT_TRUE(lastDigit.Run("abcde9", 1, 4));
    EXPECT_TRUE(lastDigit.warnings.empty());

    // Both messages in one confirmation: the earlier refusal does not skip
    // the letter-and-digit check.
    Confirmation both;
    EXPECT_FALSE(both.Run("abca", 1, 4));
    ASSERT_EQ(both.warnings.size(), 2u);
    EXPECT_NE(both.warnings[0].find("repeated"), std::string::npos);
    EXPECT_EQ(both.warnings[1], kAlphaNumWarning);
}

TEST(CharSetRulesTest, LengthQuestion) {
    const std::string ten = "abcdefghi1";
    // Asked against the Length in force before the dialog (16), with the
    // exact counts; No goes on and accepts.
    Confirmation no;
    EXPECT_TRUE(no.Run(ten, 1, 16));
    EXPECT_EQ(no.questions,
              std::vector<std::string>{
                  "Your present password length is 16.\n\nBut you have chosen only 10 "
                  "characters.\nThis will cause your passwords to less\ncomplex and may "
                  "compromise your security. \n\nWould like to improve this?"});

    // Yes refuses; the later character checks are then skipped, the
    // letter-and-digit check is not.
    Confirmation yes;
    yes.answers = {true};
    EXPECT_FALSE(yes.Run("aa b", 1, 8));
    EXPECT_EQ(yes.questions.size(), 1u);
    EXPECT_EQ(yes.warnings, std::vector<std::string>{kAlphaNumWarning});

    // Enough characters for L = 8: no question.
    Confirmation enough;
    EXPECT_TRUE(enough.Run(ten, 1, 8));
    EXPECT_TRUE(enough.questions.empty());

    // An empty set with AlphaNum 0 is asked about, then accepted on No.
    Confirmation empty;
    EXPECT_TRUE(empty.Run("", 0, 4));
    EXPECT_NE(empty.questions.at(0).find("chosen only 0 characters"), std::string::npos);
}

}  // namespace
