// The editor-sized frame (942 by 171) filled with bitmap-strip controls laid out like the
// editor's: a full redraw, an idle with nothing changed, and an idle after the readout has
// been cleared and rewritten to the same values (what the editor does on every idle).
#include "tests/toolkit/BmpSamples.h"
#include "toolkit/BitmapCache.h"
#include "toolkit/CFrame.h"
#include "toolkit/controls/CKnob.h"
#include "toolkit/controls/CMovieBitmap.h"
#include "toolkit/controls/CMultiPositionSwitch.h"
#include "toolkit/controls/COnOffButton.h"
#include "toolkit/controls/CParamDisplay.h"
#include "toolkit/offscreen/OffscreenDriver.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace velmora::toolkit {
namespace {

// An opaque strip with a different colour per frame and a gradient inside each.
CBitmap strip(int width, int frameHeight, int frames, bool alpha = false) {
    auto pixmap = std::make_shared<Pixmap>();
    pixmap->width = width;
    pixmap->height = frameHeight * frames;
    pixmap->hasAlpha = alpha;
    for (int y = 0; y < pixmap->height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = alpha ? std::uint32_t((x * 255) / width) : 255;
            pixmap->pixels.push_back(packPixel(a, mul255(std::uint32_t(y * 7) & 0xFF, a),
                                               mul255(std::uint32_t(x * 5) & 0xFF, a), 0));
        }
    return {0, std::move(pixmap)};
}

struct EditorSizedFrame {
    CFrame frame{CRect::fromSize(0, 0, 942, 171), nullptr};
    std::vector<CMovieBitmap*> readout;
    std::unique_ptr<OffscreenDriver> driver;

