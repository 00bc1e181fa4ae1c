// tessary-convert: the pages of PDF files into text files, from the command line.
#include <cstdio>

#include "cli/CommandLine.h"
#include "cli/ConvertCommand.h"

int main(int argc, char* argv[]) {
    using namespace tessary;
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    const std::string& program = parsed.options.programName;
    switch (parsed.action) {
        case CliAction::ShowHelp:
            std::fputs(UsageText(program).c_str(), stdout);
            return kExitConverted;
        case CliAction::ShowVersion:
            std::fputs(VersionText().c_str(), stdout);
            return kExitConverted;
        case CliAction::UsageError:
            std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                         parsed.error.c_str(), program.c_str());
            return kExitUsage;
        case CliAction::Convert:
            break;
    }
    return RunConversions(parsed.options);
}
