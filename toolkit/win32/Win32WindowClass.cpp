#include "toolkit/win32/Win32WindowClass.h"

namespace velmora::toolkit {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraEditorSurface";

// Any address inside this module names it to GetModuleHandleExW.
constexpr int kModuleAnchor = 0;

HINSTANCE moduleOfThisCode() {
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&kModuleAnchor), &module))
        return nullptr;
    return module;
}

} // namespace

Win32WindowClass::Win32WindowClass(WNDPROC procedure) : module_(moduleOfThisCode()) {
    if (!module_) return;
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = CS_DBLCLKS; // the double-click messages set the toolkit's flag
    description.lpfnWndProc = procedure;
    description.hInstance = module_;
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.hbrBackground = nullptr; // every pixel is ours; no fill flashes first
    description.lpszClassName = kClassName;
    usable_ = RegisterClassExW(&description) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Win32WindowClass::~Win32WindowClass() {
    if (usable_) UnregisterClassW(kClassName, module_);
}

const wchar_t* Win32WindowClass::name() const {
    return kClassName;
}

} // namespace velmora::toolkit
