#include "ProgramEnd.h"

#include <unistd.h>

#include <cstdio>

namespace varnex::ui {

namespace {
std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}
}  // namespace

void EndProgram() {
    if (Handler()) {
        Handler()();
        return;
    }
    std::fflush(nullptr);
    _exit(0);
}

void SetEndProgramHandler(std::function<void()> handler) { Handler() = std::move(handler); }

}  // namespace varnex::ui
