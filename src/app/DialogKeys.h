// The Enter key in the program's dialogs: it presses the push button that has
// the focus, and otherwise the dialog's default button, if it has one.
//
// Qt gets there only with auto-default buttons, and a dialog shown without a
// default button then makes its first auto-default button the default one.
// So the dialogs turn autoDefault off on every button, mark their default
// button (if any) with setDefault, and let this function handle Enter.
#pragma once

class QKeyEvent;
class QWidget;

namespace tessary {

// Presses the focused push button of `dialog` for Enter or Return (without
// modifiers other than the keypad's) and returns true; false for any other key
// or when the focus is elsewhere, so the dialog's own handling goes on.
bool PressFocusedButton(QWidget* dialog, QKeyEvent* event);

}  // namespace tessary
