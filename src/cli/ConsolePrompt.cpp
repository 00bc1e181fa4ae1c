#include "cli/ConsolePrompt.h"

#include <cstdio>

#include "cli/ProgressLine.h"
#include "cli/TerminalPassword.h"
#include "pdf/PdfDocument.h"

namespace tessary {

void ReportFileError(const std::string& programName, const std::string& file,
                     const std::string& message) {
    const std::string line = programName + ": " + file + ": " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int ConsolePrompt(void* userData, int kind, std::string& argument) {
    auto& state = *static_cast<ConsolePromptState*>(userData);
    if (state.progress) {
        state.progress->Clear();
    }
    if (kind == kShowMessage) {
        ReportFileError(state.programName, state.file, argument);
        return 0;
    }
    if (kind != kAskPassword) {
        return 0;
    }
    switch (state.passwordSource) {
        case PasswordSource::Given:
            if (state.passwordGiven) {
                return 0;
            }
            state.passwordGiven = true;
            argument = state.password;
            return 1;
        case PasswordSource::Terminal:
            if (std::optional<std::string> typed =
                    AskPasswordOnTerminal("Password for " + state.file + ": ")) {
                argument = std::move(*typed);
                return 1;
            }
            return 0;
        case PasswordSource::None:
            ReportFileError(state.programName, state.file,
                            "The document is protected by a password; give it with --password.");
            return 0;
    }
    return 0;
}

}  // namespace tessary
