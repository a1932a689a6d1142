// The display text the host shows for each parameter, built from the engine's current values.
#pragma once

#include <optional>
#include <string>

namespace velmora {

namespace engine {
class Engine;
}

// The longest text a display writes without its terminator: every display fits a 64-byte
// buffer whatever the value.
inline constexpr int kDisplayTextLength = 63;

// The display of index 0..59, or nothing for any other index.
std::optional<std::string> parameterDisplayText(const engine::Engine& engine, int index);

// Writes the display of index 0..59 into text; any other index leaves text as it was.
void writeParameterDisplay(const engine::Engine& engine, int index, char* text);

// Quantities shared by the host's texts and the editor's readout.

// The current step of a stepped parameter (0 for a continuous one).
int currentStep(const engine::Engine& engine, int index);

// The linear gain a level parameter's value stands for (the input and output volume 4v^2, a
// gate threshold v^2, a feedback gain v itself).
double levelGain(int index, double value);

// pi/2 as rounded to single precision: the unit in which the LFO offset is shown as 180
// degrees.
inline constexpr double kSingleHalfPi = 1.5707963705062866;

// The right-hand share 0..100 of a balance or dry/wet value (the left-hand share is 100 - n).
int balanceShare(double value);

// The filter cutoff in Hz that a Cutoff value gives at a sample rate.
double cutoffHz(double value, double sampleRate);

// The linear gain behind a level: 20 log10(gain) with the logarithm and the product rounded to
// single precision.
float decibelsOf(double gain);

} // namespace velmora
