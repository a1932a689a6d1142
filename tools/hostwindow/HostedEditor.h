// A plug-in's editor inside a host window, driven the way hosts drive one: the window is made
// at the size effEditGetRect asks for, effEditOpen gets its id, and a timer on the UI thread
// calls effEditIdle every few tens of milliseconds while the editor is open.
#pragma once

#include "tools/host/PluginInstance.h"
#include "tools/hostwindow/HostWindow.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace velmora::host {

// Hosts idle their editors from a UI timer at 30 to 60 Hz.
inline constexpr std::chrono::milliseconds kHostIdleInterval{20};
// Shown where the editor paints nothing; no colour an editor panel is likely to use.
inline constexpr std::uint32_t kHostBackground = 0xFF00FF;

class HostedEditor {
  public:
    // Asks the plug-in for its rectangle and opens `window` at that size. Throws HostError
    // when the plug-in answers no rectangle or the window cannot be made. Both arguments must
    // outlive this object.
    HostedEditor(PluginInstance& instance, HostWindow& window);
    // Closes the editor when it is still open and the instance still exists.
    ~HostedEditor();
    HostedEditor(const HostedEditor&) = delete;
    HostedEditor& operator=(const HostedEditor&) = delete;

    // effEditOpen with the window's id; true when the plug-in opened its editor.
    bool open();
    // effEditClose, once; nothing when the editor is closed or the instance was closed.
    void close();
    bool isOpen() const { return open_ && !instance_.isClosed(); }

    // One tick of the host's timer: the window's own events, then effEditIdle.
    void idle();
    // Ticks every `interval` for `duration`.
    void idleFor(std::chrono::milliseconds duration,
                 std::chrono::milliseconds interval = kHostIdleInterval);
    // Ticks every `interval` until `done` holds, for at most `timeout`; true when it held.
    bool idleUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                   std::chrono::milliseconds interval = kHostIdleInterval);

    const ERect& rect() const { return rect_; }
    HostWindow& window() { return window_; }
    PluginInstance& instance() { return instance_; }

  private:
    PluginInstance& instance_;
    HostWindow& window_;
    ERect rect_{};
    bool open_ = false;
};

} // namespace velmora::host
