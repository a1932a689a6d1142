#include "tools/hostwindow/HostWindow.h"

#include <windows.h>

#include <utility>

namespace velmora::host {

namespace {

constexpr wchar_t kClassName[] = L"VelmoraHostWindow";
// A host's plug-in window: a caption to move it by, no resizing (the editor has one size), and
// its background painted around the child windows rather than over them.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Where the window opens on the desktop, clear of its edge.
constexpr POINT kPlace{40, 40};

COLORREF colourRefOf(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Each window paints its background with the brush it keeps in its user data.
LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND && brush != nullptr) {
        RECT area{};
        GetClientRect(window, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The class of the host windows. Registered by each window as it opens (once is enough) and
// unregistered by each as it goes: Windows refuses that while another window of the class is
// open, so the class goes with the last one.
bool registerWindowClass() {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = &hostProcedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.lpszClassName = kClassName;
    return RegisterClassExW(&description) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterWindowClass() {
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

// Whether this desktop can show a window at all (Wine without a display cannot).
bool desktopShowsWindows() {
    const HWND probe = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// A 32-bit top-down DIB section: its words are 0xAARRGGBB, the order WindowImage keeps.
struct Snapshot {
    HDC context = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = nullptr;

    Snapshot(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    ~Snapshot() {
        if (bitmap) DeleteObject(bitmap);
        if (context) DeleteDC(context);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
};

} // namespace

struct HostWindow::Native {
    HWND window = nullptr;
    HBRUSH background = nullptr;
};

HostWindow::HostWindow(std::unique_ptr<Native> native) : native_(std::move(native)) {}

std::unique_ptr<HostWindow> HostWindow::connect() {
    if (!desktopShowsWindows()) return nullptr;
    return std::unique_ptr<HostWindow>(new HostWindow(std::make_unique<Native>()));
}

HostWindow::~HostWindow() {
    destroy();
}

std::uintptr_t HostWindow::id() const {
    return reinterpret_cast<std::uintptr_t>(native_->window);
}

bool HostWindow::open(int width, int height, const std::string& title, std::uint32_t background) {
    destroy();
    if (width <= 0 || height <= 0 || !registerWindowClass()) return false;
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
    native_->background = CreateSolidBrush(colourRefOf(background));
    const std::wstring caption(title.begin(), title.end()); // effect names are ASCII
    native_->window = CreateWindowExW(0, kClassName, caption.c_str(), kStyle, kPlace.x, kPlace.y,
                                      outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    if (native_->window == nullptr) {
        destroy();
        return false;
    }
    SetWindowLongPtrW(native_->window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(native_->background));
    width_ = width;
    height_ = height;
    // Shown and active, as a host's window is when the user opens an editor.
    ShowWindow(native_->window, SW_SHOW);
    SetForegroundWindow(native_->window);
    UpdateWindow(native_->window);
    pumpEvents();
    return IsWindowVisible(native_->window) != FALSE;
}

void HostWindow::destroy() {
    if (native_->window != nullptr) {
        DestroyWindow(native_->window);
        unregisterWindowClass();
    }
    native_->window = nullptr;
    if (native_->background != nullptr) DeleteObject(native_->background);
    native_->background = nullptr;
    width_ = height_ = 0;
}

void HostWindow::pumpEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (translatesKeys_) TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

WindowImage HostWindow::capture() const {
    if (native_->window == nullptr || !IsWindowVisible(native_->window)) return {};
    const Snapshot snapshot(width_, height_);
    if (snapshot.bitmap == nullptr) return {};
    const HGDIOBJ previous = SelectObject(snapshot.context, snapshot.bitmap);
    // The client area as the desktop holds it, the child windows' pixels included.
    const HDC window = GetDC(native_->window);
    const bool copied =
        BitBlt(snapshot.context, 0, 0, width_, height_, window, 0, 0, SRCCOPY) != FALSE;
    ReleaseDC(native_->window, window);
    GdiFlush();
    SelectObject(snapshot.context, previous);
    if (!copied) return {};
    const auto* words = static_cast<const std::uint32_t*>(snapshot.bits);
    WindowImage result{width_, height_, {}};
    result.pixels.reserve(std::size_t(width_) * std::size_t(height_));
    for (std::size_t i = 0; i < std::size_t(width_) * std::size_t(height_); ++i)
        result.pixels.push_back(words[i] & 0xFFFFFF);
    return result;
}

int HostWindow::childCount() const {
    int count = 0;
    if (native_->window != nullptr)
        EnumChildWindows(native_->window, &countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace velmora::host
