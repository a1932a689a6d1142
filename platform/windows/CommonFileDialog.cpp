// File dialogs through the common open and save dialogs. Those are modal and return only when
// the user is done, so each runs on a worker thread of its own: `start` returns at once and the
// editor's idle picks the outcome up through `poll`.
#include "platform/FileDialog.h"

#include "platform/windows/ModuleHandle.h"
#include "platform/windows/WideText.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <windows.h>

#include <commdlg.h>

namespace velmora::platform {

namespace {

using Outcome = FileDialogResult::Outcome;

// Room for the chosen path: long enough for the paths Windows allows without a prefix.
constexpr std::size_t pathCapacity = 32768;

// Texts from the caller are well-formed; one that is not shows as empty rather than mangled.
std::wstring wideOrEmpty(std::string_view text) {
    std::optional<std::wstring> wide = windows::toWide(text);
    return wide ? std::move(*wide) : std::wstring();
}

// "Qel Preset (*.qel)\0*.qel\0...\0\0", the double-NUL list the dialogs take.
std::wstring filterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        const std::wstring pattern = L"*." + wideOrEmpty(filter.extension);
        list += wideOrEmpty(filter.caption) + L" (" + pattern + L")";
        list += L'\0';
        list += pattern;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

// What one dialog needs, converted before the worker starts so the worker touches no request.
struct DialogCall {
    bool save = false;
    std::wstring title;
    std::wstring filters;
    std::wstring folder;
    std::wstring defaultExtension;
    std::wstring suggestedName;
};

DialogCall callFor(const FileDialogRequest& request) {
    DialogCall call;
    call.save = request.purpose == FileDialogRequest::Purpose::save;
    call.title = wideOrEmpty(request.title);
    call.filters = filterList(request.filters);
    call.folder = request.folder.wstring();
    if (call.save && !request.filters.empty()) {
        call.defaultExtension = wideOrEmpty(request.filters.front().extension);
    }
    call.suggestedName = wideOrEmpty(request.suggestedName);
    return call;
}

class CommonFileDialog final : public FileDialog {
  public:
    ~CommonFileDialog() override {
        cancel();
        if (worker_.joinable()) worker_.join();
    }

    FileDialogStart start(const FileDialogRequest& request) override {
        if (isRunning()) return {false, "A file dialog is already open."};
        if (worker_.joinable()) worker_.join(); // a finished dialog whose thread is not joined
        {
            const std::scoped_lock lock(mutex_);
            result_.reset();
            cancelled_ = false;
        }
        dialogWindow_.store(nullptr);
        running_.store(true);
        worker_ = std::thread([this, call = callFor(request)] { finish(run(call)); });
        return {true, {}};
    }

    std::optional<FileDialogResult> poll() override {
        const std::scoped_lock lock(mutex_);
        if (cancelled_) {
            cancelled_ = false;
            result_.reset();
            return FileDialogResult{};
        }
        auto result = std::move(result_);
        result_.reset();
        return result;
    }

    void cancel() override {
        if (!isRunning()) return;
        {
            const std::scoped_lock lock(mutex_);
            cancelled_ = true;
        }
        // The hook saw the dialog open; asking it to cancel ends the modal call.
        if (HWND window = dialogWindow_.load()) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }

    bool isRunning() const override { return running_.load(); }

  private:
    // Learns the dialog's window once it exists, so `cancel` can close it.
    static UINT_PTR CALLBACK hook(HWND child, UINT message, WPARAM, LPARAM parameter) {
        if (message == WM_INITDIALOG) {
            const auto* options = reinterpret_cast<const OPENFILENAMEW*>(parameter);
            auto* self = reinterpret_cast<CommonFileDialog*>(options->lCustData);
            self->dialogWindow_.store(GetParent(child));
            if (self->cancelRequested()) PostMessageW(GetParent(child), WM_COMMAND, IDCANCEL, 0);
        }
        return 0;
    }

    bool cancelRequested() {
        const std::scoped_lock lock(mutex_);
        return cancelled_;
    }

    FileDialogResult run(const DialogCall& call) {
        std::wstring path(pathCapacity, L'\0');
        call.suggestedName.copy(path.data(), std::min(call.suggestedName.size(), pathCapacity - 1));
        OPENFILENAMEW options{};
        options.lStructSize = sizeof options;
        options.hInstance = windows::moduleHandle();
        options.lpstrFilter = call.filters.c_str();
        options.nFilterIndex = 1;
        options.lpstrFile = path.data();
        options.nMaxFile = static_cast<DWORD>(path.size());
        options.lpstrInitialDir = call.folder.empty() ? nullptr : call.folder.c_str();
        options.lpstrTitle = call.title.c_str();
        options.lpstrDefExt =
            call.defaultExtension.empty() ? nullptr : call.defaultExtension.c_str();
        options.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                        OFN_PATHMUSTEXIST | (call.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
        options.lCustData = reinterpret_cast<LPARAM>(this);
        options.lpfnHook = &CommonFileDialog::hook;

        const BOOL chosen = call.save ? GetSaveFileNameW(&options) : GetOpenFileNameW(&options);
        if (chosen) {
            path.resize(path.find(L'\0'));
            return {Outcome::chosen, std::filesystem::path(path), {}};
        }
        const DWORD error = CommDlgExtendedError();
        if (error == 0) return {};
        return {
            Outcome::failed, {}, "The file dialog failed (error " + std::to_string(error) + ")."};
    }

    void finish(FileDialogResult result) {
        {
            const std::scoped_lock lock(mutex_);
            if (!cancelled_) result_ = std::move(result);
        }
        running_.store(false);
    }

    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<HWND> dialogWindow_{nullptr};
    mutable std::mutex mutex_;
    std::optional<FileDialogResult> result_;
    bool cancelled_ = false;
};

} // namespace

std::unique_ptr<FileDialog> makeFileDialog() {
    return std::make_unique<CommonFileDialog>();
}

} // namespace velmora::platform
