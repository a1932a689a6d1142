#include "toolkit/x11/X11Display.h"

#include "toolkit/x11/X11ErrorTrap.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <utility>

namespace velmora::toolkit {
namespace {

constexpr int kDepth = 24;
constexpr int kBitsPerPixel = 32;

constexpr long kChildEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | LeaveWindowMask | KeyPressMask | FocusChangeMask |
                              StructureNotifyMask;
constexpr long kPopupEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask;
constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

// The framebuffer's 0xAARRGGBB words, as they lie in memory, need these masks and 32 bits per
// pixel to go to the server without conversion (the alpha byte is padding to it).
bool matchesFramebuffer(const XVisualInfo& info) {
    return info.red_mask == 0xFF0000 && info.green_mask == 0xFF00 && info.blue_mask == 0xFF;
}

bool hasPixelFormat(Display* display, int depth, int bitsPerPixel) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    if (!formats) return false;
    const bool found = std::any_of(formats, formats + count, [&](const XPixmapFormatValues& f) {
        return f.depth == depth && f.bits_per_pixel == bitsPerPixel;
    });
    XFree(formats);
    return found;
}

// An image header over the framebuffer's own memory: nothing is copied or allocated, so there
// is nothing to free either.
XImage imageOver(const Framebuffer& pixels, Visual* visual) {
    XImage image{};
    image.width = pixels.width();
    image.height = pixels.height();
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<Pixel*>(pixels.pixels().data()));
    image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    image.bitmap_unit = kBitsPerPixel;
    image.bitmap_bit_order = image.byte_order;
    image.bitmap_pad = kBitsPerPixel;
    image.depth = kDepth;
    image.bytes_per_line = pixels.width() * int(sizeof(Pixel));
    image.bits_per_pixel = kBitsPerPixel;
    image.red_mask = visual->red_mask;
    image.green_mask = visual->green_mask;
    image.blue_mask = visual->blue_mask;
    return image;
}

} // namespace

std::unique_ptr<X11Display> X11Display::connect() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::make_unique<X11Display>(display);
}

X11Display::~X11Display() {
    {
        X11ErrorTrap trap(display_);
        for (const Target& target : targets_)
            XDestroyWindow(display_, target.window);
        if (gc_) XFreeGC(display_, gc_);
        freeColormap();
        trap.sync();
    }
    XCloseDisplay(display_);
}

void X11Display::freeColormap() {
    if (ownsColormap_) XFreeColormap(display_, colormap_);
    colormap_ = 0;
    ownsColormap_ = false;
}

bool X11Display::prepareFor(Window parent) {
    X11ErrorTrap trap(display_);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, parent, &attributes) || trap.failed()) return false;
    const int screen = XScreenNumberOfScreen(attributes.screen);
    XVisualInfo info;
    if (!XMatchVisualInfo(display_, screen, kDepth, TrueColor, &info) ||
        !matchesFramebuffer(info) || !hasPixelFormat(display_, kDepth, kBitsPerPixel))
        return false;
    freeColormap();
    root_ = RootWindow(display_, screen);
    visual_ = info.visual;
    if (visual_ == DefaultVisual(display_, screen)) {
        colormap_ = DefaultColormap(display_, screen);
    } else {
        colormap_ = XCreateColormap(display_, root_, visual_, AllocNone);
        ownsColormap_ = true;
    }
    return true;
}

Window X11Display::createWindow(Window parent, const PixelRect& area, PlatformEventSink& sink,
                                bool popup) {
    if (!visual_ || area.isEmpty()) return 0;
    X11ErrorTrap trap(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // we paint every pixel; no flash of a fill first
    attributes.border_pixel = 0;
    attributes.colormap = colormap_;
    attributes.event_mask = popup ? kPopupEvents : kChildEvents;
    attributes.override_redirect = popup ? True : False;
    attributes.save_under = popup ? True : False;
    unsigned long valueMask = CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask;
    if (popup) valueMask |= CWOverrideRedirect | CWSaveUnder;
    const Window window = XCreateWindow(display_, parent, area.left, area.top,
                                        unsigned(area.width()), unsigned(area.height()), 0, kDepth,
                                        InputOutput, visual_, valueMask, &attributes);
    if (!trap.sync()) return 0; // the parent is gone, or the server is out of resources
    if (!gc_) gc_ = XCreateGC(display_, window, 0, nullptr);
    targets_.push_back({window, &sink, {}});
    return window;
}

void X11Display::map(Window window, bool raised) {
    if (!exists(window)) return;
    X11ErrorTrap trap(display_);
    if (raised)
        XMapRaised(display_, window);
    else
        XMapWindow(display_, window);
    XFlush(display_);
}

void X11Display::destroyWindow(Window window) {
    const auto it = std::ranges::find(targets_, window, &Target::window);
    if (it == targets_.end()) return;
    targets_.erase(it);
    X11ErrorTrap trap(display_);
    XDestroyWindow(display_, window);
    XFlush(display_);
}

bool X11Display::exists(Window window) const {
    return window != 0 && std::ranges::find(targets_, window, &Target::window) != targets_.end();
}

X11Display::Target* X11Display::find(Window window) {
    const auto it = std::ranges::find(targets_, window, &Target::window);
    return it == targets_.end() ? nullptr : &*it;
}

void X11Display::put(Window window, const Framebuffer& pixels, const PixelRect& area) {
    const PixelRect clipped = area.intersect(pixels.bounds());
    if (clipped.isEmpty() || !gc_ || !exists(window)) return;
    XImage image = imageOver(pixels, visual_);
    if (!XInitImage(&image)) return;
    X11ErrorTrap trap(display_);
    XPutImage(display_, window, gc_, &image, clipped.left, clipped.top, clipped.left, clipped.top,
              unsigned(clipped.width()), unsigned(clipped.height()));
    XFlush(display_);
}

void X11Display::deliverEvents() {
    X11ErrorTrap trap(display_);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (!supersededMotion(event)) deliver(event);
    }
}

