// The reverb on the wet signal: a spring network of cross-coupled feedback lines with allpasses,
// or a plate of four diffusers feeding six damped combs; both sum the input to mono and end in a
// band-pass per side. The per-sample steps of each are written out at the top of Reverb.cpp.
#pragma once

#include "engine/TwoLanes.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <vector>

namespace velmora::engine {

enum class ReverbType : int { Spring = 0, Plate = 1 };

class Reverb {
  public:
    static constexpr int kLineCount = 16;

    // Sizes the 16 lines to a power of two for fs (construction and resume only: allocates).
    void allocate(double fs);
    bool allocated() const;
    std::size_t mask() const; // line size − 1: 32767, 65535 or 131071

    // Caller holds engineLock: tap positions, scale and band-pass for the type at fs, then the
    // damping for the stored value. The line contents are kept.
    void layOut(ReverbType type, double fs);

    // RvbDamp: feedback, cross gain and damping for the current type; any thread.
    void setDamping(double value);

    // One sample of the wet pair, blended with the reverb by amount (0 leaves it unchanged).
    void process(double& wetL, double& wetR, double amount);

    void reset(); // lines, damping states, band-pass histories (indices unchanged)

    // Samples between the write and a read of line `line` (0..5 A, 6..11 B, 12..15 C).
    std::size_t tapDistance(int line) const;

  private:
    // Both sides' band-pass histories, left and right in the lanes.
    struct BandPassHistory {
        TwoLanes x1{}, x2{}, y1{}, y2{};
    };
    // The six damping states, two to a lane pair: the plate works on them in pairs.
    using DampingStates = std::array<TwoLanes, 3>;
    // What the damping parameter sets for the current type.
    struct Coefficients {
        double feedback = 0.0; // Y: the loops' feedback gain, lower as damping rises
        double cross = 0.0;    // X: coupling between the lines of a pair or diffuser chain
        double damping = 0.0;  // k: one-pole low-pass coefficient on the damped lines (1 = none)
    };

    template <std::size_t Mask> class Lines;

    Coefficients loadCoefficients() const;
    template <std::size_t Mask> void processAt(double& wetL, double& wetR, double amount);
    template <std::size_t Mask>
    static TwoLanes allpass(const Lines<Mask>& lines, int line, TwoLanes x);
    template <std::size_t Mask>
    void processSpring(const Lines<Mask>& lines, double input, const Coefficients& c,
                       DampingStates& d, double& left, double& right) const;
    template <std::size_t Mask>
    void processPlate(const Lines<Mask>& lines, double input, const Coefficients& c,
                      DampingStates& d, double& left, double& right) const;
    TwoLanes bandPass(BandPassHistory& h, TwoLanes x) const;

    std::vector<double> storage_; // 16 lines of mask + 1 samples, each followed by a small gap
    std::size_t mask_ = 0;
    std::atomic<int> type_{static_cast<int>(ReverbType::Spring)};
    std::atomic<double> dampingValue_{0.0};
    std::atomic<double> feedback_{0.0};
    std::atomic<double> cross_{0.0};
    std::atomic<double> dampingCoefficient_{0.0};

    // The write index of group A and the one of groups B and C start together at mask and
    // advance together, so one index serves both; every read index keeps its distance behind
    // it, so each line holds that distance and its read index is write − distance.
    std::size_t write_ = 0;
    std::array<std::size_t, kLineCount> tapDistances_{};
    double outputScale_ = 0.1625;

    double bandB0_ = 0.0, bandA1_ = 0.0, bandA2_ = 0.0; // b2 = −b0, b1 = 0
    DampingStates dampingStates_{};
    BandPassHistory bandPass_{};
};

} // namespace velmora::engine
