#pragma once
// An error that reaches the user from a command: a message box with the program's
// title and an error icon, where the toolkit's own error box would have shown it.

#include <exception>

namespace app {

void ShowError(const std::exception& error);

}  // namespace app
