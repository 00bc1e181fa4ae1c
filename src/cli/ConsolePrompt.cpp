#include "cli/ConsolePrompt.h"

#include "cli/OrderedConsole.h"
#include "cli/TerminalPassword.h"
#include "pdf/PdfDocument.h"

namespace tessary {

void ConsolePromptState::ReportError(const std::string& message) const {
    console->WriteLine(fileIndex, programName + ": " + file + ": " + message);
}

int ConsolePrompt(void* userData, int kind, std::string& argument) {
    auto& state = *static_cast<ConsolePromptState*>(userData);
    if (kind == kShowMessage) {
        state.ReportError(argument);
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
            // One question at a time, after the messages of the files before.
            state.console->WaitForTurn(state.fileIndex);
            state.console->ClearProgress();
            if (std::optional<std::string> typed =
                    AskPasswordOnTerminal("Password for " + state.file + ": ")) {
                argument = std::move(*typed);
                return 1;
            }
            return 0;
        case PasswordSource::None:
            state.ReportError("The document is protected by a password; give it with --password.");
            return 0;
    }
    return 0;
}

}  // namespace tessary
