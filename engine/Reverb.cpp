#include "engine/Reverb.h"

#include "engine/Denormal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmora::engine {

namespace {

// Line numbers: A0..A5, then B0..B5, then C0..C3.
constexpr int kA = 0;
constexpr int kB = 6;
constexpr int kC = 12;

struct Tap {
    double base;   // L = S × base × factor, evaluated in that order
    double factor; // 0 for a line the type does not use
};

struct TypeDesign {
    std::array<Tap, 16> taps;
    double bandPassAngle; // w = bandPassAngle / fs
    double bandPassWidth; // α = sin w / bandPassWidth
    double outputScale;
};

const TypeDesign& designFor(ReverbType type) {
    static const TypeDesign spring{{{{32767, 0.5},
                                     {32767, 0.5},
                                     {39513.06570839413, 0.5},
                                     {39513.06570839413, 0.5},
                                     {47647.92275589291, 0.5},
                                     {47647.92275589291, 0.5},
                                     {515.4478875, 1},
                                     {515.4478875, 1},
                                     {427.4463375, 1},
                                     {427.4463375, 1},
                                     {389.250225, 1},
                                     {389.250225, 1},
                                     {2606.01705, 1},
                                     {2568.42495, 1},
                                     {2129.11335, 1},
                                     {2160.07155, 1}}},
                                   5026.4,
                                   0.2,
                                   0.1625};
    static const TypeDesign plate{{{{0, 0},
                                    {0, 0},
                                    {0, 0},
                                    {0, 0},
                                    {0, 0},
                                    {0, 0},
                                    {3182331.04, 0.5},
                                    {2662541.5656, 0.5},
                                    {3295698.3066, 0.5},
                                    {2506079.1406, 0.5},
                                    {3064032.3399, 0.5},
                                    {2924267.9781, 0.5},
                                    {417287.745, 0.75},
                                    {156341.1871, 0.75},
                                    {304978.8525, 0.75},
                                    {117807.1951, 0.75}}},
                                  12566.0,
                                  0.12,
                                  0.3};
    return type == ReverbType::Plate ? plate : spring;
}

// The scale S that sets every tap of a type for the rate.
double tapScale(ReverbType type, double fs) {
    return type == ReverbType::Plate ? fs * 44.1 * 5 / 1445024700.0 : fs / 303187.5;
}

constexpr std::size_t kMaskUpTo50k = 32767;
constexpr std::size_t kMaskUpTo100k = 65535;
constexpr std::size_t kMaskAbove = 131071;

std::size_t maskFor(double fs) {
    if (fs < 50000.0) return kMaskUpTo50k;
    if (fs < 100000.0) return kMaskUpTo100k;
    return kMaskAbove;
}

// Lines a power of two apart would put every line's write position at the same address modulo
// 4 KiB; the processor then takes reads of one line as depending on writes to another and stalls
// (more than halving the spring's speed). A gap of a few cache lines between lines avoids that.
constexpr std::size_t kLineGap = 40;

constexpr double kAllpass = 0.7071;
constexpr double kDiffusion = 0.7;

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

    const float angle = static_cast<float>(design.bandPassAngle / fs);
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    const double alpha = static_cast<double>(sine) / design.bandPassWidth;
    bandB0_ = alpha / (1.0 + alpha);
    bandA1_ = static_cast<float>(-2.0 * std::cos(static_cast<double>(angle)) / (1.0 + alpha));
    bandA2_ = static_cast<float>((1.0 - alpha) / (1.0 + alpha));

    setDamping(dampingValue_.load(std::memory_order_relaxed));
}

