#include "cli/FormatCommands.h"

#include <cstdio>

#include "cli/CliSession.h"
#include "settings/RegistryStore.h"
#include "vault/Vault.h"

CFormatCommands::CFormatCommands(CCliSession& session) : m_session(session) {}

ExitStatus CFormatCommands::Harden() {
    if (const ExitStatus status = m_session.OpenAndUnlock(true); status != ExitStatus::Ok) return status;
    CVault& vault = m_session.Vault();
    if (vault.Format() == VaultFormat::kHardened) {
        std::puts("The vault is hardened already; nothing changed.");
        return ExitStatus::Ok;
    }
    if (!vault.ConvertToHardened(m_session.Rows(), kDefaultKdfParams)) {
        return Fail(ExitStatus::Failed, "the store refused the hardened vault (" + m_session.Store().LastError() +
                                            "); nothing changed");
    }
    std::puts(
        "The vault is hardened: its key now comes from the UnLock password through Argon2id, and "
        "every value is sealed with Twofish-256 and checked for changes. UnLock passwords and "
        "Passwords may now be up to 300 characters long.");
    return ExitStatus::Ok;
}

ExitStatus CFormatCommands::Unharden() {
    if (const ExitStatus status = m_session.OpenAndUnlock(true); status != ExitStatus::Ok) return status;
    switch (m_session.Vault().ConvertToKeyText(m_session.Rows())) {
        case ConvertRefusal::kNone:
            std::puts("The vault is back in the first format, with its 16-byte limits and without "
                      "the hardened key; 'keynest-cli harden' converts it again.");
            return ExitStatus::Ok;
        case ConvertRefusal::kNotUnlocked:
            std::puts("The vault is not hardened; nothing changed.");
            return ExitStatus::Ok;
        case ConvertRefusal::kLongUnlockPassword:
            return Fail(ExitStatus::Usage,
                        "the UnLock password is longer than 16 bytes, which the first format cannot keep; "
                        "choose a shorter one with 'keynest-cli passwd' first. Nothing changed.");
        case ConvertRefusal::kLongItemPassword:
            return Fail(ExitStatus::Usage,
                        "an Item has a Password longer than 16 bytes, which the first format cannot keep; "
                        "shorten it with 'keynest-cli edit' first. Nothing changed.");
        case ConvertRefusal::kStoreFailed:
            break;
    }
    return Fail(ExitStatus::Failed,
                "the store refused the change (" + m_session.Store().LastError() + "); nothing changed");
}
