#include "engine/PortableMaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

namespace velmora::engine {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

// Distance in units of 2^-52 |expected| (one ulp or a little under), where results below the
// normal range count in steps of the smallest subnormal.
double ulpsApart(double actual, double expected) {
    const double unit = std::max(std::abs(expected) * 0x1p-52, 0x1p-1074);
    return std::abs(actual - expected) / unit;
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A fixed sequence of uniform doubles in [low, high) (splitmix64), the same on every platform.
class Samples {
  public:
    double next(double low, double high) {
        state_ += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        z ^= z >> 31;
        return low + (high - low) * static_cast<double>(z >> 11) * 0x1p-53;
    }

  private:
    std::uint64_t state_ = 0x2545f4914f6cdd1dull;
};

constexpr int kSamplesPerRange = 20000;

// The largest distance from the C library over a range of arguments.
double worstOver(double low, double high, const std::function<double(double)>& portable,
                 const std::function<double(double)>& library) {
    Samples samples;
    double worst = 0.0;
    for (int i = 0; i < kSamplesPerRange; ++i) {
        const double x = samples.next(low, high);
        worst = std::max(worst, ulpsApart(portable(x), library(x)));
    }
    return worst;
}

// pow over a fixed base and a range of exponents.
double worstPowOver(double base, double low, double high) {
    return worstOver(
        low, high, [base](double y) { return maths::pow(base, y); },
        [base](double y) { return std::pow(base, y); });
}

// Each function is within about 0.9 ulp of the true value, a good C library within about 0.5.
constexpr double kBound = 2.0;
constexpr double kTanBound = 3.0; // the quotient of two kernels, each within 0.8 ulp

TEST(PortableMaths, ExactWhereTheEngineReliesOnIt) {
    static_assert(maths::pow(2.0, 10.0) == 1024.0 && maths::exp(0.0) == 1.0);
    EXPECT_TRUE(sameBits(maths::sin(0.0), 0.0));
    EXPECT_TRUE(sameBits(maths::sin(-0.0), -0.0));
    EXPECT_TRUE(sameBits(maths::tan(-0.0), -0.0));
    EXPECT_EQ(maths::cos(0.0), 1.0);
    EXPECT_EQ(maths::exp(0.0), 1.0);
    EXPECT_EQ(maths::exp(-0.0), 1.0);
    EXPECT_TRUE(sameBits(maths::log(1.0), 0.0));
    for (int n = -1074; n <= 1023; ++n)
        ASSERT_EQ(maths::pow(2.0, n), std::ldexp(1.0, n)) << "2^" << n;
    EXPECT_EQ(maths::pow(16.0, 0.25), 2.0);
    EXPECT_EQ(maths::pow(0.5, 3.0), 0.125);
    EXPECT_EQ(maths::pow(-2.0, 3.0), -8.0);
    for (const double x : {0.3, -7.25, 1e-310, 1.7e308, 0.001, 100.0})
        EXPECT_TRUE(sameBits(maths::pow(x, 1.0), x)) << x;
    for (const double y : {0.25, -3.0, 1e300, kInf, -kInf, std::nan("")})
        EXPECT_EQ(maths::pow(1.0, y), 1.0) << y;
    for (const double x : {0.0, 3.5, -2.0, kInf, std::nan("")})
        EXPECT_EQ(maths::pow(x, 0.0), 1.0) << x;
}

// The arguments of the engine's tables, filter designs and parameter laws.
TEST(PortableMaths, MatchesTheCLibraryOverTheEngineArguments) {
    const auto sin = [](double x) { return maths::sin(x); };
    const auto cos = [](double x) { return maths::cos(x); };
    EXPECT_LE(worstOver(0.0, 2 * kPi, sin, [](double x) { return std::sin(x); }), kBound);
    EXPECT_LE(worstOver(0.0, kPi, cos, [](double x) { return std::cos(x); }), kBound);
    EXPECT_LE(worstOver(
                  1e-4, 1.0, [](double x) { return maths::tan(x); },
                  [](double x) { return std::tan(x); }),
              kTanBound);
    EXPECT_LE(worstOver(
                  -1.6, 0.0, [](double x) { return maths::exp(x); },
                  [](double x) { return std::exp(x); }),
              kBound);
    EXPECT_LE(worstOver(
                  0.0, 1.0, [](double x) { return maths::pow(x, 0.25); },
                  [](double x) { return std::pow(x, 0.25); }),
              kBound);
    EXPECT_LE(worstPowOver(2.0, -1.0, 8.0), kBound);
    EXPECT_LE(worstPowOver(10.0, -1.5, 0.0), kBound);
    EXPECT_LE(worstPowOver(16.0, 0.0, 1.0), kBound);
    EXPECT_LE(worstPowOver(100.0, 0.0, 1.0), kBound);
    EXPECT_LE(worstPowOver(0.5, 0.01, 1.0), kBound);
    EXPECT_LE(worstPowOver(0.001, 1e-5, 3e-3), kBound);
    // The sine table's last entry lies near a zero, where only an accurate reduction is close.
    EXPECT_LE(ulpsApart(maths::sin(2 * kPi * 999 / 999), std::sin(2 * kPi)), kBound);
}

TEST(PortableMaths, MatchesTheCLibraryBeyondTheEngineArguments) {
    const auto sin = [](double x) { return maths::sin(x); };
    const auto cos = [](double x) { return maths::cos(x); };
    const auto tan = [](double x) { return maths::tan(x); };
    // Within a few turns; further out some C libraries' own reductions lose bits (MinGW's sin
    // is thousands of ulp off near its zeros at 1e4), so larger angles are checked against
    // precise values below.
    EXPECT_LE(worstOver(-20.0, 20.0, sin, [](double x) { return std::sin(x); }), kBound);
    EXPECT_LE(worstOver(-20.0, 20.0, cos, [](double x) { return std::cos(x); }), kBound);
    EXPECT_LE(worstOver(-20.0, 20.0, tan, [](double x) { return std::tan(x); }), kTanBound);
    EXPECT_LE(worstOver(
                  -745.0, 709.7, [](double x) { return maths::exp(x); },
                  [](double x) { return std::exp(x); }),
              kBound);
    // log over every binade, subnormal ones included, through 2^e for uniform e.
    EXPECT_LE(worstOver(
                  -1074.0, 1023.9, [](double e) { return maths::log(std::exp2(e)); },
                  [](double e) { return std::log(std::exp2(e)); }),
              kBound);
    // pow with any base and exponents that keep |y log2 x| <= 64.
    Samples samples;
    double worst = 0.0;
    for (int i = 0; i < kSamplesPerRange; ++i) {
        const double x = std::exp2(samples.next(-1000.0, 1000.0));
        const double y = samples.next(-64.0, 64.0) / std::log2(x);
        worst = std::max(worst, ulpsApart(maths::pow(x, y), std::pow(x, y)));
    }
    EXPECT_LE(worst, kBound);
}

// Large angles, and angles near multiples of π/2, where much of the argument cancels, against
// values worked out to 300 bits.
TEST(PortableMaths, LargeAnglesMatchPreciseValues) {
    struct Reference {
        double x;
        double sin;
        double cos;
    };
    constexpr std::array<Reference, 24> kReferences{{
        {3.141592653589793, 1.2246467991473532e-16, -1.0},
        {10.995574287564276, -1.0, -4.286263797015736e-16},
        {354.9999698556466, 2.4496649866766593e-14, -1.0},
        {1570797.8975912235, 1.0, -6.046402952076414e-11},
        {1599989.5765283797, 1.0, 7.927237832236872e-11},
        {355.0, -3.014435335948845e-05, -0.999999999545659},
        {8388.0, -0.05236112886885553, 0.998628215195014},
        {1000000.0, -0.34999350217129294, 0.9367521275331447},
        {319.0921086334591, -0.9757982082005013, 0.21867294499478218},
        {400.0919654838603, -0.8955645697164424, -0.44493156942231393},
        {617.8930119535798, 0.841871011774239, -0.5396787929261434},
        {659.504969881514, -0.22747836527914672, 0.973783134650589},
        {2050.4186877534216, 0.8630691816081121, -0.5050857231780598},
        {2188.643662277272, 0.8656350020009563, -0.5006755868931542},
        {4034.4420916794274, 0.5948865252279759, 0.8038096927147524},
        {5546.040835490693, -0.9043276523347998, -0.4268389593542622},
        {7032.349611216637, 0.9944354169205345, 0.10534800223109422},
        {56488.612160517616, 0.35727031347038, -0.9340010295030603},
        {65082.4599577693, 0.9413287261839505, 0.33749108026865116},
        {73800.66648535499, -0.9983567160323883, -0.057305039508102666},
        {74222.3953139322, -0.7660798944295949, 0.6427453580934994},
        {192128.70172273248, 0.9940221646900204, 0.10917845989464213},
        {446290.10282830516, 0.9867694901851587, -0.16212949527992093},
        {1051213.7707414115, -0.7381078774412375, 0.6746827115460948},
    }};
    for (const Reference& r : kReferences) {
        EXPECT_LE(ulpsApart(maths::sin(r.x), r.sin), 1.0) << r.x;
        EXPECT_LE(ulpsApart(maths::cos(r.x), r.cos), 1.0) << r.x;
        EXPECT_LE(ulpsApart(maths::sin(-r.x), -r.sin), 1.0) << r.x;
        EXPECT_LE(ulpsApart(maths::tan(r.x), r.sin / r.cos), kTanBound) << r.x;
    }
    EXPECT_LE(ulpsApart(maths::tan(kPi / 2), 1.633123935319537e16), kTanBound);
}

TEST(PortableMaths, SpecialInputsGiveTheCLibraryResults) {
    const double nan = std::nan("");
    for (const double x : {nan, kInf, -kInf}) {
        EXPECT_TRUE(std::isnan(maths::sin(x))) << x;
        EXPECT_TRUE(std::isnan(maths::cos(x))) << x;
        EXPECT_TRUE(std::isnan(maths::tan(x))) << x;
    }
    // Beyond the accurate range the values are still sines and cosines of something.
    for (const double x : {1e7, -3e15, 1e300}) {
        EXPECT_LE(std::abs(maths::sin(x)), 1.0) << x;
        EXPECT_NEAR(maths::sin(x) * maths::sin(x) + maths::cos(x) * maths::cos(x), 1.0, 1e-15);
    }
    EXPECT_TRUE(std::isnan(maths::exp(nan)));
    EXPECT_EQ(maths::exp(kInf), kInf);
    EXPECT_EQ(maths::exp(-kInf), 0.0);
    EXPECT_EQ(maths::exp(710.0), kInf);
    EXPECT_EQ(maths::exp(-746.0), 0.0);
    EXPECT_TRUE(std::isfinite(maths::exp(709.78)));
    EXPECT_EQ(maths::exp(-745.0), std::exp(-745.0)); // the smallest subnormal
    EXPECT_EQ(maths::log(0.0), -kInf);
    EXPECT_EQ(maths::log(-0.0), -kInf);
    EXPECT_EQ(maths::log(kInf), kInf);
    EXPECT_TRUE(std::isnan(maths::log(-1.0)));
    EXPECT_TRUE(std::isnan(maths::log(nan)));

    struct PowCase {
        double x;
        double y;
        double expected;
    };
    const std::array<PowCase, 16> cases{{
        {0.0, 0.25, 0.0},
        {-0.0, 0.25, 0.0},
        {-0.0, 3.0, -0.0},
        {0.0, -1.0, kInf},
        {-0.0, -3.0, -kInf},
        {-8.0, 2.0, 64.0},
        {-0.5, -3.0, -8.0},
        {10.0, 400.0, kInf},
        {10.0, -400.0, 0.0},
        {0.5, kInf, 0.0},
        {0.5, -kInf, kInf},
        {2.0, -kInf, 0.0},
        {-1.0, kInf, 1.0},
        {kInf, -2.0, 0.0},
        {-kInf, 3.0, -kInf},
        {-kInf, 2.0, kInf},
    }};
    for (const PowCase& c : cases)
        EXPECT_TRUE(sameBits(maths::pow(c.x, c.y), c.expected))
            << "pow(" << c.x << ", " << c.y << ") = " << maths::pow(c.x, c.y);
    EXPECT_TRUE(std::isnan(maths::pow(-8.0, 1.0 / 3.0)));
    EXPECT_TRUE(std::isnan(maths::pow(nan, 2.0)));
    EXPECT_TRUE(std::isnan(maths::pow(2.0, nan)));
}

// The six functions at one argument (log and pow of its magnitude).
constexpr std::array<double, 6> valuesAt(double x) {
    const double magnitude = x < 0.0 ? -x : x;
    return {maths::sin(x), maths::cos(x),         maths::tan(x),
            maths::exp(x), maths::log(magnitude), maths::pow(magnitude, 0.37)};
}

// Arguments from −18 to 18, formed without a product that could be fused into an addition.
constexpr std::size_t kFoldedCount = 256;
constexpr double foldedArgument(std::size_t i) {
    return (static_cast<double>(i) + 0.5) / 7.0 - 18.0;
}

constexpr std::array<std::array<double, 6>, kFoldedCount> foldedValues() {
    std::array<std::array<double, 6>, kFoldedCount> values{};
    for (std::size_t i = 0; i < kFoldedCount; ++i)
        values[i] = valuesAt(foldedArgument(i));
    return values;
}

// The compiler folds these functions with the arithmetic the processor performs: a build that
// fused a product into an addition (a fused multiply-add) would fold one result and compute
// another, for about one argument in a hundred.
TEST(PortableMaths, CompileTimeAndRunTimeGiveTheSameBits) {
    static constexpr auto folded = foldedValues();
    int differing = 0;
    for (std::size_t i = 0; i < kFoldedCount; ++i) {
        volatile double opaque = foldedArgument(i); // computed at run time from here
        const std::array<double, 6> computed = valuesAt(opaque);
        for (std::size_t f = 0; f < computed.size(); ++f)
            differing += sameBits(computed[f], folded[i][f]) ? 0 : 1;
    }
    EXPECT_EQ(differing, 0) << "of " << 6 * kFoldedCount << " values";
}

} // namespace
} // namespace velmora::engine
