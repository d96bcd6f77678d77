#include "cli/ItemCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ClipboardTool.h"
#include "cli/Terminal.h"
#include "cli/TextRules.h"
#include "generator/PasswordGenerator.h"
#include "vault/Vault.h"

namespace {

constexpr std::array<const char*, kItemColumnCount> kLabels = {
    "Location: ", "URL:      ", "User ID:  ", "Hint:     ", "Note:     ", "Password: "};
constexpr std::array<const char*, kItemColumnCount> kPromptNames = {"Location", "URL",  "User ID",
                                                                    "Hint",     "Note", "Password"};
// In edit, a line holding only this empties an optional field.
constexpr const char* kEmptyFieldAnswer = "-";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::vector<int> RowsWithLocation(const CMemoryItemList& rows, const std::string& location) {
    // Rows are in Location order, so equal Locations sit together just
    // before the place a new one would take.
    const int end = rows.SortedPlace(location);
    int first = end;
    while (first > 0 && rows.RowAt(first - 1)[kColLocation] == location) --first;
    std::vector<int> found;
    for (int row = first; row < end; ++row) found.push_back(row);
    return found;
}

void AppendPadded(std::string& out, const std::string& text, std::size_t width) {
    out += text;
    out.append(width - DisplayWidth(text) + 2, ' ');
}

}  // namespace

CItemCommands::CItemCommands(CCliSession& session, CTerminal& terminal, const CliOptions& options)
    : m_session(session), m_terminal(terminal), m_options(options) {}

ExitStatus CItemCommands::Unlock(bool forChange) { return m_session.OpenAndUnlock(forChange); }

