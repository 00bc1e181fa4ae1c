// Single-line boxes that take an unsigned decimal number: the viewer's page
// number and line width, the save dialog's page range.
#pragma once

#include <QString>
#include <cstdint>
#include <limits>
#include <optional>

class QLineEdit;
class QWidget;

namespace tessary {

// The message of a box that doesn't hold a number it can take.
inline constexpr const char* kPositiveIntegerMessage = "Please enter a positive integer.";

// The value of an unsigned decimal number with blanks or tabs allowed around
// it; absent for anything else, a sign included, and for a number beyond 32 bits.
std::optional<std::uint32_t> ParseUnsignedNumber(const QString& text);

// A box that lets only digits be typed in (its text can still be set to
// anything, and is checked when read).
QLineEdit* CreateNumberBox(QWidget* parent);

// Reads the box into value. When it doesn't hold a number up to maximum, shows
// kPositiveIntegerMessage (exclamation icon, the application's name as
// caption), moves the focus to the box with its text selected, leaves value
// as it was and returns false.
bool ReadNumberBox(QLineEdit& box, std::uint32_t& value,
                   std::uint32_t maximum = std::numeric_limits<std::uint32_t>::max());

// Writes a value into a box.
void WriteNumberBox(QLineEdit& box, std::uint32_t value);

}  // namespace tessary
