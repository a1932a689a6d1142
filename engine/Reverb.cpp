// The two reverbs, per sample, on the input u = wetL + wetR:
//
// Spring: three pairs of feedback lines (group A) cross-coupled through allpasses (group B).
//   d_i = A_i, the even lines through a one-pole low-pass (damping k)
//   e_i = allpass on B_i of d_i
//   pair p: A_2p = (X e_2p+1 + e_2p) Y g_p + u,  A_2p+1 = e_2p+1 Y g_p + e_2p,  g = 1, 0.975, 0.95
//   left  = A3 (at A1's tap) + A1 + A5 (just written), through allpasses on C0 then C2
//   right = A1 (at A1's tap) + A3 + A5 (just written), through allpasses on C1 then C3
//
// Plate: four coupled allpass diffusers (group C) feeding six damped combs (group B).
//   the diffusers turn u into the diffused signal D (and h = 0.7 D)
//   comb i: d_i = one-pole low-pass of B_i; B_i = D − (h Y + d_i) 0.7 Y (even i),
//           (d_i − h Y) 0.7 Y + D (odd i)
//   left = B0 (at C0's tap) + B3 (at C2's tap) + B4 (just written)
//   right = B2 (at C3's tap) + B1 (at C1's tap) + B5 (just written)
//
// Both: a band-pass per side, times the type's output scale, blended into the wet signal.
// Y (feedback), X (cross coupling) and k (damping) follow the damping parameter.
#include "engine/Reverb.h"

#include "engine/Denormal.h"
#include "engine/PortableMaths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmora::engine {

