// What the effect tells the preset bar, held until the editor's idle applies it on the UI
// thread. The notices may come from the audio thread (learning ends in the MIDI handler, and
// programs can change there), where widgets may not be touched. Posting is wait-free and never
// allocates: a mask of renamed programs, the program a load made current, and two flags.
#pragma once

#include "presets/ProgramStore.h"

#include <atomic>
#include <cstdint>

namespace velmora::editor {

class PresetBarNotices {
  public:
    static_assert(kNumPrograms <= 64, "one mask bit per program");
    static constexpr int kNoProgram = -1;

    struct Taken {
        std::uint64_t renamed = 0; // bit i: program i has a new name
        int shownProgram = kNoProgram;
        bool learnReleased = false;
        bool forgetReleased = false;

        bool wasRenamed(int program) const { return (renamed >> program) & 1u; }
    };

    // Any thread. Indices outside the programs are ignored.
    void programRenamed(int program) {
        if (isProgramIndex(program))
            renamed_.fetch_or(std::uint64_t{1} << program, std::memory_order_release);
    }
    void programShown(int program) {
        if (isProgramIndex(program)) shownProgram_.store(program, std::memory_order_release);
    }
    void learnReleased() { learnReleased_.store(true, std::memory_order_release); }
    void forgetReleased() { forgetReleased_.store(true, std::memory_order_release); }

    // UI thread: everything posted since the last call. A notice posted while this runs is
    // taken now or by the next call, never lost.
    Taken take() {
        Taken taken;
        taken.renamed = renamed_.exchange(0, std::memory_order_acquire);
        taken.shownProgram = shownProgram_.exchange(kNoProgram, std::memory_order_acquire);
        taken.learnReleased = learnReleased_.exchange(false, std::memory_order_acquire);
        taken.forgetReleased = forgetReleased_.exchange(false, std::memory_order_acquire);
        return taken;
    }

    void discard() { take(); }

  private:
    std::atomic<std::uint64_t> renamed_{0};
    std::atomic<int> shownProgram_{kNoProgram};
    std::atomic<bool> learnReleased_{false};
    std::atomic<bool> forgetReleased_{false};
};

} // namespace velmora::editor
