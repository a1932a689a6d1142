// The low-frequency oscillator: one shared phase read at a left and a right offset, five waves.
#pragma once

#include "engine/ModulationTables.h"

#include <array>
#include <atomic>
#include <optional>
#include <random>

namespace velmora::engine {

class Lfo {
  public:
    struct Values {
        double left;
        double right;
    };

    enum Wave : int { Sine = 0, Square = 1, Triangle = 2, Saw = 3, Random = 4 };

    void setWave(int wave);             // any thread
    void setOffset(double radians);     // any thread; (LROffset − 0.5) × π
    void setShapeCoefficient(double k); // kShape (construction / resume)

    // Block start in the phase-locked mode: the phase from the song position ppqPosition (in
    // quarter notes) for a cycle of numerator / denominator whole notes (the table values, not
    // step indices). Returns the increment to use for this block: `increment` when a position
    // was given, else 0 with the phase set to 0, so the LFO stands still.
    double lockPhase(std::optional<double> ppqPosition, int numerator, int denominator,
                     double increment);

    // The wave values at the current phase; then the phase advances by `increment` radians.
    Values step(double increment);

    void reset();              // phase, previous phases, values (random targets kept)
    void clearRandomTargets(); // suspend

    double phase() const { return phase_; }
    Values values() const { return {values_[0], values_[1]}; }

  private:
    void stepSine(const std::array<double, 2>& phases);
    static double triangleAt(double phase);
    double randomTarget();
    void stepRandom(double phaseLeft, double phaseRight);

    const ModulationTables& tables_ = modulationTables();
    std::atomic<int> wave_{Sine};
    std::atomic<double> offset_{0.0};
    double shapeCoefficient_ = 0.0;
    double phase_ = 0.0;
    std::array<double, 2> previousPhases_{};
    std::array<double, 2> values_{};
    std::array<double, 2> randomTargets_{};
    std::minstd_rand generator_{0x5EED};
};

} // namespace velmora::engine