namespace {

// The three line groups and what each type uses them for.
namespace line {
constexpr int kGroupA = 0;  // A0..A5
constexpr int kGroupB = 6;  // B0..B5
constexpr int kGroupC = 12; // C0..C3

constexpr int kSpringFeedback = kGroupA;        // three cross-coupled pairs
constexpr int kSpringLoopAllpasses = kGroupB;   // one allpass after each feedback line
constexpr int kSpringOutputAllpasses = kGroupC; // two in series per side: C0, C2 left; C1, C3 right
constexpr int kPlateCombs = kGroupB;            // six damped combs
constexpr int kPlateDiffusers = kGroupC;        // four coupled allpass diffusers in series
} // namespace line

struct Tap {
    double base;   // L = S × base × factor samples, evaluated in that order
    double factor; // 0 for a line the type does not use
};

struct TypeDesign {
    std::array<Tap, Reverb::kLineCount> taps;
    double bandPassAngle; // rad/s: w = bandPassAngle / fs
    double bandPassWidth; // α = sin w / bandPassWidth (twice the band-pass Q)
    double outputScale;   // the reverb signal's level before the blend
    double dampingSpan;   // k = (1 − RvbDamp) × dampingSpan + dampingFloor
    double dampingFloor;
};

// The voicing of each type. Spring lengths are samples at a base rate of 303187.5 Hz (S = fs /
// 303187.5); the A pairs grow by a ratio of 1.2059 from pair to pair. Plate lengths are in units
// of 1 / 6553.4 ms (S = fs × 44.1 × 5 / 1445024700, that is fs / 6553400). The comments give
// each tap in milliseconds, the same at every rate.
const TypeDesign& designFor(ReverbType type) {
    static const TypeDesign spring{{{
                                       {32767, 0.5},             // A0 54.04 ms
                                       {32767, 0.5},             // A1 54.04 ms
                                       {39513.06570839413, 0.5}, // A2 65.16 ms
                                       {39513.06570839413, 0.5}, // A3 65.16 ms
                                       {47647.92275589291, 0.5}, // A4 78.58 ms
                                       {47647.92275589291, 0.5}, // A5 78.58 ms
                                       {515.4478875, 1},         // B0 1.700 ms
                                       {515.4478875, 1},         // B1 1.700 ms
                                       {427.4463375, 1},         // B2 1.410 ms
                                       {427.4463375, 1},         // B3 1.410 ms
                                       {389.250225, 1},          // B4 1.284 ms
                                       {389.250225, 1},          // B5 1.284 ms
                                       {2606.01705, 1},          // C0 8.595 ms
                                       {2568.42495, 1},          // C1 8.471 ms
                                       {2129.11335, 1},          // C2 7.022 ms
                                       {2160.07155, 1},          // C3 7.125 ms
                                   }},
                                   5026.4, // about 2π × 800 Hz
                                   0.2,
                                   0.1625,
                                   0.52, // k from 0.72 (no damping) down to 0.2
                                   0.2};
    static const TypeDesign plate{{{
                                      {0, 0}, // A0..A5 unused
                                      {0, 0},
                                      {0, 0},
                                      {0, 0},
                                      {0, 0},
                                      {0, 0},
                                      {3182331.04, 0.5},   // B0 242.8 ms
                                      {2662541.5656, 0.5}, // B1 203.1 ms
                                      {3295698.3066, 0.5}, // B2 251.4 ms
                                      {2506079.1406, 0.5}, // B3 191.2 ms
                                      {3064032.3399, 0.5}, // B4 233.8 ms
                                      {2924267.9781, 0.5}, // B5 223.1 ms
                                      {417287.745, 0.75},  // C0 47.76 ms
                                      {156341.1871, 0.75}, // C1 17.89 ms
                                      {304978.8525, 0.75}, // C2 34.90 ms
                                      {117807.1951, 0.75}, // C3 13.48 ms
                                  }},
                                  12566.0, // about 2π × 2000 Hz
                                  0.12,
                                  0.3,
                                  0.4, // k from 0.8 (no damping) down to 0.4
                                  0.4};
    return type == ReverbType::Plate ? plate : spring;
}

// The scale S that sets every tap of a type for the rate (the form evaluated matters to the bits).
double tapScale(ReverbType type, double fs) {
    return type == ReverbType::Plate ? fs * 44.1 * 5 / 1445024700.0 : fs / 303187.5;
}

// Line sizes (mask + 1 samples): the longest tap, the plate's B2 of 251 ms, fits up to 500 kHz.
constexpr std::size_t kMaskUpTo50k = 32767;
constexpr std::size_t kMaskUpTo100k = 65535;
constexpr std::size_t kMaskAbove = 131071;

std::size_t maskFor(double fs) {
    if (fs < 50000.0) return kMaskUpTo50k;
    if (fs < 100000.0) return kMaskUpTo100k;
    return kMaskAbove;
}

// Unused samples between consecutive lines, so they do not start a power of two apart (see
// bench/README.md: power-of-two spacing more than halved the spring's speed).
constexpr std::size_t kLineGap = 40;

// Damping parameter v (0..1) to the decay gain g = 0.5^(100^v × 0.01): about 0.993 down to 0.5.
double decayGain(double value) {
    const double exponent = maths::pow(100.0, value) * 0.01;
    return maths::pow(0.5, exponent);
}

// The spring's loop gain √0.56 is shared between the feedback (0.7) and the cross coupling (0.3).
constexpr double kSpringLoopGainSquared = 0.56;
constexpr double kSpringFeedbackShare = 0.7;
constexpr double kSpringCrossShare = 0.3;
// The plate's cross coupling is the fourth root of its feedback gain.
constexpr double kPlateCrossExponent = 0.25;

// Feedback gain of each spring pair, on top of Y.
constexpr std::array<double, 3> kSpringPairGain{1.0, 0.975, 0.95};

constexpr double kAllpassGain = 0.7071; // about 1 / √2, in every spring allpass
constexpr double kDiffuserGain = 0.7;   // the plate's diffusers
constexpr double kCombScale = 0.7;      // the plate's comb feedback, times Y

// Signs for a pair of combs in two lanes, an even comb in lane 0 and an odd one in lane 1.
constexpr TwoLanes kOddNegated{1.0, -1.0};
constexpr TwoLanes kEvenNegated{-1.0, 1.0};

} // namespace

void Reverb::allocate(double fs) {
    mask_ = maskFor(fs);
    storage_.assign(static_cast<std::size_t>(kLineCount) * (mask_ + 1 + kLineGap), 0.0);
    write_ = mask_;
    tapDistances_.fill(0);
}

