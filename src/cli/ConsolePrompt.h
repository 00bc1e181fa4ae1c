// How the document layer talks to the user of tessary-convert: its messages
// go to standard error with the file name in front, and a password comes
// from --password, from the terminal, or not at all.
#pragma once

#include <optional>
#include <string>

namespace tessary {

class ProgressLine;

enum class PasswordSource {
    Given,     // --password: answered once, so a wrong one fails instead of asking forever
    Terminal,  // asked on the terminal, as often as the document asks
    None,      // no way to ask: the file fails
};

// The user data of ConsolePrompt, one per file.
struct ConsolePromptState {
    std::string programName;
    std::string file;
    PasswordSource passwordSource = PasswordSource::None;
    std::string password;              // for Given
    ProgressLine* progress = nullptr;  // wiped before anything is written
    bool passwordGiven = false;
};

// The DocumentCallback of the converter; userData is a ConsolePromptState.
int ConsolePrompt(void* userData, int kind, std::string& argument);

// "PROGRAM: FILE: message" on standard error.
void ReportFileError(const std::string& programName, const std::string& file,
                     const std::string& message);

}  // namespace tessary
