#include "engine/Reverb.h"

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

double flush(double value) {
    return (value + 1e-30) - 1e-30;
}

std::size_t maskFor(double fs) {
    if (fs < 50000.0) return 32767;
    if (fs < 100000.0) return 65535;
    return 131071;
}

// Lines a power of two apart would put every line's write position at the same address modulo
// 4 KiB; the processor then takes reads of one line as depending on writes to another and stalls
// (more than halving the spring's speed). A gap of a few cache lines between lines avoids that.
constexpr std::size_t kLineGap = 40;

constexpr double kAllpass = 0.7071;
constexpr double kDiffusion = 0.7;

} // namespace

void Reverb::allocate(double fs) {
    mask_ = maskFor(fs);
    lineStride_ = mask_ + 1 + kLineGap;
    storage_.assign(static_cast<std::size_t>(kLineCount) * lineStride_, 0.0);
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

void Reverb::processSpring(double input, const Coefficients& c, double& left, double& right) {
    auto& d = dampingStates_;
    const double k = c.damping;
    const std::size_t w = write_;

    // Damped reads on the even lines, plain reads on the odd ones.
    d[0] = d[0] + (read(kA + 0, tap(0)) - d[0]) * k;
    d[1] = read(kA + 1, tap(1));
    d[2] = d[2] + (read(kA + 2, tap(2)) - d[2]) * k;
    d[3] = read(kA + 3, tap(3));
    d[4] = d[4] + (read(kA + 4, tap(4)) - d[4]) * k;
    d[5] = read(kA + 5, tap(5));

    std::array<double, 6> e{};
    for (std::size_t i = 0; i < 6; ++i) {
        const int lineB = kB + static_cast<int>(i);
        e[i] = read(lineB, tap(lineB)) - kAllpass * d[i];
        write(lineB, w, kAllpass * e[i] + d[i]);
    }

    const double x = c.cross, y = c.feedback;
    const double a1 = e[1] * y + e[0];
    const double a3 = e[3] * y * 0.975 + e[2];
    const double a5 = e[5] * y * 0.95 + e[4];
    write(kA + 0, w, (x * e[1] + e[0]) * y + input);
    write(kA + 1, w, a1);
    write(kA + 2, w, (x * e[3] + e[2]) * y * 0.975 + input);
    write(kA + 3, w, a3);
    write(kA + 4, w, (x * e[5] + e[4]) * y * 0.95 + input);
    write(kA + 5, w, a5);

    // The taps at W are the values just written, used as they are.
    const double tapL = read(kA + 3, tap(1)) + a1 + a5;
    const double tapR = read(kA + 1, tap(1)) + a3 + a5;

    const double g0 = read(kC + 0, tap(kC + 0)) - kAllpass * tapL;
    write(kC + 0, w, kAllpass * g0 + tapL);
    const double h0 = read(kC + 2, tap(kC + 2)) - kAllpass * g0;
    write(kC + 2, w, kAllpass * h0 + g0);

    const double g1 = read(kC + 1, tap(kC + 1)) - kAllpass * tapR;
    write(kC + 1, w, kAllpass * g1 + tapR);
    const double h1 = read(kC + 3, tap(kC + 3)) - kAllpass * g1;
    write(kC + 3, w, kAllpass * h1 + g1);

    left = h0;
    right = h1;
}

void Reverb::processPlate(double input, const Coefficients& c, double& left, double& right) {
    auto& d = dampingStates_;
    const double x = c.cross, y = c.feedback, k = c.damping;
    const std::size_t w = write_;

    // Four coupled allpass diffusers on the C lines.
    const double a = read(kC + 0, tap(kC + 0)) - kDiffusion * x * input;
    const double b = kDiffusion * a;
    write(kC + 0, w, x * b + input);
    const double cc = read(kC + 1, tap(kC + 1)) + x * b;
    const double dd = kDiffusion * cc;
    write(kC + 1, w, a - x * dd);
    const double e = read(kC + 2, tap(kC + 2)) - x * dd;
    const double f = kDiffusion * e;
    write(kC + 2, w, x * f + cc);
    const double gg = read(kC + 3, tap(kC + 3)) + x * f;
    const double h = kDiffusion * gg;
    write(kC + 3, w, e - x * h);

    // Six damped combs fed by the diffused signal, alternating in sign.
    std::array<double, 6> combInputs{};
    for (std::size_t i = 0; i < 6; ++i) {
        const int lineB = kB + static_cast<int>(i);
        d[i] = d[i] + (read(lineB, tap(lineB)) - d[i]) * k;
        if (i % 2 == 0)
            combInputs[i] = gg - (h * y + d[i]) * kDiffusion * y;
        else
            combInputs[i] = (d[i] - h * y) * kDiffusion * y + gg;
        write(lineB, w, combInputs[i]);
    }

    // Output taps read the combs at the diffusers' distances; the taps at W are the values just
    // written, taken as they are rather than read back through memory.
    left = read(kB + 0, tap(kC + 0)) + read(kB + 3, tap(kC + 2)) + combInputs[4];
    right = read(kB + 2, tap(kC + 3)) + read(kB + 1, tap(kC + 1)) + combInputs[5];
}

double Reverb::bandPass(BandPassHistory& h, double x) const {
    const double y = bandB0_ * x - bandB0_ * h.x2 - bandA1_ * h.y1 - bandA2_ * h.y2;
    h.y2 = h.y1;
    h.y1 = flush(y);
    h.x2 = h.x1;
    h.x1 = x;
    return y;
}

void Reverb::advanceIndices() {
    write_ = (write_ + 1) & mask_;
}

void Reverb::process(double& wetL, double& wetR, double amount) {
    if (storage_.empty()) return;
    const double input = wetL + wetR;
    const Coefficients coefficients = loadCoefficients();
    double left = 0.0, right = 0.0;
    if (static_cast<ReverbType>(type_.load(std::memory_order_relaxed)) == ReverbType::Plate)
        processPlate(input, coefficients, left, right);
    else
        processSpring(input, coefficients, left, right);

    const double yL = bandPass(bandPass_[0], left);
    const double yR = bandPass(bandPass_[1], right);
    wetL = wetL + (outputScale_ * yL - wetL) * amount;
    wetR = wetR + (outputScale_ * yR - wetR) * amount;
    advanceIndices();
}

void Reverb::reset() {
    std::fill(storage_.begin(), storage_.end(), 0.0);
    dampingStates_ = {};
    bandPass_ = {};
}

} // namespace velmora::engine