bool Reverb::allocated() const {
    return !storage_.empty();
}

std::size_t Reverb::mask() const {
    return mask_;
}

void Reverb::layOut(ReverbType type, double fs) {
    const TypeDesign& design = designFor(type);
    type_.store(static_cast<int>(type), std::memory_order_relaxed);

    const double scale = tapScale(type, fs);
    write_ = mask_;
    for (int i = 0; i < kLineCount; ++i) {
        // A tap of L samples reads at trunc(mask − L): L rounded up to whole samples. The AND
        // keeps even an over-long tap inside its line.
        const Tap& tap = design.taps[static_cast<std::size_t>(i)];
        const double length = scale * tap.base * tap.factor;
        const auto start = static_cast<std::int64_t>(static_cast<double>(mask_) - length);
        const std::size_t readIndex = static_cast<std::size_t>(start) & mask_;
        tapDistances_[static_cast<std::size_t>(i)] = (write_ - readIndex) & mask_;
    }
    outputScale_ = design.outputScale;

    // The band-pass angle and its sine are rounded to float, a1 and a2 too.
    const float angle = static_cast<float>(design.bandPassAngle / fs);
    const float sine = static_cast<float>(maths::sin(static_cast<double>(angle)));
    const double alpha = static_cast<double>(sine) / design.bandPassWidth;
    bandB0_ = alpha / (1.0 + alpha);
    bandA1_ = static_cast<float>(-2.0 * maths::cos(static_cast<double>(angle)) / (1.0 + alpha));
    bandA2_ = static_cast<float>((1.0 - alpha) / (1.0 + alpha));

    setDamping(dampingValue_.load(std::memory_order_relaxed));
}

void Reverb::setDamping(double value) {
    dampingValue_.store(value, std::memory_order_relaxed);
    // Recompute if a re-layout changed the type meanwhile, so the coefficients end matching it.
    int type = 0;
    do {
        type = type_.load(std::memory_order_relaxed);
        const double g = decayGain(value);
        if (static_cast<ReverbType>(type) == ReverbType::Plate) {
            feedback_.store(g, std::memory_order_relaxed);
            cross_.store(maths::pow(g, kPlateCrossExponent), std::memory_order_relaxed);
        } else {
            const double loopGain = std::sqrt(kSpringLoopGainSquared);
            feedback_.store(loopGain * g * kSpringFeedbackShare, std::memory_order_relaxed);
            cross_.store(loopGain * g * kSpringCrossShare, std::memory_order_relaxed);
        }
        const TypeDesign& design = designFor(static_cast<ReverbType>(type));
        const double damping = (1.0 - value) * design.dampingSpan + design.dampingFloor;
        dampingCoefficient_.store(damping, std::memory_order_relaxed);
    } while (type != type_.load(std::memory_order_relaxed));
}

Reverb::Coefficients Reverb::loadCoefficients() const {
    return {feedback_.load(std::memory_order_relaxed), cross_.load(std::memory_order_relaxed),
            dampingCoefficient_.load(std::memory_order_relaxed)};
}

std::size_t Reverb::tapDistance(int line) const {
    return tapDistances_[static_cast<std::size_t>(line)];
}

// The sixteen lines as one sample sees them. With the line size a constant, each line starts at
// a fixed offset in the storage and wraps with a constant mask. Same bits as a read index per
// line: every index advances with the write index, so each read is write − distance, masked.
template <std::size_t Mask> class Reverb::Lines {
  public:
    static constexpr std::size_t kStride = Mask + 1 + kLineGap;

    Lines(double* storage, std::size_t write, const std::array<std::size_t, kLineCount>& distances)
        : storage_(storage), write_(write), distances_(distances) {}

    // Line `line` read at the distance of line `tapOf` (its own unless an output tap says so).
    double read(int line, int tapOf) const {
        return at(line)[(write_ - distances_[static_cast<std::size_t>(tapOf)]) & Mask];
    }
    double read(int line) const { return read(line, line); }
    void write(int line, double value) const { at(line)[write_] = value; }

  private:
    double* at(int line) const { return storage_ + static_cast<std::size_t>(line) * kStride; }

    double* storage_;
    std::size_t write_;
    const std::array<std::size_t, kLineCount>& distances_;
};

