#pragma once

namespace varnex::ui {

// Lets the windows process every pending event (input, painting, timers), then returns.
void YieldToEvents();

}  // namespace varnex::ui