    EditorSizedFrame() {
        frame.setBackground(strip(942, 171, 1));
        const CBitmap knob = strip(36, 37, 101);
        // Three rows of knobs across the panel.
        for (int i = 0; i < 24; ++i) {
            const double x = 150 + (i % 12) * 62, y = 20 + (i / 12) * 66;
            auto* k = frame.addView(std::make_unique<CAnimKnob>(CRect::fromSize(x, y, 36, 37),
                                                                nullptr, i, 101, 37, knob));
            k->setValue(float(i) / 24);
        }
        const CBitmap onOff = strip(19, 10, 2);
        for (int i = 0; i < 8; ++i)
            frame.addView(std::make_unique<COnOffButton>(CRect::fromSize(250 + i * 80, 140, 19, 10),
                                                         nullptr, 40 + i, onOff));
        const CBitmap sw = strip(26, 9, 3);
        for (int i = 0; i < 7; ++i)
            frame.addView(std::make_unique<CHorizontalSwitch>(
                CRect::fromSize(100 + i * 110, 5, 26, 9), nullptr, 60 + i, 3, 9, 3, sw));
        const CBitmap digit = strip(13, 16, 13);
        for (int i = 0; i < 10; ++i)
            readout.push_back(frame.addView(std::make_unique<CMovieBitmap>(
                CRect::fromSize(297 + i * 8, 26, 13, 16), nullptr, 64 + i, 13, 16, digit)));
        const CBitmap meter = strip(7, 45, 21);
        for (int i = 0; i < 2; ++i)
            frame.addView(std::make_unique<CMovieBitmap>(CRect::fromSize(43, 23 + i * 64, 7, 45),
                                                         nullptr, 80 + i, 21, 45, meter));
        // A translucent overlay strip, as 32-bit artwork would be.
        frame.addView(std::make_unique<CMovieBitmap>(CRect::fromSize(600, 100, 120, 40), nullptr,
                                                     90, 1, 40, strip(120, 40, 1, true)));
        auto* display = frame.addView(std::make_unique<CParamDisplay>(CRect{733, 157, 823, 169}));
        display->setValue(0.42f);
        driver = std::make_unique<OffscreenDriver>(frame);
    }
};

void BM_FullRedraw(benchmark::State& state) {
    EditorSizedFrame editor;
    for (auto _ : state) {
        editor.frame.setDirty(true);
        editor.frame.idle();
        benchmark::DoNotOptimize(editor.frame.framebuffer().pixels().data());
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_IdleNothingChanged(benchmark::State& state) {
    EditorSizedFrame editor;
    editor.frame.idle();
    for (auto _ : state)
        editor.frame.idle();
}
BENCHMARK(BM_IdleNothingChanged)->Unit(benchmark::kMicrosecond);

void BM_IdleReadoutRewrittenUnchanged(benchmark::State& state) {
    EditorSizedFrame editor;
    editor.frame.idle();
    for (auto _ : state) {
        for (auto* digit : editor.readout) {
            const float shown = digit->getValue();
            digit->setValue(0);
            digit->setValue(shown);
        }
        editor.frame.idle();
    }
}
BENCHMARK(BM_IdleReadoutRewrittenUnchanged)->Unit(benchmark::kMicrosecond);

void BM_OneKnobMoved(benchmark::State& state) {
    EditorSizedFrame editor;
    editor.frame.idle();
    auto* knob = static_cast<CControl*>(editor.frame.getView(0));
    float value = 0;
    for (auto _ : state) {
        value = value >= 1 ? 0 : value + 0.01f;
        knob->setValue(value);
        editor.frame.idle();
    }
}
BENCHMARK(BM_OneKnobMoved)->Unit(benchmark::kMicrosecond);

// Heap bytes in use, small blocks and mapped ones.
double heapInUse() {
    const auto info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// The editor's bitmaps at their real sizes (preset-bar strips sized from their controls), as
// BMP files in memory, the way the plug-in holds the embedded bytes.
std::map<int, std::vector<std::uint8_t>> editorBitmapFiles() {
    struct Size {
        int id, width, height, bits;
    };
    const Size sizes[] = {
        {128, 942, 171, 24}, {129, 942, 171, 24}, {130, 36, 3737, 24}, {131, 36, 3636, 24},
        {132, 36, 3636, 24}, {133, 37, 3737, 24}, {134, 36, 3737, 24}, {135, 36, 3737, 24},
        {136, 37, 3737, 24}, {137, 37, 3636, 24}, {138, 36, 3636, 24}, {139, 36, 3636, 24},
        {140, 19, 38, 24},   {141, 19, 38, 24},   {142, 19, 18, 24},   {143, 26, 27, 24},
        {144, 13, 176, 24},  {145, 13, 208, 24},  {146, 3, 16, 24},    {147, 3, 4, 24},
        {148, 12, 92, 24},   {149, 12, 92, 24},   {150, 24, 40, 24},   {151, 24, 40, 24},
        {152, 16, 280, 32},  {153, 7, 945, 24},   {988, 11, 21, 24},   {989, 11, 27, 24},
        {990, 17, 45, 24},   {991, 17, 45, 24},   {992, 32, 39, 24},   {993, 44, 39, 24},
        {994, 28, 39, 24},   {995, 30, 65, 24},   {998, 24, 48, 24},   {999, 24, 48, 24},
    };
    std::map<int, std::vector<std::uint8_t>> files;
    for (const auto& s : sizes)
        files[s.id] = testing::makeBmp({s.width, s.height, s.bits}, [](int x, int y) {
            return testing::Bgra{std::uint8_t(x), std::uint8_t(y), 90, 200};
        });
    return files;
}

// What an open editor adds to the heap: its frame, framebuffer and window copy, and (for the
// first editor of the process only) the decoded bitmaps. Not a timing: one iteration, two
// counters in bytes.
void BM_OpenEditorMemory(benchmark::State& state) {
    const auto files = editorBitmapFiles();
    BitmapCache cache([&files](int id) -> std::span<const std::uint8_t> {
        const auto it = files.find(id);
        return it == files.end() ? std::span<const std::uint8_t>{} : it->second;
    });
    const auto openEditor = [&cache] {
        auto frame = std::make_unique<CFrame>(CRect::fromSize(0, 0, 942, 171), nullptr);
        frame->setBackground(cache.load(128));
        std::vector<CBitmap> held;
        for (int id = 129; id <= 153; ++id)
            held.push_back(cache.load(id));
        for (int id = 988; id <= 999; ++id)
            held.push_back(cache.load(id));
        for (int i = 0; i < 22; ++i)
            frame->addView(std::make_unique<CAnimKnob>(CRect::fromSize(100 + i * 37, 20, 36, 37),
                                                       nullptr, i, 101, 37, held[1 + i % 10]));
        auto driver = std::make_unique<OffscreenDriver>(*frame);
        frame->idle();
        // The editor's controls hold every bitmap while it is open.
        return std::tuple{std::move(held), std::move(frame), std::move(driver)};
    };
    for (auto _ : state) {
        const double before = heapInUse();
        auto first = openEditor();
        const double afterFirst = heapInUse();
        auto second = openEditor();
        const double afterSecond = heapInUse();
        state.counters["first_editor_bytes"] = afterFirst - before;
        state.counters["second_editor_bytes"] = afterSecond - afterFirst;
        state.counters["decodes"] = cache.decodeCount();
    }
}
BENCHMARK(BM_OpenEditorMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmora::toolkit

BENCHMARK_MAIN();