// The allpasses of lines `line` and `line` + 1 as two lanes: e = read − 0.7071 x is passed on,
// 0.7071 e + x is written back. Same bits as one at a time: each lane takes the scalar steps.
template <std::size_t Mask>
TwoLanes Reverb::allpass(const Lines<Mask>& lines, int line, TwoLanes x) {
    const TwoLanes e = TwoLanes{lines.read(line), lines.read(line + 1)} - kAllpassGain * x;
    const TwoLanes back = kAllpassGain * e + x;
    lines.write(line, back[0]);
    lines.write(line + 1, back[1]);
    return e;
}

template <std::size_t Mask>
void Reverb::processSpring(const Lines<Mask>& lines, double input, const Coefficients& c,
                           DampingStates& states, double& left, double& right) const {
    using namespace line;
    const double cross = c.cross, feedback = c.feedback, damping = c.damping;

    // Damped reads on the even lines, plain reads on the odd ones.
    std::array<double, 6> d{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int even = kSpringFeedback + 2 * static_cast<int>(pair);
        const double damped = states[pair][0];
        d[2 * pair] = damped + (lines.read(even) - damped) * damping;
        d[2 * pair + 1] = lines.read(even + 1);
        states[pair] = TwoLanes{d[2 * pair], d[2 * pair + 1]};
    }

    // Six allpasses in the loop, two at a time as lanes.
    std::array<double, 6> e{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int allpassLine = kSpringLoopAllpasses + 2 * static_cast<int>(pair);
        const TwoLanes through{d[2 * pair], d[2 * pair + 1]};
        const TwoLanes fed = allpass(lines, allpassLine, through);
        e[2 * pair] = fed[0];
        e[2 * pair + 1] = fed[1];
    }

    // Each pair takes back its own two signals, the even line with the input and the odd signal
    // cross-coupled. Same bits for the first pair: its gain 1 multiplies exactly.
    std::array<double, 6> written{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const double even = e[2 * pair], odd = e[2 * pair + 1];
        written[2 * pair] = (cross * odd + even) * feedback * kSpringPairGain[pair] + input;
        written[2 * pair + 1] = odd * feedback * kSpringPairGain[pair] + even;
        lines.write(kSpringFeedback + 2 * static_cast<int>(pair), written[2 * pair]);
        lines.write(kSpringFeedback + 2 * static_cast<int>(pair) + 1, written[2 * pair + 1]);
    }

    // The taps at W are the values just written, used as they are.
    const int a1 = kSpringFeedback + 1, a3 = kSpringFeedback + 3;
    const double tapL = lines.read(a3, a1) + written[1] + written[5];
    const double tapR = lines.read(a1, a1) + written[3] + written[5];

    // Two allpasses in series per side, left in lane 0 and right in lane 1.
    const TwoLanes first = allpass(lines, kSpringOutputAllpasses + 0, TwoLanes{tapL, tapR});
    const TwoLanes second = allpass(lines, kSpringOutputAllpasses + 2, first);
    left = second[0];
    right = second[1];
}

