#include "cli/PasswordCommands.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Terminal.h"
#include "cli/TextRules.h"
#include "generator/PasswordGenerator.h"
#include "settings/RegistryStore.h"
#include "vault/Vault.h"

namespace {

constexpr std::size_t kStrongLength = 8;

// The choose-password rules, in the order the desktop dialog applies them.
// Returns why the pair is refused, or the empty text.
std::string CheckNewPassword(const std::string& first, const std::string& second,
                             const std::string& charSet, const PasswordLimit& limit) {
    if (!IsInCharSet(first, charSet) || !IsInCharSet(second, charSet)) {
        return "Please use characters from the following set... " + charSet;
    }
    if (first.empty()) return "the new UnLock password is empty";
    if (second.empty()) return "the new UnLock password was not given twice";
    if (first != second) return "The two Passwords do not match.";
    if (const std::string problem = CheckPasswordLength(first, limit); !problem.empty()) {
        return "the new UnLock password " + problem + ", more than the vault's format keeps";
    }
    return {};
}

bool IsWeak(const std::string& password) {
    return IsAllAlpha(password) || IsAllNumeric(password) || password.size() < kStrongLength;
}

}  // namespace

CPasswordCommands::CPasswordCommands(CCliSession& session, CTerminal& terminal,
                                     const CliOptions& options)
    : m_session(session), m_terminal(terminal), m_options(options) {}

ExitStatus CPasswordCommands::Passwd() {
    ExitStatus status = m_session.LockForChange(true);
    if (status == ExitStatus::Ok) status = m_session.Open(true);
    if (status != ExitStatus::Ok) return status;
    CVault& vault = m_session.Vault();
    const bool firstUse = !vault.HasCheckValue();
    if (!firstUse) {
        status = m_session.Unlock();
        if (status != ExitStatus::Ok) return status;
    }

    std::string first;
    std::string second;
    m_terminal.ReadLine("New UnLock password: ", first, true);
    m_terminal.ReadLine("New UnLock password again: ", second, true);
    const std::string problem = CheckNewPassword(first, second, m_session.Prefs().pwdChars, vault.PasswordRule());
    WipeString(second);
    if (!problem.empty()) {
        status = Fail(ExitStatus::Usage, problem + " Nothing changed.");
    } else if (IsWeak(first) &&
               !m_terminal.Confirm("The new password is all numeric, all alpha or less than 8 "
                                   "characters; a more complex one would be better. Use it "
                                   "as it is?",
                                   m_options.yes)) {
        status = m_terminal.Declined("a password that is all numeric, all alpha or short");
    }
    if (status == ExitStatus::Ok) {
        const bool setAside = firstUse && vault.HasItemsWithoutCheckValue();
        const bool stored = firstUse ? vault.ChooseFirstPassword(first)
                                     : vault.ChangePassword(first, m_session.Rows());
        if (!stored) {
            status =
                Fail(ExitStatus::Failed, "the store refused the new UnLock password (" +
                                             m_session.Store().LastError() + "); nothing changed");
        } else if (firstUse) {
            std::puts("The UnLock password has been chosen.");
            if (setAside) {
                std::puts(
                    "Items stored without an UnLock password were set aside; the desktop "
                    "program can open them with the password they were made under.");
            }
        } else {
            std::puts(
                "The UnLock password has been changed. Export files made before still "
                "need the old one: make a new export file.");
        }
    }
    WipeString(first);
    return status;
}

ExitStatus CPasswordCommands::Generate() {
    if (m_session.StoreExists()) {
        if (const ExitStatus status = m_session.Open(false); status != ExitStatus::Ok) {
            return status;
        }
    }
    const Preferences& prefs = m_session.Prefs();
    // A hardened vault takes longer passwords; without a store the classic limit holds.
    const unsigned maxLength = m_session.StoreExists() ? m_session.Vault().MaxGeneratedLength() : kMaxLength;
    unsigned length = std::min(prefs.length, maxLength);
    if (m_options.length != 0) {
        length = static_cast<unsigned>(m_options.length);
        if (m_options.length < 0 || length < kMinLength || length > maxLength) {
            return Fail(ExitStatus::Usage, "--length must be 4 to " + std::to_string(maxLength));
        }
    }
    const std::string& charSet = m_options.charsGiven ? m_options.chars : prefs.pwdChars;
    if (m_options.charsGiven) {
        if (charSet.size() < length) {
            return Fail(ExitStatus::Usage,
                        "the set has only " + std::to_string(charSet.size()) +
                            " characters for passwords of " + std::to_string(length) +
                            ", which makes them less complex; give more characters or a "
                            "shorter --length");
        }
        std::string warning;
        const bool accepted = AcceptCharSet(
            charSet, prefs.alphaNum, length, [](const std::string&) { return false; },
            [&warning](const std::string& text) {
                if (warning.empty()) warning = text;
            });
        if (!accepted) return Fail(ExitStatus::Usage, warning);
    }
    COsRandomSource random;
    std::string password = GeneratePassword(charSet, length, prefs.alphaNum, random);
    if (password.empty()) return Fail(ExitStatus::Usage, kEmptyCharSetMessage);
    password += '\n';
    std::fwrite(password.data(), 1, password.size(), stdout);
    WipeString(password);
    return ExitStatus::Ok;
}
