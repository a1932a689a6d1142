// The X11 backend's costs under a real server (Xvfb in the measurements): an idle call when
// nothing is queued, and presenting the editor's whole 942 by 171 panel. Needs $DISPLAY:
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=ON -DVELMORA_TESTS=OFF
//   cmake --build build-bench --target velmora_x11_bench
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-bench/toolkit/velmora_x11_bench
#include <benchmark/benchmark.h>

#include "toolkit/CFrame.h"
#include "toolkit/x11/X11Window.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace velmora::toolkit {
namespace {

constexpr int kWidth = 942;
constexpr int kHeight = 171;

// A mapped parent window, as a host gives one, with the editor's frame open inside it.
class OpenEditor {
  public:
    OpenEditor() : host_(connect()) {
        if (!host_) return;
        parent_ =
            XCreateSimpleWindow(host_, DefaultRootWindow(host_), 0, 0, kWidth, kHeight, 0, 0, 0);
        XMapWindow(host_, parent_);
        XSync(host_, False);
        auto window = std::make_unique<X11Window>();
        window_ = window.get();
        if (!frame_.open(reinterpret_cast<void*>(std::uintptr_t(parent_)), std::move(window)))
            window_ = nullptr;
        // Let the first exposure arrive and be answered before measuring.
        for (int i = 0; i < 50; ++i) {
            frame_.idle();
            window_->originOnScreen();
        }
    }
    ~OpenEditor() {
        frame_.close();
        if (host_) {
            XDestroyWindow(host_, parent_);
            XCloseDisplay(host_);
        }
    }

    bool ok() const { return window_ != nullptr; }
    CFrame& frame() { return frame_; }
    X11Window& window() { return *window_; }

  private:
    // The server resets when the last client leaves (the benchmark before) and refuses
    // connections for a moment.
    static Display* connect() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (Display* display = XOpenDisplay(nullptr)) return display;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return nullptr;
    }

    Display* host_;
    Window parent_ = 0;
    CFrame frame_{CRect::fromSize(0, 0, kWidth, kHeight), nullptr};
    X11Window* window_ = nullptr;
};

void BM_IdleWithNothingQueued(benchmark::State& state) {
    OpenEditor editor;
    if (!editor.ok()) return state.SkipWithError("no X display");
    for (auto _ : state)
        editor.frame().idle();
}
BENCHMARK(BM_IdleWithNothingQueued)->Unit(benchmark::kMicrosecond);

// Until the server has drawn it: a round trip on the same connection follows the request.
void BM_FullPresentDrawn(benchmark::State& state) {
    OpenEditor editor;
    if (!editor.ok()) return state.SkipWithError("no X display");
    const Framebuffer& pixels = editor.frame().framebuffer();
    for (auto _ : state) {
        editor.window().present(pixels, pixels.bounds());
        benchmark::DoNotOptimize(editor.window().originOnScreen());
    }
}
BENCHMARK(BM_FullPresentDrawn)->Unit(benchmark::kMicrosecond);

// The round trip alone, to read the one above against.
void BM_RoundTrip(benchmark::State& state) {
    OpenEditor editor;
    if (!editor.ok()) return state.SkipWithError("no X display");
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.window().originOnScreen());
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmora::toolkit

BENCHMARK_MAIN();