template <std::size_t Mask>
void Reverb::processPlate(const Lines<Mask>& lines, double input, const Coefficients& c,
                          DampingStates& d, double& left, double& right) const {
    using namespace line;
    const double cross = c.cross, feedback = c.feedback, damping = c.damping;

    // Four coupled allpass diffusers in series: each reads its line, takes in the previous
    // stage's scaled output through the cross coupling and writes back what passed it.
    const int c0 = kPlateDiffusers;
    const double out0 = lines.read(c0 + 0) - kDiffuserGain * cross * input;
    const double scaled0 = kDiffuserGain * out0;
    lines.write(c0 + 0, cross * scaled0 + input);
    const double out1 = lines.read(c0 + 1) + cross * scaled0;
    const double scaled1 = kDiffuserGain * out1;
    lines.write(c0 + 1, out0 - cross * scaled1);
    const double out2 = lines.read(c0 + 2) - cross * scaled1;
    const double scaled2 = kDiffuserGain * out2;
    lines.write(c0 + 2, cross * scaled2 + out1);
    const double diffused = lines.read(c0 + 3) + cross * scaled2;
    const double scaledDiffused = kDiffuserGain * diffused;
    lines.write(c0 + 3, out2 - cross * scaledDiffused);

    // Six damped combs fed by the diffused signal, alternating in sign. Each pair of an even and
    // an odd comb runs as two lanes; same bits as one at a time, since the odd lane takes the
    // same steps with two signs flipped, and a product with ±1 is exact.
    const TwoLanes hy = bothLanes(scaledDiffused * feedback);
    const TwoLanes diffusedLanes = bothLanes(diffused);
    std::array<double, 6> combInputs{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int comb = kPlateCombs + 2 * static_cast<int>(pair);
        const TwoLanes read{lines.read(comb), lines.read(comb + 1)};
        d[pair] = d[pair] + (read - d[pair]) * damping;
        const TwoLanes fed = (d[pair] + hy * kOddNegated) * kCombScale * feedback;
        const TwoLanes written = diffusedLanes + fed * kEvenNegated;
        combInputs[2 * pair] = written[0];
        combInputs[2 * pair + 1] = written[1];
        lines.write(comb, written[0]);
        lines.write(comb + 1, written[1]);
    }

    // Output taps read the combs at the diffusers' tap lengths; the taps at W are the values
    // just written, taken as they are.
    const int b0 = kPlateCombs;
    left = lines.read(b0 + 0, c0 + 0) + lines.read(b0 + 3, c0 + 2) + combInputs[4];
    right = lines.read(b0 + 2, c0 + 3) + lines.read(b0 + 1, c0 + 1) + combInputs[5];
}

// y = b0 x − b0 x2 − a1 y1 − a2 y2 per lane (b1 = 0, b2 = −b0).
TwoLanes Reverb::bandPass(BandPassHistory& h, TwoLanes x) const {
    const TwoLanes y = bandB0_ * x - bandB0_ * h.x2 - bandA1_ * h.y1 - bandA2_ * h.y2;
    h.y2 = h.y1;
    h.y1 = flushDenormal(y);
    h.x2 = h.x1;
    h.x1 = x;
    return y;
}

// The recursive states are worked on as local copies and stored back once (see bench/README.md).
template <std::size_t Mask> void Reverb::processAt(double& wetL, double& wetR, double amount) {
    const Lines<Mask> lines(storage_.data(), write_, tapDistances_);
    const double input = wetL + wetR;
    const Coefficients coefficients = loadCoefficients();
    DampingStates damping = dampingStates_;
    double left = 0.0, right = 0.0;
    if (static_cast<ReverbType>(type_.load(std::memory_order_relaxed)) == ReverbType::Plate)
        processPlate(lines, input, coefficients, damping, left, right);
    else
        processSpring(lines, input, coefficients, damping, left, right);
    dampingStates_ = damping;

    BandPassHistory history = bandPass_;
    const TwoLanes y = bandPass(history, TwoLanes{left, right});
    bandPass_ = history;
    const TwoLanes wet{wetL, wetR};
    const TwoLanes blended = wet + (outputScale_ * y - wet) * amount;
    wetL = blended[0];
    wetR = blended[1];
    write_ = (write_ + 1) & Mask;
}

void Reverb::process(double& wetL, double& wetR, double amount) {
    if (storage_.empty()) return;
    switch (mask_) {
    case kMaskUpTo50k:
        processAt<kMaskUpTo50k>(wetL, wetR, amount);
        break;
    case kMaskUpTo100k:
        processAt<kMaskUpTo100k>(wetL, wetR, amount);
        break;
    case kMaskAbove:
        processAt<kMaskAbove>(wetL, wetR, amount);
        break;
    default:
        break;
    }
}

void Reverb::reset() {
    std::fill(storage_.begin(), storage_.end(), 0.0);
    dampingStates_ = DampingStates{};
    bandPass_ = BandPassHistory{};
}

} // namespace velmora::engine
