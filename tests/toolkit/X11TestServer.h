// The test's own connection to the X server, acting as host and user at once: it makes parent
// windows the way a host does, reads pixels back, and moves the pointer and types through
// XTest. Every X error that reaches a handler while it lives is counted: the backend must trap
// its own, so the count stays zero.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::toolkit::testing {

class X11TestServer {
  public:
    X11TestServer() : display_(connect()) {
        if (!display_) return;
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        XVisualInfo info;
        usable_ = XTestQueryExtension(display_, &event, &error, &major, &minor) &&
                  XMatchVisualInfo(display_, DefaultScreen(display_), 24, TrueColor, &info);
        ownDisplay() = display_;
        previousHandler_ = XSetErrorHandler(&countError);
        errors() = 0;
    }
    ~X11TestServer() {
        if (!display_) return;
        for (Window parent : parents_)
            XDestroyWindow(display_, parent);
        XSync(display_, False);
        XSetErrorHandler(previousHandler_);
        XCloseDisplay(display_);
    }
    X11TestServer(const X11TestServer&) = delete;
    X11TestServer& operator=(const X11TestServer&) = delete;

    // An X server with XTest and 24-bit colour answered.
    bool usable() const { return display_ && usable_; }
    Display* display() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    // Errors of other connections than this one that reached the handler since the start: the
    // backend's, let through to what stands for the host's handler.
    static int& errors() {
        static int count = 0;
        return count;
    }
    // The last error counted, for the message of a failing check.
    static XErrorEvent& lastError() {
        static XErrorEvent error{};
        return error;
    }
    static std::string describeLastError() {
        return "error " + std::to_string(lastError().error_code) + " of request " +
               std::to_string(lastError().request_code);
    }
    bool ownHandlerInstalled() const {
        const XErrorHandler current = XSetErrorHandler(&countError);
        return current == &countError;
    }

    // A top-level window, as a host's editor window; some hosts map it only later.
    Window makeParent(int x, int y, int width, int height, bool mapped = true) {
        const Window parent = XCreateSimpleWindow(display_, root(), x, y, unsigned(width),
                                                  unsigned(height), 0, 0, 0x404040);
        if (mapped) XMapWindow(display_, parent);
        XSync(display_, False);
        parents_.push_back(parent);
        return parent;
    }
    void destroy(Window window) {
        std::erase(parents_, window);
        XDestroyWindow(display_, window);
        XSync(display_, False);
    }

    struct Tree {
        Window parent = 0;
        std::vector<Window> children;
    };
    Tree tree(Window window) const {
        Window root = 0;
        Tree result;
        Window* list = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, window, &root, &result.parent, &list, &count)) return {};
        result.children.assign(list, list + count);
        if (list) XFree(list);
        return result;
    }
    std::vector<Window> children(Window window) const { return tree(window).children; }
    Window parentOf(Window window) const { return tree(window).parent; }
    XWindowAttributes attributes(Window window) const {
        XWindowAttributes result{};
        XGetWindowAttributes(display_, window, &result);
        return result;
    }
    // Mapped windows above everything, as pop-ups are.
    std::vector<Window> popups() const {
        std::vector<Window> result;
        for (Window window : children(root())) {
            const XWindowAttributes a = attributes(window);
            if (a.override_redirect && a.map_state == IsViewable) result.push_back(window);
        }
        return result;
    }

    // The colour at a window pixel as 0xRRGGBB.
    unsigned long pixel(Window window, int x, int y) const {
        XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return ~0ul;
        const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }
    void paint(Window window, unsigned long colour) {
        GC gc = XCreateGC(display_, window, 0, nullptr);
        XSetForeground(display_, gc, colour);
        const XWindowAttributes a = attributes(window);
        XFillRectangle(display_, window, gc, 0, 0, unsigned(a.width), unsigned(a.height));
        XFreeGC(display_, gc);
        XSync(display_, False);
    }

    // Where a window pixel lies on the screen.
    XPoint onScreen(Window window, int x, int y) const {
        int sx = 0;
        int sy = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, root(), x, y, &sx, &sy, &child);
        return {short(sx), short(sy)};
    }
    void moveTo(Window window, int x, int y) {
        const XPoint p = onScreen(window, x, y);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), p.x, p.y, CurrentTime);
        XSync(display_, False);
    }
    void button(unsigned button, bool down) {
        XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
        XSync(display_, False);
    }
    void click(Window window, int x, int y, unsigned which = Button1) {
        moveTo(window, x, y);
        button(which, true);
        button(which, false);
    }
    // Press at one point, move to the other in `steps` steps, release there.
    void drag(Window window, XPoint from, XPoint to, int steps = 5) {
        moveTo(window, from.x, from.y);
        button(Button1, true);
        for (int i = 1; i <= steps; ++i)
            moveTo(window, from.x + (to.x - from.x) * i / steps,
                   from.y + (to.y - from.y) * i / steps);
        button(Button1, false);
    }
    void key(KeySym symbol, bool down) {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), down ? True : False,
                          CurrentTime);
        XSync(display_, False);
    }
    void tap(KeySym symbol) {
        key(symbol, true);
        key(symbol, false);
    }

    // Runs `step` (the frames' idle) until `done` holds, for at most two seconds.
    static bool waitFor(const std::function<void()>& step, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            step();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

  private:
    // A server resets when its last client leaves (the test before this one), and refuses
    // connections meanwhile; it takes up to a few hundred milliseconds on a busy machine.
    static Display* connect() {
        if (!std::getenv("DISPLAY")) return nullptr;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        Display* display = XOpenDisplay(nullptr);
        while (!display && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            display = XOpenDisplay(nullptr);
        }
        return display;
    }

    // The test's own requests may race the backend's (a window it lists is destroyed before
    // it asks about it): those are not counted.
    static int countError(Display* display, XErrorEvent* error) {
        if (display == ownDisplay()) return 0;
        ++errors();
        lastError() = *error;
        return 0;
    }
    static Display*& ownDisplay() {
        static Display* display = nullptr;
        return display;
    }

    Display* display_;
    bool usable_ = false;
    XErrorHandler previousHandler_ = nullptr;
    std::vector<Window> parents_;
};

} // namespace velmora::toolkit::testing
