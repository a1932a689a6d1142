#include "tools/hostwindow/HostedEditor.h"

#include <thread>

namespace velmora::host {

namespace {

ERect askRect(PluginInstance& instance) {
    const std::optional<ERect> rect = instance.editorRect();
    if (!rect || rect->right <= rect->left || rect->bottom <= rect->top) {
        throw HostError("the plug-in gave no editor rectangle");
    }
    return *rect;
}

} // namespace

HostedEditor::HostedEditor(PluginInstance& instance, HostWindow& window)
    : instance_(instance), window_(window), rect_(askRect(instance)) {
    if (!window_.open(rect_.right - rect_.left, rect_.bottom - rect_.top, instance_.effectName(),
                      kHostBackground)) {
        throw HostError("the host window for the editor could not be made");
    }
}

HostedEditor::~HostedEditor() {
    close();
}

bool HostedEditor::open() {
    if (isOpen()) return true;
    open_ = instance_.openEditor(window_.id());
    return open_;
}

void HostedEditor::close() {
    if (isOpen()) instance_.closeEditor();
    open_ = false;
}

void HostedEditor::idle() {
    window_.pumpEvents();
    if (isOpen()) instance_.idleEditor();
}

void HostedEditor::idleFor(std::chrono::milliseconds duration, std::chrono::milliseconds interval) {
    idleUntil([] { return false; }, duration, interval);
}

bool HostedEditor::idleUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                             std::chrono::milliseconds interval) {
    // Ticks keep their schedule however long one takes, as a host's timer does.
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + timeout;
    auto tick = start;
    while (true) {
        idle();
        if (done()) return true;
        tick += interval;
        if (tick >= deadline) return false;
        std::this_thread::sleep_until(tick);
    }
}

} // namespace velmora::host