ExitStatus CItemCommands::List() {
    if (const ExitStatus status = Unlock(false); status != ExitStatus::Ok) return status;
    const CMemoryItemList& rows = m_session.Rows();
    std::string out;
    if (!m_options.longList) {
        for (int row = 0; row < rows.RowCount(); ++row) {
            out += rows.RowAt(row)[kColLocation];
            out += '\n';
        }
    } else {
        std::size_t locationWidth = 0;
        std::size_t urlWidth = 0;
        for (int row = 0; row < rows.RowCount(); ++row) {
            locationWidth = std::max(locationWidth, DisplayWidth(rows.RowAt(row)[kColLocation]));
            urlWidth = std::max(urlWidth, DisplayWidth(rows.RowAt(row)[kColUrl]));
        }
        for (int row = 0; row < rows.RowCount(); ++row) {
            const CMemoryItemList::Row& item = rows.RowAt(row);
            AppendPadded(out, item[kColLocation], locationWidth);
            AppendPadded(out, item[kColUrl], urlWidth);
            out += item[kColUserId];
            while (!out.empty() && out.back() == ' ') out.pop_back();
            out += '\n';
        }
    }
    Print(out);
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::Show() {
    if (const ExitStatus status = Unlock(false); status != ExitStatus::Ok) return status;
    const CMemoryItemList& rows = m_session.Rows();
    std::vector<int> found = RowsWithLocation(rows, m_options.location);
    if (found.empty()) {
        return Fail(ExitStatus::NotFound, "no Item has the Location " + Quoted(m_options.location));
    }
    if (m_options.number != 0) {
        int row = 0;
        if (const ExitStatus status = SelectRow(row); status != ExitStatus::Ok) return status;
        found = {row};
    }
    const int shownColumns = m_options.showPassword ? kItemColumnCount : kColPassword;
    std::string out;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found.size() > 1) {
            if (i > 0) out += '\n';
            out += "Item " + std::to_string(i + 1) + " of " + std::to_string(found.size()) + "\n";
        }
        for (int column = 0; column < shownColumns; ++column) {
            out += kLabels[static_cast<std::size_t>(column)];
            out += rows.RowAt(found[i])[static_cast<std::size_t>(column)];
            out += '\n';
        }
    }
    Print(out);
    WipeString(out);
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::SelectRow(int& row) {
    const std::vector<int> found = RowsWithLocation(m_session.Rows(), m_options.location);
    const int count = static_cast<int>(found.size());
    if (count == 0) {
        return Fail(ExitStatus::NotFound, "no Item has the Location " + Quoted(m_options.location));
    }
    int choice = m_options.number;
    if (choice == 0 && count == 1) choice = 1;
    if (choice == 0 && m_terminal.IsInteractive()) {
        std::string menu =
            Quoted(m_options.location) + " names " + std::to_string(count) + " Items:\n";
        for (int i = 0; i < count; ++i) {
            const CMemoryItemList::Row& item =
                m_session.Rows().RowAt(found[static_cast<std::size_t>(i)]);
            menu += "  " + std::to_string(i + 1) + ". " + item[kColUrl] + "  " + item[kColUserId] +
                    "\n";
        }
        std::fputs(menu.c_str(), stderr);
        std::string answer;
        m_terminal.ReadLine("Which one (1-" + std::to_string(count) + ")? ", answer, false);
        choice = std::atoi(answer.c_str());
        if (choice < 1 || choice > count) return Fail(ExitStatus::Usage, "no Item chosen");
    }
    if (choice == 0) {
        return Fail(ExitStatus::Usage, "the Location " + Quoted(m_options.location) + " names " +
                                           std::to_string(count) +
                                           " Items; choose one with --number (see 'show')");
    }
    if (choice < 1 || choice > count) {
        return Fail(ExitStatus::NotFound, "the Location " + Quoted(m_options.location) + " names " +
                                              std::to_string(count) +
                                              " Item(s); --number must be 1 to " +
                                              std::to_string(count));
    }
    row = found[static_cast<std::size_t>(choice - 1)];
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::Clip() {
    if (const ExitStatus status = Unlock(false); status != ExitStatus::Ok) return status;
    int row = 0;
    if (const ExitStatus status = SelectRow(row); status != ExitStatus::Ok) return status;
    const CClipboardTool tool = CClipboardTool::Find();
    if (!tool.IsFound()) {
        return Fail(ExitStatus::Failed,
                    "no clipboard tool: install wl-clipboard (Wayland) or xclip (X11)");
    }
    const int seconds = m_session.ClipSeconds();
    // A copy of the one secret needed, then every other plain text goes
    // and the store closes before the clipboard tools run.
    std::string password = m_session.Rows().RowAt(row)[kColPassword];
    m_session.Rows().RemoveAllRows();
    m_session.Vault().Lock();
    if (!tool.Copy(password)) {
        WipeString(password);
        return Fail(ExitStatus::Failed, tool.Name() + " could not copy the Password");
    }
    const bool clears = tool.ClearLater(password, seconds);
    WipeString(password);
    std::string said =
        "Copied the Password of " + Quoted(m_options.location) + " with " + tool.Name();
    said +=
        clears ? "; it leaves the clipboard in " + std::to_string(seconds) + " seconds.\n" : ".\n";
    Print(said);
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::ReadPassword(const std::string& prompt, std::string& password,
                                       bool& typed) {
    std::string first;
    typed = m_terminal.ReadLine(prompt, first, true) && !first.empty();
    if (!typed) return ExitStatus::Ok;
    if (m_terminal.IsInteractive()) {
        std::string again;
        m_terminal.ReadLine("Password again: ", again, true);
        const bool same = again == first;
        WipeString(again);
        if (!same) {
            WipeString(first);
            return Fail(ExitStatus::Usage, "The two Passwords do not match. Nothing changed.");
        }
    }
    WipeString(password);
    password = std::move(first);
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::CheckBeforeStoring(const CMemoryItemList::Row& row, bool passwordTyped,
                                             const CMemoryItemList::Row* stored) {
    if (const std::string problem = CheckTypedFields(row, m_session.Vault().PasswordRule(), stored); !problem.empty()) {
        return Fail(ExitStatus::Usage, problem + "; nothing changed");
    }
    const std::string& charSet = m_session.Prefs().pwdChars;
    if (passwordTyped && !IsInCharSet(row[kColPassword], charSet) &&
        !m_terminal.Confirm("At least one character of the Password is not in your preferred "
                            "set (" +
                                charSet + "). Use it as this Item's Password?",
                            m_options.yes)) {
        return m_terminal.Declined("a Password outside the preferred character set");
    }
    return ExitStatus::Ok;
}

ExitStatus CItemCommands::Add() {
    if (const ExitStatus status = Unlock(true); status != ExitStatus::Ok) return status;
    CMemoryItemList::Row item;
    item[kColLocation] = m_options.location;
    for (int column = kColUrl; column < kColPassword; ++column) {
        const std::string prompt =
            std::string(kPromptNames[static_cast<std::size_t>(column)]) + ": ";
        m_terminal.ReadLine(prompt, item[static_cast<std::size_t>(column)], false);
    }
    bool typed = false;
    ExitStatus status = ReadPassword("Password (Enter makes one): ", item[kColPassword], typed);
    if (status == ExitStatus::Ok && !typed) {
        COsRandomSource random;
        const Preferences& prefs = m_session.Prefs();
        item[kColPassword] = GeneratePassword(prefs.pwdChars, prefs.length, prefs.alphaNum, random);
        if (item[kColPassword].empty()) status = Fail(ExitStatus::Usage, kEmptyCharSetMessage);
    }
    if (status == ExitStatus::Ok) status = CheckBeforeStoring(item, typed);
    if (status == ExitStatus::Ok) {
        CMemoryItemList& rows = m_session.Rows();
        const int row = rows.AppendRow(item[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, item[static_cast<std::size_t>(column)]);
        }
        status = m_session.Save();
    }
    WipeRow(item);
    if (status == ExitStatus::Ok) {
        Print("Added " + Quoted(m_options.location) +
              (typed ? ".\n" : " with a generated Password.\n"));
    }
    return status;
}

ExitStatus CItemCommands::Edit() {
    if (const ExitStatus status = Unlock(true); status != ExitStatus::Ok) return status;
    int row = 0;
    if (const ExitStatus status = SelectRow(row); status != ExitStatus::Ok) return status;
    CMemoryItemList& rows = m_session.Rows();
    CMemoryItemList::Row item = rows.RowAt(row);
    std::string answer;
    for (int column = kColLocation; column < kColPassword; ++column) {
        std::string& field = item[static_cast<std::size_t>(column)];
        const std::string prompt =
            std::string(kPromptNames[static_cast<std::size_t>(column)]) + " [" + field + "]: ";
        if (!m_terminal.ReadLine(prompt, answer, false) || answer.empty()) continue;
        if (answer == kEmptyFieldAnswer && column != kColLocation) answer.clear();
        field = answer;
    }
    bool typed = false;
    ExitStatus status = ExitStatus::Ok;
    if (m_options.generate) {
        COsRandomSource random;
        const Preferences& prefs = m_session.Prefs();
        WipeString(item[kColPassword]);
        item[kColPassword] = GeneratePassword(prefs.pwdChars, prefs.length, prefs.alphaNum, random);
        if (item[kColPassword].empty()) status = Fail(ExitStatus::Usage, kEmptyCharSetMessage);
    } else {
        status = ReadPassword("Password (Enter keeps it): ", item[kColPassword], typed);
    }
    if (status == ExitStatus::Ok) status = CheckBeforeStoring(item, typed, &rows.RowAt(row));
    if (status == ExitStatus::Ok &&
        !m_terminal.Confirm("Store the changes to " + Quoted(m_options.location) + "?",
                            m_options.yes)) {
        status = m_terminal.Declined("changing " + Quoted(m_options.location));
    }
    if (status == ExitStatus::Ok) {
        // A new Location moves the Item to its sorted place.
        if (item[kColLocation] != rows.RowAt(row)[kColLocation]) {
            rows.RemoveRow(row);
            row = rows.AppendRow(item[kColLocation]);
        }
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            rows.SetText(row, column, item[static_cast<std::size_t>(column)]);
        }
        status = m_session.Save();
    }
    if (status == ExitStatus::Ok) Print("Changed " + Quoted(item[kColLocation]) + ".\n");
    WipeRow(item);
    return status;
}

ExitStatus CItemCommands::Remove() {
    if (const ExitStatus status = Unlock(true); status != ExitStatus::Ok) return status;
    int row = 0;
    if (const ExitStatus status = SelectRow(row); status != ExitStatus::Ok) return status;
    if (!m_terminal.Confirm("Delete the Item " + Quoted(m_options.location) + "?", m_options.yes)) {
        return m_terminal.Declined("deleting " + Quoted(m_options.location));
    }
    m_session.Rows().RemoveRow(row);
    const ExitStatus status = m_session.Save();
    if (status == ExitStatus::Ok) Print("Deleted " + Quoted(m_options.location) + ".\n");
    return status;
}
