// Single-line boxes that take an unsigned decimal number: the viewer's page
// number and line width, the save dialog's page range.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;
class QWidget;

namespace tessary {

// The message of a box that doesn't hold a number it can take.
inline constexpr const char* kPositiveIntegerMessage = "Please enter a positive integer.";

// The value of an unsigned decimal number with blanks or tabs allowed around
// it, or at most cap: a larger number, of any length, reads as cap. Absent for
// anything else, a sign included.
std::optional<std::uint64_t> ParseUnsignedNumber(const QString& text, std::uint64_t cap);

// A box that lets only digits be typed in (its text can still be set to
// anything, and is checked when read).
QLineEdit* CreateNumberBox(QWidget* parent);

// Reads the box into value. When it doesn't hold an unsigned 32-bit number,
// shows kPositiveIntegerMessage (exclamation icon, the application's name as
// caption), moves the focus to the box with its text selected, leaves value
// as it was and returns false.
bool ReadNumberBox(QLineEdit& box, std::uint32_t& value);
// The same for a box where any larger number means cap.
bool ReadCappedNumberBox(QLineEdit& box, std::uint32_t& value, std::uint32_t cap);

// Writes a value into a box.
void WriteNumberBox(QLineEdit& box, std::uint32_t value);

}  // namespace tessary