void Reverb::setDamping(double value) {
    dampingValue_.store(value, std::memory_order_relaxed);
    // Recompute if a re-layout changed the type meanwhile, so the coefficients end matching it.
    int type = 0;
    do {
        type = type_.load(std::memory_order_relaxed);
        const double c = std::pow(100.0, value) * 0.01;
        const double g = std::pow(0.5, c);
        if (static_cast<ReverbType>(type) == ReverbType::Plate) {
            feedback_.store(g, std::memory_order_relaxed);
            cross_.store(std::pow(g, 0.25), std::memory_order_relaxed);
            dampingCoefficient_.store((1.0 - value) * 0.4 + 0.4, std::memory_order_relaxed);
        } else {
            feedback_.store(std::sqrt(0.56) * g * 0.7, std::memory_order_relaxed);
            cross_.store(std::sqrt(0.56) * g * 0.3, std::memory_order_relaxed);
            dampingCoefficient_.store((1.0 - value) * 0.52 + 0.2, std::memory_order_relaxed);
        }
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
// a fixed offset in the storage and wraps with a constant mask, so a tap costs one subtraction,
// one mask and the load.
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
// 0.7071 e + x is written back.
template <std::size_t Mask>
TwoLanes Reverb::allpass(const Lines<Mask>& lines, int line, TwoLanes x) {
    const TwoLanes e = TwoLanes{lines.read(line), lines.read(line + 1)} - kAllpass * x;
    const TwoLanes back = kAllpass * e + x;
    lines.write(line, back[0]);
    lines.write(line + 1, back[1]);
    return e;
}

template <std::size_t Mask>
void Reverb::processSpring(const Lines<Mask>& lines, double input, const Coefficients& c,
                           DampingStates& states, double& left, double& right) const {
    const double k = c.damping;

    // Damped reads on the even lines, plain reads on the odd ones.
    std::array<double, 6> d{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int line = kA + 2 * static_cast<int>(pair);
        const double damped = states[pair][0];
        d[2 * pair] = damped + (lines.read(line) - damped) * k;
        d[2 * pair + 1] = lines.read(line + 1);
        states[pair] = TwoLanes{d[2 * pair], d[2 * pair + 1]};
    }

    // Six allpasses on the B lines, two at a time as lanes.
    std::array<double, 6> e{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int lineB = kB + 2 * static_cast<int>(pair);
        const TwoLanes through{d[2 * pair], d[2 * pair + 1]};
        const TwoLanes fed = allpass(lines, lineB, through);
        e[2 * pair] = fed[0];
        e[2 * pair + 1] = fed[1];
    }

    const double x = c.cross, y = c.feedback;
    const double a1 = e[1] * y + e[0];
    const double a3 = e[3] * y * 0.975 + e[2];
    const double a5 = e[5] * y * 0.95 + e[4];
    lines.write(kA + 0, (x * e[1] + e[0]) * y + input);
    lines.write(kA + 1, a1);
    lines.write(kA + 2, (x * e[3] + e[2]) * y * 0.975 + input);
    lines.write(kA + 3, a3);
    lines.write(kA + 4, (x * e[5] + e[4]) * y * 0.95 + input);
    lines.write(kA + 5, a5);

    // The taps at W are the values just written, used as they are.
    const double tapL = lines.read(kA + 3, 1) + a1 + a5;
    const double tapR = lines.read(kA + 1, 1) + a3 + a5;

    // Two allpasses in series per side, left on C0 and C2, right on C1 and C3.
    const TwoLanes g = allpass(lines, kC + 0, TwoLanes{tapL, tapR});
    const TwoLanes h = allpass(lines, kC + 2, g);
    left = h[0];
    right = h[1];
}

template <std::size_t Mask>
void Reverb::processPlate(const Lines<Mask>& lines, double input, const Coefficients& c,
                          DampingStates& d, double& left, double& right) const {
    const double x = c.cross, y = c.feedback, k = c.damping;

    // Four coupled allpass diffusers on the C lines.
    const double a = lines.read(kC + 0) - kDiffusion * x * input;
    const double b = kDiffusion * a;
    lines.write(kC + 0, x * b + input);
    const double cc = lines.read(kC + 1) + x * b;
    const double dd = kDiffusion * cc;
    lines.write(kC + 1, a - x * dd);
    const double e = lines.read(kC + 2) - x * dd;
    const double f = kDiffusion * e;
    lines.write(kC + 2, x * f + cc);
    const double gg = lines.read(kC + 3) + x * f;
    const double h = kDiffusion * gg;
    lines.write(kC + 3, e - x * h);

    // Six damped combs fed by the diffused signal, alternating in sign: gg − (hy + d) 0.7 y on
    // the even ones, (d − hy) 0.7 y + gg on the odd ones. Each pair of an even and an odd comb
    // runs as two lanes, the odd lane taking the same steps with two signs flipped (exact).
    const TwoLanes hy = bothLanes(h * y);
    const TwoLanes ggLanes = bothLanes(gg);
    std::array<double, 6> combInputs{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const int lineB = kB + 2 * static_cast<int>(pair);
        const TwoLanes read{lines.read(lineB), lines.read(lineB + 1)};
        d[pair] = d[pair] + (read - d[pair]) * k;
        const TwoLanes fed = (d[pair] + hy * kOddNegated) * kDiffusion * y;
        const TwoLanes comb = ggLanes + fed * kEvenNegated;
        combInputs[2 * pair] = comb[0];
        combInputs[2 * pair + 1] = comb[1];
        lines.write(lineB, comb[0]);
        lines.write(lineB + 1, comb[1]);
    }

    // Output taps read the combs at the diffusers' distances; the taps at W are the values just
    // written, taken as they are rather than read back through memory.
    left = lines.read(kB + 0, kC + 0) + lines.read(kB + 3, kC + 2) + combInputs[4];
    right = lines.read(kB + 2, kC + 3) + lines.read(kB + 1, kC + 1) + combInputs[5];
}

TwoLanes Reverb::bandPass(BandPassHistory& h, TwoLanes x) const {
    const TwoLanes y = bandB0_ * x - bandB0_ * h.x2 - bandA1_ * h.y1 - bandA2_ * h.y2;
    h.y2 = h.y1;
    h.y1 = flushDenormal(y);
    h.x2 = h.x1;
    h.x1 = x;
    return y;
}

// The recursive states are worked on as local copies: the lines are doubles too, and the
// compiler would otherwise reload each state after every write to a line.
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
