#include "tools/hostwindow/HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace velmora::host {

namespace {

// How long a server may take to show a newly mapped window before we give up on it.
constexpr auto kMapTimeout = std::chrono::seconds(2);

// Hosts give plug-in editors a window the user cannot resize: the editor has one size.
void fixSize(Display* display, Window window, int width, int height) {
    XSizeHints* hints = XAllocSizeHints();
    if (hints == nullptr) return;
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
}

bool waitUntilMapped(Display* display, Window window) {
    const auto deadline = std::chrono::steady_clock::now() + kMapTimeout;
    XEvent event;
    while (std::chrono::steady_clock::now() < deadline) {
        if (XCheckTypedWindowEvent(display, window, MapNotify, &event)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

struct HostWindow::Native {
    Display* display;
    Window window = 0;
};

HostWindow::HostWindow(std::unique_ptr<Native> native) : native_(std::move(native)) {}

std::unique_ptr<HostWindow> HostWindow::connect() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    return std::unique_ptr<HostWindow>(new HostWindow(std::make_unique<Native>(display)));
}

HostWindow::~HostWindow() {
    destroy();
    XCloseDisplay(native_->display);
}

std::uintptr_t HostWindow::id() const {
    return native_->window;
}

bool HostWindow::open(int width, int height, const std::string& title, std::uint32_t background) {
    destroy();
    if (width <= 0 || height <= 0) return false;
    const Window window =
        XCreateSimpleWindow(native_->display, DefaultRootWindow(native_->display), 0, 0,
                            unsigned(width), unsigned(height), 0, 0, background);
    if (window == 0) return false;
    native_->window = window;
    width_ = width;
    height_ = height;
    XStoreName(native_->display, window, title.c_str());
    fixSize(native_->display, window, width, height);
    XSelectInput(native_->display, window, StructureNotifyMask | ExposureMask);
    XMapWindow(native_->display, window);
    XFlush(native_->display);
    if (!waitUntilMapped(native_->display, window)) {
        destroy();
        return false;
    }
    return true;
}

void HostWindow::destroy() {
    if (native_->window == 0) return;
    XDestroyWindow(native_->display, native_->window);
    XSync(native_->display, False);
    native_->window = 0;
    width_ = height_ = 0;
}

void HostWindow::pumpEvents() {
    XEvent event;
    while (XPending(native_->display) > 0)
        XNextEvent(native_->display, &event);
}

WindowImage HostWindow::capture() const {
    if (native_->window == 0) return {};
    // The server refuses to read a window that is not on screen; ask first rather than
    // provoke the error.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(native_->display, native_->window, &attributes) ||
        attributes.map_state != IsViewable) {
        return {};
    }
    XImage* image = XGetImage(native_->display, native_->window, 0, 0, unsigned(width_),
                              unsigned(height_), AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    WindowImage result{width_, height_, {}};
    result.pixels.reserve(std::size_t(width_) * std::size_t(height_));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            result.pixels.push_back(std::uint32_t(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
    return result;
}

int HostWindow::childCount() const {
    if (native_->window == 0) return 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(native_->display, native_->window, &root, &parent, &children, &count)) return 0;
    if (children != nullptr) XFree(children);
    return int(count);
}

} // namespace velmora::host
