#include "Yield.h"

#include <QCoreApplication>

namespace varnex::ui {

void YieldToEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace varnex::ui