// A drag only needs the latest position: a move followed at once by another of the same
// window and buttons is dropped.
bool X11Display::supersededMotion(const XEvent& event) const {
    if (event.type != MotionNotify || XEventsQueued(display_, QueuedAlready) == 0) return false;
    XEvent next;
    XPeekEvent(display_, &next);
    return next.type == MotionNotify && next.xmotion.window == event.xmotion.window &&
           next.xmotion.state == event.xmotion.state;
}

// A sink may close a pop-up (and so remove its target) while handling an event, so nothing
// of the target is touched after the sink is called.
void X11Display::deliver(XEvent& event) {
    Target* target = find(event.xany.window);
    if (!target) return; // a window closed while its events were queued
    PlatformEventSink& sink = *target->sink;
    switch (event.type) {
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        target->exposed = target->exposed.unite({e.x, e.y, e.x + e.width, e.y + e.height});
        if (e.count == 0) sink.platformExpose(std::exchange(target->exposed, PixelRect{}));
        break;
    }
    case ButtonPress:
    case ButtonRelease:
        deliverButton(event.xbutton, sink);
        break;
    case MotionNotify:
        sink.platformMouseMoved({double(event.xmotion.x), double(event.xmotion.y)},
                                buttonsFromState(event.xmotion.state));
        break;
    case LeaveNotify:
        if (event.xcrossing.detail != NotifyInferior) sink.platformMouseExited();
        break;
    case KeyPress:
        deliverKey(event.xkey, sink);
        break;
    case FocusIn:
    case FocusOut: {
        const XFocusChangeEvent& e = event.xfocus;
        // Grabs by others and the pointer's own focus tracking are no change of ours.
        if (e.mode == NotifyGrab || e.mode == NotifyUngrab || e.detail == NotifyPointer) break;
        sink.platformFocusChanged(event.type == FocusIn);
        break;
    }
    case DestroyNotify:
        // The host destroyed the parent, and our window with it.
        if (const Window gone = target->window; event.xdestroywindow.window == gone)
            std::erase_if(targets_, [gone](const Target& t) { return t.window == gone; });
        break;
    default:
        break;
    }
}

void X11Display::deliverButton(const XButtonEvent& event, PlatformEventSink& sink) {
    const CPoint where{double(event.x), double(event.y)};
    const CButtonState held = buttonsFromState(event.state);
    if (const float distance = wheelDistance(event.button); distance != 0) {
        if (event.type == ButtonPress) sink.platformWheel(where, distance, held);
        return;
    }
    const std::uint32_t button = buttonFlag(event.button);
    if (button == 0) return; // the sideways wheel and extra buttons
    if (event.type == ButtonRelease) {
        sink.platformMouseUp(where, held); // the state still holds the released button
        return;
    }
    std::uint32_t flags = held.flags() | button;
    if (clicks_.isDoubleClick(event.button, event.x_root, event.y_root, event.time))
        flags |= kDoubleClick;
    sink.platformMouseDown(where, flags);
}

void X11Display::deliverKey(XKeyEvent& event, PlatformEventSink& sink) {
    char text[8];
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &symbol, nullptr);
    if (const auto key =
            keyEventFrom(symbol, {text, std::size_t(std::max(length, 0))}, event.state))
        sink.platformKeyDown(*key);
}

bool X11Display::grabPointer(Window window) {
    if (!exists(window)) return false;
    X11ErrorTrap trap(display_);
    return XGrabPointer(display_, window, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                        None, CurrentTime) == GrabSuccess;
}

void X11Display::ungrabPointer() {
    X11ErrorTrap trap(display_);
    XUngrabPointer(display_, CurrentTime);
    XFlush(display_);
}

void X11Display::focus(Window window) {
    if (!exists(window)) return;
    X11ErrorTrap trap(display_);
    // Refused while the window is not yet viewable (the host maps its parent later); the trap
    // keeps that error from the host.
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XFlush(display_);
}

PixelRect X11Display::rootArea() const {
    X11ErrorTrap trap(display_);
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (!root_ || !XGetGeometry(display_, root_, &root, &x, &y, &width, &height, &border, &depth))
        return {};
    return {0, 0, int(width), int(height)};
}

CPoint X11Display::positionOnRoot(Window window) const {
    if (!exists(window)) return {};
    X11ErrorTrap trap(display_);
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display_, window, root_, 0, 0, &x, &y, &child)) return {};
    return {double(x), double(y)};
}

} // namespace velmora::toolkit
