#include "cli/ExitStatus.h"

#include <cstdio>
#include <string>

#include "cli/TextRules.h"

ExitStatus Fail(ExitStatus status, std::string_view message) {
    const std::string line = "keynest-cli: " + OneLine(message) + "\n";
    std::fputs(line.c_str(), stderr);
    return status;
}
