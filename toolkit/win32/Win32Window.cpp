#include "toolkit/win32/Win32Window.h"

#include "toolkit/win32/Win32Input.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace velmora::toolkit {
namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// A menu above everything that never takes activation from the host's window.
constexpr DWORD kPopupStyle = WS_POPUP;
constexpr DWORD kPopupExtendedStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr WPARAM kAnyButton = MK_LBUTTON | MK_MBUTTON | MK_RBUTTON;

CPoint pointOf(LPARAM lParam) {
    return {double(GET_X_LPARAM(lParam)), double(GET_Y_LPARAM(lParam))};
}

std::uint32_t buttonOfMessage(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        return kLButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        return kMButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        return kRButton;
    default:
        return 0;
    }
}

bool isDoubleClick(UINT message) {
    return message == WM_LBUTTONDBLCLK || message == WM_MBUTTONDBLCLK ||
           message == WM_RBUTTONDBLCLK;
}

bool isButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_MBUTTONUP || message == WM_RBUTTONUP;
}

bool lostThePointer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CAPTURECHANGED) return reinterpret_cast<HWND>(lParam) != window;
    return message == WM_ACTIVATEAPP && wParam == FALSE;
}

PixelRect pixelRectOf(const RECT& r) {
    return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

} // namespace

Win32Window::PendingEvent Win32Window::pendingEvent(HWND window, EventKind kind) {
    PendingEvent event;
    event.window = window;
    event.kind = kind;
    return event;
}

// A pop-up may outlive its window (a menu destroyed after its frame closed): the window then
// closes it first and cuts it loose, and the pop-up has nothing left to do.
class Win32Popup final : public PlatformPopup {
  public:
    Win32Popup(Win32Window& owner, HWND window) : owner_(&owner), window_(window) {
        owner.popups_.push_back(this);
    }
    ~Win32Popup() override {
        if (owner_) owner_->closePopup(*this);
    }
    Win32Popup(const Win32Popup&) = delete;
    Win32Popup& operator=(const Win32Popup&) = delete;

    void present(const Framebuffer& pixels, const PixelRect& area) override {
        if (owner_) owner_->show(window_, pixels, area);
    }

    HWND handle() const { return window_; }
    void cutLoose() { owner_ = nullptr; }

  private:
    Win32Window* owner_;
    HWND window_;
};

Win32Window::Win32Window() : class_(&Win32Window::windowProcedure) {}

Win32Window::~Win32Window() {
    for (Win32Popup* popup : popups_) {
        popup->cutLoose();
        destroyWindow(popup->handle());
    }
    destroyWindow(window_);
}

bool Win32Window::open(void* parent, int width, int height, PlatformEventSink& sink) {
    const auto parentWindow = static_cast<HWND>(parent);
    if (window_ || !class_.usable() || !parentWindow || !IsWindow(parentWindow)) return false;
    parent_ = parentWindow;
    window_ = createWindow(parentWindow, kChildStyle, 0, {0, 0, width, height}, sink);
    return window_ != nullptr;
}

void Win32Window::present(const Framebuffer& pixels, const PixelRect& area) {
    show(window_, pixels, area);
}

void Win32Window::pumpEvents() {
    // New messages that delivery itself causes (focus, capture) wait for the next pump.
    delivering_.swap(pending_);
    for (const PendingEvent& event : delivering_) {
        // A sink may have closed a pop-up, and its window, since this was queued.
        if (Target* target = find(event.window)) deliver(event, *target->sink);
    }
    delivering_.clear();
}

PixelRect Win32Window::screenBounds() const {
    if (!window_) return {};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
    return pixelRectOf(info.rcWork);
}

CPoint Win32Window::originOnScreen() const {
    POINT origin{0, 0};
    if (!window_ || !ClientToScreen(window_, &origin)) return {};
    return {double(origin.x), double(origin.y)};
}

std::unique_ptr<PlatformPopup> Win32Window::openPopup(const PixelRect& screenArea,
                                                      PlatformEventSink& sink) {
    if (!window_ || screenArea.isEmpty()) return nullptr;
    // Owned by the host's top-level window, so it stays above it and goes with it.
    const HWND owner = GetAncestor(window_, GA_ROOT);
    const HWND popup = createWindow(owner, kPopupStyle, kPopupExtendedStyle, screenArea, sink);
    if (!popup) return nullptr;
    ShowWindow(popup, SW_SHOWNOACTIVATE);
    // With the mouse held, a click outside arrives here (outside its size) and closes it.
    SetCapture(popup);
    return std::make_unique<Win32Popup>(*this, popup);
}

void Win32Window::closePopup(Win32Popup& popup) {
    std::erase(popups_, &popup);
    destroyWindow(popup.handle());
}

void Win32Window::takeKeyboardFocus() {
    if (window_) SetFocus(window_);
}

