// The output code page the user's locale asks for.
#pragma once

#include <optional>
#include <string>

#include "platform/CodePage.h"

namespace tessary {

// The code page of the character set of a locale ("C", "C.UTF-8",
// "de_DE.ISO-8859-1"); the empty name means the locale the environment
// chooses (LC_ALL, then LC_CTYPE, then LANG), as setlocale(LC_CTYPE, "")
// resolves it. Absent when the locale isn't installed. The process's own
// locale is left alone.
std::optional<CodePage> CodePageForLocale(const std::string& localeName);

// The system's code page: that of the environment's locale, read on the first
// call and kept for the rest of the process (thread-safe). A locale that isn't
// installed counts as the C locale, whose character set is ASCII (code page 0).
const CodePage& GetSystemCodePage();

}  // namespace tessary
