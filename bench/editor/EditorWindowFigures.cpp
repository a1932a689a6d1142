// Figures of the built module's editor in a real X11 window, measured the way a host sees them:
// the module is loaded through its entry, its editor opened in a host window and idled from a
// host-like timer. Prints:
//   - open time: effEditOpen's own duration, and from the call to the first frame the window
//     shows (polled by reading the window back);
//   - idle cost with the meters moving (a thread plays audio through the effect in real time):
//     CPU time of the UI thread per effEditIdle call and per second at 30 Hz;
//   - CPU of the whole process with the editor open at rest for a while (getrusage);
//   - memory an open editor adds (resident set and heap in use) and what stays after closing.
// Needs $DISPLAY (xvfb-run for a virtual one); see bench/editor/README.md.
#include "tools/host/PluginHost.h"
#include "tools/hostwindow/HostedEditor.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace velmora::host;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr auto kIdleInterval = std::chrono::microseconds(33'333); // 30 Hz
constexpr int kOpenRounds = 10;
constexpr float kSampleRate = 44100.0f;
constexpr VstInt32 kBlock = 256;
// A window reading counts as the panel when this share of its pixels is what the settled
// editor shows (the readout and meters may still change).
constexpr double kSettledShare = 0.95;

struct Options {
    std::string plugin = VELMORA_PLUGIN_PATH;
    double seconds = 10.0;
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plugin" && i + 1 < argc) {
            options.plugin = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = std::atof(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    if (options.seconds <= 0) return std::nullopt;
    return options;
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

// Allocated bytes, in the heap proper and in the blocks large enough to be mapped apart (a
// decoded bitmap or a framebuffer is one).
double heapKiB() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1024.0;
}

double share(const WindowImage& a, const WindowImage& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 0;
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        same += a.pixels[i] == b.pixels[i];
    return double(same) / double(a.pixels.size());
}

struct Summary {
    double mean = 0;
    double median = 0;
    double max = 0;
};

Summary summarise(std::vector<double> values) {
    if (values.empty()) return {};
    std::ranges::sort(values);
    double sum = 0;
    for (double v : values)
        sum += v;
    return {sum / double(values.size()), values[values.size() / 2], values.back()};
}

// Plays a tone whose loudness swells and falls twice a second through the effect, block by
// block at the pace of a real audio device, so the editor's meters have peaks to show.
class AudioThread {
  public:
    explicit AudioThread(PluginInstance& plugin) : plugin_(plugin), thread_([this] { run(); }) {}
    ~AudioThread() {
        stop_ = true;
        thread_.join();
    }
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

  private:
    void run() {
        PlanarBuffer<float> inputs(plugin_.effect().numInputs, kBlock);
        PlanarBuffer<float> outputs(plugin_.effect().numOutputs, kBlock);
        const auto blockTime = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(kBlock / double(kSampleRate)));
        auto next = Clock::now();
        long frame = 0;
        while (!stop_) {
            for (int i = 0; i < kBlock; ++i, ++frame) {
                const double t = double(frame) / kSampleRate;
                const double swell = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * 2.0 * t);
                const auto sample = float(0.8 * swell * std::sin(2 * std::numbers::pi * 440 * t));
                inputs.channel(0)[std::size_t(i)] = sample;
                inputs.channel(1)[std::size_t(i)] = sample;
            }
            plugin_.processFloat(inputs, outputs, kBlock);
            next += blockTime;
            std::this_thread::sleep_until(next);
        }
    }

    PluginInstance& plugin_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A host with one instance, started as hosts start it before showing its editor.
struct HostedPlugin {
    explicit HostedPlugin(const PluginLibrary& library) : instance(library, host) {
        instance.open();
        instance.setSampleRate(kSampleRate);
        instance.setBlockSize(kBlock);
        instance.resume();
    }
    ScriptedHost host;
    PluginInstance instance;
};

// What the editor shows once it has settled, to recognise its first frame by.
WindowImage settledPanel(HostedEditor& editor) {
    editor.open();
    editor.idleFor(std::chrono::milliseconds(1000));
    WindowImage panel = editor.window().capture();
    editor.close();
    editor.idleFor(std::chrono::milliseconds(200));
    return panel;
}

void measureOpenTime(HostedEditor& editor) {
    const WindowImage panel = settledPanel(editor);
    std::vector<double> callMs;
    std::vector<double> firstFrameMs;
    for (int round = 0; round < kOpenRounds; ++round) {
        const auto start = Clock::now();
        if (!editor.open()) {
            std::puts("open time: effEditOpen failed");
            return;
        }
        callMs.push_back(Milliseconds(Clock::now() - start).count());
        // Reading the window back every 1 ms tick; its own cost (about a millisecond for the
        // whole panel) bounds the resolution.
        const bool shown = editor.idleUntil(
            [&] { return share(editor.window().capture(), panel) >= kSettledShare; },
            std::chrono::milliseconds(5000), std::chrono::milliseconds(1));
        if (shown) firstFrameMs.push_back(Milliseconds(Clock::now() - start).count());
        editor.close();
        editor.idleFor(std::chrono::milliseconds(100));
    }
    const Summary call = summarise(callMs);
    const Summary frame = summarise(firstFrameMs);
    std::printf("open time over %d opens: effEditOpen call median %.2f ms (max %.2f); "
                "to first frame shown median %.2f ms (max %.2f), %zu of %d shown\n",
                kOpenRounds, call.median, call.max, frame.median, frame.max, firstFrameMs.size(),
                kOpenRounds);
}