HWND Win32Window::createWindow(HWND parent, DWORD style, DWORD extendedStyle, const PixelRect& area,
                               PlatformEventSink& sink) {
    if (area.isEmpty()) return nullptr;
    const HWND window =
        CreateWindowExW(extendedStyle, class_.name(), L"", style, area.left, area.top, area.width(),
                        area.height(), parent, nullptr, class_.module(), this);
    if (window) targets_.push_back({window, &sink});
    return window;
}

void Win32Window::destroyWindow(HWND window) {
    // Forgotten first: the messages destruction sends (focus, capture) reach no sink.
    const auto it = std::ranges::find(targets_, window, &Target::window);
    if (it == targets_.end()) return; // never made, or already gone with the host's parent
    targets_.erase(it);
    if (GetCapture() == window) ReleaseCapture();
    DestroyWindow(window);
    if (window == window_) window_ = nullptr;
}

Win32Window::Target* Win32Window::find(HWND window) {
    const auto it = std::ranges::find(targets_, window, &Target::window);
    return it == targets_.end() ? nullptr : &*it;
}

void Win32Window::show(HWND window, const Framebuffer& pixels, const PixelRect& area) {
    const PixelRect clipped = area.intersect(pixels.bounds());
    if (clipped.isEmpty() || !find(window)) return;
    const HDC context = GetDC(window);
    if (!context) return;
    // The rows of the area alone, top-down: 0xAARRGGBB words are the DIB's blue-green-red
    // bytes in memory, so the pixels go out as they are.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width();
    info.bmiHeader.biHeight = -clipped.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(context, clipped.left, clipped.top, DWORD(clipped.width()),
                      DWORD(clipped.height()), clipped.left, 0, 0, UINT(clipped.height()),
                      pixels.row(clipped.top).data(), &info, DIB_RGB_COLORS);
    ReleaseDC(window, context);
}

LRESULT CALLBACK Win32Window::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        // Destroyed by the host with its parent: nothing is left for us to free.
        if (self) {
            std::erase_if(self->targets_, [window](const Target& t) { return t.window == window; });
            if (self->window_ == window) self->window_ = nullptr;
        }
    }
    if (self && self->find(window)) return self->handle(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool isChild = window == window_;
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted in full from the framebuffer
    case WM_PAINT:
        queuePaint(window);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (isChild) {
            PendingEvent event = pendingEvent(window, EventKind::focus);
            event.hasFocus = message == WM_SETFOCUS;
            queue(event);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS; // hosts that show us in a dialog still send us the keys
    case WM_MOUSEACTIVATE:
        return isChild ? DefWindowProcW(window, message, wParam, lParam) : MA_NOACTIVATE;
    case WM_CAPTURECHANGED:
    case WM_ACTIVATEAPP:
        // A pop-up that lost the mouse to another window, or whose program is no longer the
        // active one, would never see the click that closes it: it hears of a press outside.
        if (!isChild && lostThePointer(window, message, wParam, lParam))
            queuePointer(window, EventKind::mouseDown, {-1, -1}, {});
        return message == WM_ACTIVATEAPP ? DefWindowProcW(window, message, wParam, lParam) : 0;
    default:
        break;
    }
    if (handleMouse(window, message, wParam, lParam)) return 0;
    if (handleKey(window, message, wParam, lParam)) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32Window::handleMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool isChild = window == window_;
    switch (message) {
    case WM_MOUSEMOVE:
        if (isChild && !trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        queuePointer(window, EventKind::mouseMoved, pointOf(lParam), buttonsFromKeyFlags(wParam));
        return true;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        queue(pendingEvent(window, EventKind::mouseExited));
        return true;
    case WM_MOUSEWHEEL:
        queueWheel(window, wParam, lParam);
        return true;
    default:
        break;
    }
    const std::uint32_t button = buttonOfMessage(message);
    if (button == 0) return false;
    std::uint32_t flags = buttonsFromKeyFlags(wParam).flags() | button;
    if (isButtonUp(message)) {
        // The drag is over once no button is held; pop-ups keep the mouse while open.
        if (isChild && (wParam & kAnyButton) == 0 && GetCapture() == window) ReleaseCapture();
        // Still holding the released button, as the press did.
        queuePointer(window, EventKind::mouseUp, pointOf(lParam), flags);
        return true;
    }
    if (isDoubleClick(message)) flags |= kDoubleClick;
    // A drag goes on outside the window until the button is let go.
    if (isChild) SetCapture(window);
    queuePointer(window, EventKind::mouseDown, pointOf(lParam), flags);
    return true;
}

bool Win32Window::handleKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const SourceMessage source{message, wParam, lParam};
    const auto virtualKey = static_cast<unsigned>(wParam);
    switch (message) {
    case WM_KEYDOWN:
        if (const auto named = namedKeyFrom(virtualKey)) {
            queueKey(window, {0, *named, heldModifiers()}, source);
            lastKeyDown_ = {};
            return true;
        }
        lastKeyDown_ = source;
        // Keys that type nothing (function keys, a modifier alone) are the host's at once.
        if (MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR) == 0) {
            if (parent_) PostMessageW(parent_, message, wParam, lParam);
            return true;
        }
        // A host whose loop calls TranslateMessage has queued the character already; one whose
        // loop does not never will, so the press is read as a character here.
        if (!characterQueued(window)) queueTypedKey(window, source);
        return true;
    case WM_CHAR: {
        const auto pressed = static_cast<unsigned>(lastKeyDown_.wParam);
        const std::uint32_t modifiers = heldModifiers();
        // If unused, the host gets the key press itself, which its shortcuts look at.
        const SourceMessage forward = lastKeyDown_.message ? lastKeyDown_ : source;
        lastKeyDown_ = {}; // one press, one character; an autorepeat sends both again
        if (const auto character = characterFrom(unsigned(wParam), pressed, modifiers))
            queueKey(window, {*character, VirtualKey::none, modifiers}, forward);
        return true;
    }
    default:
        return false;
    }
}

