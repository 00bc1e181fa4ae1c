// The program's answer to the document's callback: the document's messages
// and the password of an encrypted file.
#pragma once

#include <QString>
#include <string>

namespace tessary {

// kShowMessage: shows `argument` in a message box with the exclamation icon
// and the application name as caption; returns 0.
// kAskPassword: shows the password dialog. OK stores the typed password in
// `argument` (the empty one too) and returns 1; Cancel, Esc and the close box
// leave `argument` alone and return 0.
// Any other kind: returns 0. `userData` is not used: the boxes belong to the
// window that is active at the time.
int PasswordPrompt(void* userData, int kind, std::string& argument);

// The bytes of a typed password. A password whose characters all lie in
// Latin-1 becomes one byte per character: the standard security handler
// hashes the password's bytes, and the passwords of 40-bit encryption are
// PDFDocEncoding strings, which agree with Latin-1 on every printable
// character outside 0x80..0xA0. Anything else (Greek, Cyrillic, CJK, ...)
// can't be written that way at all and is given as UTF-8, which is what other
// tools commonly produce for such passwords.
std::string PasswordBytes(const QString& password);

}  // namespace tessary