struct IdleFigures {
    Summary cpuUs;
    int calls = 0;
};

// Calls effEditIdle at 30 Hz for `seconds`, timing the UI thread's CPU per call.
IdleFigures idleAt30Hz(HostedEditor& editor, double seconds) {
    std::vector<double> cpuUs;
    auto tick = Clock::now();
    const auto end =
        tick + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (tick < end) {
        editor.window().pumpEvents();
        const double before = threadCpuMs();
        editor.instance().idleEditor();
        cpuUs.push_back((threadCpuMs() - before) * 1e3);
        tick += kIdleInterval;
        std::this_thread::sleep_until(tick);
    }
    return {summarise(cpuUs), int(cpuUs.size())};
}

void printIdle(const char* what, const IdleFigures& idle) {
    std::printf("%s: %d effEditIdle calls, CPU per call mean %.1f us, median %.1f us, max %.1f "
                "us; at 30 Hz %.2f ms CPU per second (%.3f%% of a core)\n",
                what, idle.calls, idle.cpuUs.mean, idle.cpuUs.median, idle.cpuUs.max,
                idle.cpuUs.mean * 30 / 1e3, idle.cpuUs.mean * 30 / 1e4);
}

void measureIdleWithMeters(HostedEditor& editor, double seconds) {
    editor.open();
    editor.idleFor(std::chrono::milliseconds(500));
    const WindowImage quiet = editor.window().capture();
    IdleFigures idle;
    WindowImage playing;
    {
        const AudioThread audio(editor.instance());
        idle = idleAt30Hz(editor, seconds);
        playing = editor.window().capture();
    }
    printIdle("idle with audio playing through the effect", idle);
    std::printf("  the window changed in %.1f%% of its pixels between silence and playing\n",
                100.0 * (1.0 - share(quiet, playing)));
    editor.close();
}

void measureAtRest(HostedEditor& editor, double seconds) {
    editor.open();
    editor.idleFor(std::chrono::milliseconds(500));
    const double cpuBefore = processCpuMs();
    const auto start = Clock::now();
    const IdleFigures idle = idleAt30Hz(editor, seconds);
    const double cpu = processCpuMs() - cpuBefore;
    const double wall = Milliseconds(Clock::now() - start).count();
    printIdle("idle at rest", idle);
    std::printf("  whole process over %.1f s at rest (getrusage): %.1f ms CPU, %.3f%% of a "
                "core\n",
                wall / 1e3, cpu, 100.0 * cpu / wall);
    editor.close();
}

// Resident set and heap in use with no editor open, for the memory figures.
struct Footprint {
    double residentKiB = 0;
    double heapKiB = 0;
};

Footprint footprint() {
    malloc_trim(0); // what the heap freed goes back, so the resident set shows it
    return {residentKiB(), heapKiB()};
}

void printDelta(const char* what, const Footprint& from, const Footprint& to) {
    std::printf("  %s: %+.0f KiB resident, %+.0f KiB heap in use\n", what,
                to.residentKiB - from.residentKiB, to.heapKiB - from.heapKiB);
}

void measureMemory(const PluginLibrary& library, HostedEditor& editor) {
    editor.idleFor(std::chrono::milliseconds(200));
    std::puts("memory (resident set from /proc/self/statm, heap in use from mallinfo2):");
    const Footprint closed = footprint();
    editor.open();
    editor.idleFor(std::chrono::milliseconds(500));
    const Footprint opened = footprint();
    printDelta("opening the first editor", closed, opened);
    editor.close();
    editor.idleFor(std::chrono::milliseconds(200));
    printDelta("after closing it, against before opening", closed, footprint());
    for (int round = 0; round < 20; ++round) {
        editor.open();
        editor.idleFor(std::chrono::milliseconds(50));
        editor.close();
    }
    editor.idleFor(std::chrono::milliseconds(200));
    printDelta("after 20 more open/close rounds, against before opening", closed, footprint());

    // A second instance's editor beside an open one shares the decoded bitmaps.
    HostedPlugin other(library);
    auto otherWindow = HostWindow::connect();
    if (!otherWindow) return;
    HostedEditor second(other.instance, *otherWindow);
    editor.open();
    editor.idleFor(std::chrono::milliseconds(200));
    const Footprint one = footprint();
    second.open();
    second.idleFor(std::chrono::milliseconds(500));
    printDelta("a second instance's editor open beside the first", one, footprint());
    second.close();
    editor.close();
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--plugin PATH/TO/Velmora.so] [--seconds N]\n", argv[0]);
        return 2;
    }
    try {
        const PluginLibrary library(options->plugin);
        HostedPlugin plugin(library);
        auto window = HostWindow::connect();
        if (!window) {
            std::fputs("no X display ($DISPLAY); run under xvfb-run\n", stderr);
            return 1;
        }
        HostedEditor editor(plugin.instance, *window);
        std::printf("plug-in %s, editor %dx%d, idle at 30 Hz for %.1f s per figure\n",
                    options->plugin.c_str(), editor.rect().right - editor.rect().left,
                    editor.rect().bottom - editor.rect().top, options->seconds);
        measureMemory(library, editor);
        measureOpenTime(editor);
        measureAtRest(editor, options->seconds);
        measureIdleWithMeters(editor, options->seconds);
    } catch (const HostError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