bool Win32Window::characterQueued(HWND window) {
    MSG next;
    return PeekMessageW(&next, window, WM_CHAR, WM_DEADCHAR, PM_NOREMOVE | PM_NOYIELD) != FALSE;
}

void Win32Window::queueTypedKey(HWND window, const SourceMessage& source) {
    lastKeyDown_ = {};
    const auto virtualKey = static_cast<unsigned>(source.wParam);
    const std::uint32_t modifiers = heldModifiers();
    const auto unit = unitTypedBy(virtualKey, unsigned(source.lParam >> 16) & 0xFF);
    const auto character = unit ? characterFrom(*unit, virtualKey, modifiers) : std::nullopt;
    if (character)
        queueKey(window, {*character, VirtualKey::none, modifiers}, source);
    else if (parent_)
        PostMessageW(parent_, source.message, source.wParam, source.lParam);
}

void Win32Window::queuePaint(HWND window) {
    PAINTSTRUCT paint{};
    if (!BeginPaint(window, &paint)) return;
    PendingEvent event = pendingEvent(window, EventKind::expose);
    event.area = pixelRectOf(paint.rcPaint);
    EndPaint(window, &paint);
    if (!event.area.isEmpty()) queue(event);
}

void Win32Window::queueWheel(HWND window, WPARAM wParam, LPARAM lParam) {
    // The wheel reports the pointer on the screen.
    POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &where);
    PendingEvent event = pendingEvent(window, EventKind::wheel);
    event.where = {double(where.x), double(where.y)};
    event.buttons = buttonsFromKeyFlags(GET_KEYSTATE_WPARAM(wParam));
    event.distance = wheelNotches(GET_WHEEL_DELTA_WPARAM(wParam));
    queue(event);
}

void Win32Window::queuePointer(HWND window, EventKind kind, CPoint where, CButtonState buttons) {
    PendingEvent event = pendingEvent(window, kind);
    event.where = where;
    event.buttons = buttons;
    queue(event);
}

void Win32Window::queueKey(HWND window, const KeyEvent& key, const SourceMessage& source) {
    PendingEvent event = pendingEvent(window, EventKind::key);
    event.key = key;
    event.source = source;
    queue(event);
}

void Win32Window::queue(const PendingEvent& event) {
    // A drag only needs the latest position: a move replaces the move just before it.
    if (event.kind == EventKind::mouseMoved && !pending_.empty()) {
        PendingEvent& last = pending_.back();
        if (last.kind == EventKind::mouseMoved && last.window == event.window &&
            last.buttons == event.buttons) {
            last = event;
            return;
        }
    }
    // Uncovered areas of one window add up to one expose.
    if (event.kind == EventKind::expose)
        for (PendingEvent& earlier : pending_)
            if (earlier.kind == EventKind::expose && earlier.window == event.window) {
                earlier.area = earlier.area.unite(event.area);
                return;
            }
    pending_.push_back(event);
}

void Win32Window::deliver(const PendingEvent& event, PlatformEventSink& sink) {
    switch (event.kind) {
    case EventKind::mouseDown:
        sink.platformMouseDown(event.where, event.buttons);
        break;
    case EventKind::mouseMoved:
        sink.platformMouseMoved(event.where, event.buttons);
        break;
    case EventKind::mouseUp:
        sink.platformMouseUp(event.where, event.buttons);
        break;
    case EventKind::mouseExited:
        sink.platformMouseExited();
        break;
    case EventKind::wheel:
        sink.platformWheel(event.where, event.distance, event.buttons);
        break;
    case EventKind::key: {
        const bool fromChild = event.window == window_;
        if (!sink.platformKeyDown(event.key) && fromChild && parent_ && IsWindow(parent_))
            PostMessageW(parent_, event.source.message, event.source.wParam, event.source.lParam);
        break;
    }
    case EventKind::expose:
        sink.platformExpose(event.area);
        break;
    case EventKind::focus:
        sink.platformFocusChanged(event.hasFocus);
        break;
    }
}

} // namespace velmora::toolkit

namespace velmora::toolkit {

std::unique_ptr<PlatformWindow> createPlatformWindow() {
    return std::make_unique<Win32Window>();
}

} // namespace velmora::toolkit
