#pragma once

#include <string>

/// What the command line asked for; each command reads the parts it has.
struct CliOptions {
    std::string storePath;      ///< --store: another store than the desktop program's
    std::string location;       ///< the LOCATION argument
    std::string file;           ///< the FILE argument of export and import
    int number = 0;             ///< --number: which Item of a Location, from 1; 0 none given
    bool yes = false;           ///< --yes: answer every question with Yes
    bool longList = false;      ///< list --long
    bool showPassword = false;  ///< show --password
    bool generate = false;      ///< edit --generate: a new generated Password
    bool clear = false;         ///< import --clear
    std::string format;         ///< export --format: "classic" or "hardened"; empty the vault's own
    bool partial = false;
    std::string from;           ///< import --from: another program's format, or "auto"
    bool dryRun = false;        ///< import --dry-run: show what would be imported
    bool csv = false;           ///< export --csv: every Item in plain text       ///< import --partial: the readable records of a damaged file
    int length = 0;             ///< generate --length; 0 the stored Length
    bool charsGiven = false;    ///< generate --chars was given
    std::string chars;          ///< generate --chars
};
