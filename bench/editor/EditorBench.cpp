// The editor panel's drawing and memory: a full redraw of the 942x171 panel with every control,
// an idle call with nothing to do, an idle call after one control moved, and the heap an open
// panel adds with and without the bitmaps already decoded by another open editor.
#include "editor/EditorBitmaps.h"
#include "tools/snapshot/PanelSnapshot.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {

using velmora::snapshot::PanelSnapshot;
using velmora::toolkit::BitmapCache;

void BM_FullRedraw(benchmark::State& state) {
    PanelSnapshot panel;
    panel.render();
    for (auto _ : state) {
        panel.frame().setDirty(true);
        panel.frame().idle();
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_IdleNothingChanged(benchmark::State& state) {
    PanelSnapshot panel;
    panel.render();
    for (auto _ : state)
        panel.frame().idle();
}
BENCHMARK(BM_IdleNothingChanged)->Unit(benchmark::kMicrosecond);

// What a turning knob or a moving meter costs on the next idle.
void BM_IdleOneKnobMoved(benchmark::State& state) {
    PanelSnapshot panel;
    panel.render();
    float value = 0;
    for (auto _ : state) {
        value = value >= 1 ? 0 : value + 0.01f;
        panel.setValue(84, value);
        panel.frame().idle();
    }
}
BENCHMARK(BM_IdleOneKnobMoved)->Unit(benchmark::kMicrosecond);

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

// The first editor of a process decodes the bitmaps; a second one shares them.
void BM_OpenEditorMemory(benchmark::State& state) {
    double first = 0;
    double another = 0;
    double about = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto one = std::make_unique<PanelSnapshot>();
        one->render();
        const std::size_t afterFirst = heapInUse();
        auto two = std::make_unique<PanelSnapshot>();
        two->render();
        const std::size_t afterSecond = heapInUse();
        // The about picture is decoded only when it is shown.
        one->showAbout();
        one->render();
        first = double(afterFirst - before);
        another = double(afterSecond - afterFirst);
        about = double(heapInUse() - afterSecond);
    }
    state.counters["first_editor_bytes"] = first;
    state.counters["another_editor_bytes"] = another;
    state.counters["about_picture_bytes"] = about;
}
BENCHMARK(BM_OpenEditorMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
