// Read-outs the editor asks of the effect and no host sees: the number its seven-segment
// readout shows for a control, and whether a tempo-synced note value is out of range.
#pragma once

namespace velmora {

namespace engine {
class Engine;
}

// What the readout shows. The caller passes storage for every field; a query fills only the
// fields its index defines and leaves the others as passed.
struct DisplayRecord {
    int digits;      // the number, scaled by the point position
    int point;       // 1: three decimals, 2: two, 3: one, 0: none
    bool isSigned;   // shown with a sign
    int separator;   // 0: plain number; 1, 2, 3: two-part balance display
    int numerator;   // -1 unless the index is a note value
    int denominator; // set together with a numerator
};

// Fills the record for an editor tag: parameters 0..59 and 61 (the tempo). `value` is the
// effect's getParameter(index), which the reverb, resonance and ducking rows show.
void getDisplayRecord(const engine::Engine& engine, int index, float value, DisplayRecord& record);

// Selector 1 and 2: the left or right delay note is longer than 5000 ms; 4: the LFO note rate
// is outside 0.01..15 Hz; 8 and 16: the left or right pre-delay is longer than the delay.
// Any other selector answers false.
bool isNoteValueTooLong(const engine::Engine& engine, int selector);

// Editor tag of the tempo readout.
inline constexpr int kTempoTag = 61;

// Selectors of isNoteValueTooLong.
inline constexpr int kLeftDelayNote = 1;
inline constexpr int kRightDelayNote = 2;
inline constexpr int kLfoNote = 4;
inline constexpr int kLeftPreDelayNote = 8;
inline constexpr int kRightPreDelayNote = 16;

} // namespace velmora
