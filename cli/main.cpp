// keynest-cli: the Keynest vault from a terminal and from scripts.

#include <CLI/CLI.hpp>

#include <stdexcept>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "cli/FileCommands.h"
#include "cli/FormatCommands.h"
#include "cli/HealthCommand.h"
#include "cli/ItemCommands.h"
#include "cli/PasswordCommands.h"
#include "cli/SelfTest.h"
#include "cli/Terminal.h"
#include "vault/PasswordSealer.h"
#include "vault/ProcessHardening.h"

namespace {

constexpr const char* kFooter =
    "The UnLock password is read from the terminal without echo, or as one line from standard "
    "input when that is not a terminal. Exit status: 0 success, 1 usage or refused input, 2 "
    "wrong password or store in use, 3 not found, 4 store, file or tool error.\n";

void AddStoreOption(CLI::App& app, CliOptions& options) {
    app.add_option("--store", options.storePath,
                   "The store file to use instead of the desktop program's")
        ->type_name("FILE");
}

CLI::App* AddLocationCommand(CLI::App& app, const char* name, const char* description,
                             CliOptions& options) {
    CLI::App* command = app.add_subcommand(name, description);
    command->add_option("LOCATION", options.location, "The Item's Location")->required();
    return command;
}

// Says what may be given instead of the parser's general number range.
std::string CheckItemNumber(std::string& text) {
    std::size_t used = 0;
    int number = 0;
    try {
        number = std::stoi(text, &used);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || number < 1) {
        return "must be a whole number from 1 up, as 'show' numbers the Items of a Location; "
               "not \"" + text + "\"";
    }
    return {};
}

void AddNumberOption(CLI::App* command, CliOptions& options) {
    command
        ->add_option("-n,--number", options.number,
                     "Which of several Items with this Location, counted from 1 as 'show' "
                     "numbers them")
        ->check(CLI::Validator(CheckItemNumber, "N"));
}

void AddYesOption(CLI::App* command, CliOptions& options) {
    command->add_flag("-y,--yes", options.yes, "Answer every question with Yes");
}

// The commands of the command line, to ask which one was given.
struct Commands {
    CLI::App* list = nullptr;
    CLI::App* show = nullptr;
    CLI::App* clip = nullptr;
    CLI::App* add = nullptr;
    CLI::App* edit = nullptr;
    CLI::App* remove = nullptr;
    CLI::App* generate = nullptr;
    CLI::App* exportFile = nullptr;
    CLI::App* import = nullptr;
    CLI::App* passwd = nullptr;
    CLI::App* harden = nullptr;
    CLI::App* unharden = nullptr;
    CLI::App* health = nullptr;
    CLI::App* selftest = nullptr;
};

void DeclareItemCommands(CLI::App& app, CliOptions& options, Commands& commands) {
    commands.list = app.add_subcommand("list", "Print the Locations, one per line");
    commands.list->add_flag("-l,--long", options.longList, "Add each Item's URL and User ID in columns");

    commands.show = AddLocationCommand(
        app, "show", "Print the Item's fields except its Password; all Items of the Location", options);
    commands.show->add_flag("-p,--password", options.showPassword, "Print the Password too");
    AddNumberOption(commands.show, options);

    commands.clip = AddLocationCommand(
        app, "clip", "Copy the Item's Password to the clipboard (wl-copy or xclip) for a while", options);
    AddNumberOption(commands.clip, options);

    commands.add = AddLocationCommand(
        app, "add", "Add an Item: asks for URL, User ID, Hint, Note and Password (none typed: one is made)",
        options);
    AddYesOption(commands.add, options);

    commands.edit = AddLocationCommand(
        app, "edit", "Change an Item: asks for each field (Enter keeps it, '-' empties an optional one)",
        options);
    commands.edit->add_flag("-g,--generate", options.generate, "Give the Item a new generated Password");
    AddNumberOption(commands.edit, options);
    AddYesOption(commands.edit, options);

    commands.remove = AddLocationCommand(app, "rm", "Delete an Item", options);
    AddNumberOption(commands.remove, options);
    AddYesOption(commands.remove, options);
}

void DeclareFileCommands(CLI::App& app, CliOptions& options, Commands& commands) {
    CLI::App* exportFile = commands.exportFile = app.add_subcommand("export", "Write the Items to an export file");
    exportFile->add_option("FILE", options.file, "The file (.kne is added when it has no extension)")->required();
    exportFile
        ->add_option("--format", options.format,
                     "hardened (an Argon2id key, checked for changes) or classic (weaker: 16-byte "
                     "limits); the vault's own by default")
        ->check(CLI::IsMember({"hardened", "classic"}));
    exportFile->add_flag("--csv", options.csv, "Write a plain-text CSV file (Bitwarden's columns) for another program");
    AddYesOption(exportFile, options);

    CLI::App* import = commands.import = app.add_subcommand("import", "Add the Items of an export file");
    import->add_option("FILE", options.file, "The export file")->required();
    import->add_flag("--clear", options.clear, "Replace the current Items, first saved to savedbak.kne beside FILE");
    import->add_option("--from", options.from,
                       "Another program's file: keepassxc-csv, bitwarden-csv, bitwarden-json, firefox-csv, "
                       "chrome-csv, csv, or auto (recognised; Keynest's own files first)")
        ->type_name("FORMAT");
    import->add_flag("--dry-run", options.dryRun, "Only show what would be imported and left out");
    import->add_flag("--partial", options.partial, "Import the readable records of a file that cannot be read whole");
    AddYesOption(import, options);
}

void DeclareVaultCommands(CLI::App& app, CliOptions& options, Commands& commands) {
    commands.generate = app.add_subcommand("generate", "Print a new password made under the stored preferences");
    commands.generate->add_option("--length", options.length, "Its length, 4 to 16 (64 in a hardened vault)")->type_name("N");
    commands.generate->add_option("--chars", options.chars, "The characters to draw from")->type_name("SET");

    commands.passwd =
        app.add_subcommand("passwd", "Choose the UnLock password, or change it and re-seal every Item");
    AddYesOption(commands.passwd, options);
    commands.harden = app.add_subcommand(
        "harden", "Convert the vault to the hardened format: an Argon2id key, authenticated Twofish, no 16-byte limits");
    commands.unharden = app.add_subcommand(
        "unharden", "Convert a hardened vault back to the first format, when every password fits its 16 bytes");
    commands.health = app.add_subcommand(
        "health", "Report weak, shared and UnLock-like Passwords, one line per finding (exit 1 when any)");
    commands.selftest = app.add_subcommand("selftest", "Check the cipher against its published known answers");
}

// Parses the command line; an exit code when the program ends here (help,
// version, a usage error), -1 when a command is to run.
int ParseCommandLine(CLI::App& app, int argc, char** argv) {
    // A mistyped command would otherwise be reported as a missing one.
    const std::string first = argc > 1 ? argv[1] : "";
    const auto isFirst = [&first](const CLI::App* command) { return command->get_name() == first; };
    if (!first.empty() && first[0] != '-' && app.get_subcommands(isFirst).empty()) {
        return static_cast<int>(Fail(ExitStatus::Usage, "unknown command \"" + first + "\" (see keynest-cli --help)"));
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version are printed in full; real errors in one line.
        if (error.get_exit_code() == 0) return app.exit(error);
        return static_cast<int>(Fail(ExitStatus::Usage, std::string(error.what()) + " (see keynest-cli --help)"));
    }
    return -1;
}

ExitStatus RunCommand(const Commands& commands, const CliOptions& options) {
    CTerminal terminal;
    CCliSession session(options.storePath, terminal);
    CItemCommands items(session, terminal, options);
    CFileCommands files(session, terminal, options);
    CPasswordCommands passwords(session, terminal, options);
    CFormatCommands formats(session);
    if (commands.list->parsed()) return items.List();
    if (commands.show->parsed()) return items.Show();
    if (commands.clip->parsed()) return items.Clip();
    if (commands.add->parsed()) return items.Add();
    if (commands.edit->parsed()) return items.Edit();
    if (commands.remove->parsed()) return items.Remove();
    if (commands.generate->parsed()) return passwords.Generate();
    if (commands.exportFile->parsed()) return options.csv ? files.ExportCsv() : files.Export();
    if (commands.import->parsed()) {
        const bool foreign =
            (!options.from.empty() && options.from != "auto") || CFileCommands::IsForeignFile(options.file);
        return foreign ? files.ImportForeign() : files.Import();
    }
    if (commands.passwd->parsed()) return passwords.Passwd();
    if (commands.harden->parsed()) return formats.Harden();
    if (commands.unharden->parsed()) return formats.Unharden();
    if (commands.health->parsed()) return RunHealthReport(session);
    if (commands.selftest->parsed()) {
        CPasswordSealer sealer;
        return RunSelfTest(sealer);
    }
    return ExitStatus::Usage;
}

}  // namespace

int main(int argc, char** argv) {
    // The plain Items pass through this process's memory too.
    RestartWithFreedMemoryWiped(argv);
    ForbidMemoryDumps();
    CliOptions options;
    CLI::App app("The Keynest vault from a terminal and from scripts.", "keynest-cli");
    app.footer(kFooter);
    app.set_version_flag("--version", "keynest-cli 1.4");
    app.require_subcommand(1, 1);
    // Options of the whole program (--store) may follow the command too.
    app.fallthrough();
    AddStoreOption(app, options);
    Commands commands;
    DeclareItemCommands(app, options, commands);
    DeclareFileCommands(app, options, commands);
    DeclareVaultCommands(app, options, commands);
    if (const int exitCode = ParseCommandLine(app, argc, argv); exitCode >= 0) return exitCode;
    options.charsGiven = commands.generate->count("--chars") > 0;
    const ExitStatus status = RunCommand(commands, options);
    std::fflush(stdout);
    return static_cast<int>(status);
}
