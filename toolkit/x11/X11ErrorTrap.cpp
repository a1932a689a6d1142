#include "toolkit/x11/X11ErrorTrap.h"

#include <atomic>

namespace velmora::toolkit {
namespace {

// Xlib's error callback carries no user data, so the trap in force has to be found from here:
// the innermost one of this thread, and the handler that was there before the outermost one,
// for errors of connections that are not ours (possibly read on another of the host's threads).
thread_local X11ErrorTrap* innermostTrap = nullptr;
std::atomic<XErrorHandler> hostHandler{nullptr};

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display)
    : display_(display), outer_(innermostTrap), previous_(XSetErrorHandler(&handle)) {
    if (!outer_) hostHandler.store(previous_);
    innermostTrap = this;
}

X11ErrorTrap::~X11ErrorTrap() {
    innermostTrap = outer_;
    XSetErrorHandler(previous_);
}

bool X11ErrorTrap::sync() {
    XSync(display_, False);
    return errors_ == 0;
}

int X11ErrorTrap::handle(Display* display, XErrorEvent* error) {
    for (X11ErrorTrap* trap = innermostTrap; trap; trap = trap->outer_) {
        if (trap->display_ == display) {
            ++trap->errors_;
            return 0;
        }
    }
    const XErrorHandler host = hostHandler.load();
    return host && host != &handle ? host(display, error) : 0;
}

} // namespace velmora::toolkit
