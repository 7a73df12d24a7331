#pragma once

#include <functional>

namespace varnex::ui {

// Ends the whole program at once: no closing event of any window runs. Callers return right
// after it, so that a test, which replaces the ending, sees the program stop where it would.
void EndProgram();

// Tests observe the ending instead of having their process end; an empty handler restores
// the real ending.
void SetEndProgramHandler(std::function<void()> handler);

}  // namespace varnex::ui
