// Start-up and end of Corvel: one instance, one frame with its view, the
// message loop.
#pragma once

namespace corvel::ui {

// Runs the program; the result is the process exit code.
int RunCorvel();

}  // namespace corvel::ui
