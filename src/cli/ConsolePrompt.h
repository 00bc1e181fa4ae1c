// How the document layer talks to the user of tessary-convert: its messages
// go to standard error with the file name in front, and a password comes
// from --password, from the terminal, or not at all.
#pragma once

#include <cstddef>
#include <string>

namespace tessary {

class OrderedConsole;

enum class PasswordSource {
    Given,     // --password: answered once, so a wrong one fails instead of asking forever
    Terminal,  // asked on the terminal, as often as the document asks
    None,      // no way to ask: the file fails
};

// The user data of ConsolePrompt, one per file.
struct ConsolePromptState {
    std::string programName;
    std::string file;  // the file's name in messages
    PasswordSource passwordSource = PasswordSource::None;
    std::string password;  // for Given
    OrderedConsole* console = nullptr;
    std::size_t fileIndex = 0;  // the file's place in the console's order
    bool passwordGiven = false;

    // "PROGRAM: FILE: message" as the file's line on the console.
    void ReportError(const std::string& message) const;
};

// The DocumentCallback of the converter; userData is a ConsolePromptState.
int ConsolePrompt(void* userData, int kind, std::string& argument);

}  // namespace tessary
