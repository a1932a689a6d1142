// sin, cos, tan, exp, log and pow for doubles that give the same bits on every platform: C
// libraries differ in their last bits (and some pick code paths by processor), so everything
// that reaches the output (tables, coefficients, parameter laws) is computed here instead, from
// correctly rounded + − × / and exact steps alone. Build with contraction into fused
// multiply-adds off (-ffp-contract=off), as the project does, or the bits would differ again.
//
// Largest errors measured against quad-precision references (2 million arguments per range):
//   sin, cos  0.79 ulp for |x| <= 1.6e6; larger finite arguments give bounded, inexact values
//   tan       2.2 ulp for |x| <= 1.6e6 (the quotient of the sine and cosine kernels)
//   exp       0.89 ulp over the whole range, subnormal results included
//   log       0.52 ulp for every positive double
//   pow       0.91 ulp while |y log2 x| <= 64 (the engine stays below 8), 17 ulp at the ends of its
//   range
// Exact where the engine relies on it: sin(±0) = ±0, cos(0) = 1, exp(0) = 1, log(1) = 0,
// pow(x, 0) = 1, pow(1, y) = 1, pow(x, 1) = x, pow(2^m, y) = 2^(m y) whenever m y is an
// integer (so pow(2, n) is an exact power of two), pow(0, y > 0) = 0.
#pragma once

#include "engine/ExactArithmetic.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velmora::engine::maths {

namespace detail {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr double magnitude(double x) {
    return x < 0.0 ? -x : x;
}

constexpr bool negativeSign(double x) {
    return (std::bit_cast<std::uint64_t>(x) >> 63) != 0;
}

constexpr bool isInteger(double x) {
    return magnitude(x) >= 0x1p52 || exact::nearestInteger(x) == x;
}

constexpr bool isOddInteger(double x) {
    return magnitude(x) < 0x1p53 && isInteger(x) && !isInteger(x * 0.5);
}

// π/2 in pieces of at most 33 bits, so n × piece is exact for |n| <= 2^20, and the rest.
inline constexpr double kHalfPi1 = 0x1.921fb544p0;
inline constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
inline constexpr double kHalfPi3 = 0x1.3198a2ep-69;
inline constexpr double kHalfPi3Tail = 0x1.b839a252049c1p-104;
inline constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
inline constexpr double kQuarterPi = 0x1.921fb54442d18p-1;
inline constexpr double kTwoPi = 0x1.921fb54442d18p2;
// Up to here the quotient by π/2 stays within 2^20 and the reduction keeps full accuracy.
inline constexpr double kReductionLimit = 1.6e6;
// Below this sin x rounds to x and cos x to 1.
inline constexpr double kTinyAngle = 0x1p-27;

// x − n π/2 as a double-double, n the nearest integer to x / (π/2), and n mod 4.
struct QuarterTurns {
    exact::DoubleDouble remainder;
    int quadrant = 0;
};

constexpr QuarterTurns reduceQuarterTurns(double x) {
    if (magnitude(x) <= kQuarterPi) return {{x, 0.0}, 0};
    const double n = exact::nearestInteger(x * kTwoOverPi);
    const double first = x - n * kHalfPi1; // exact: both terms lie within a factor 2
    const exact::DoubleDouble second = exact::twoSum(first, -(n * kHalfPi2));
    const exact::DoubleDouble third = exact::twoSum(second.hi, -(n * kHalfPi3));
    const double low = (second.lo + third.lo) - n * kHalfPi3Tail;
    return {exact::fastTwoSum(third.hi, low), static_cast<int>(n) & 3};
}

// Minimax polynomials for sin and cos on [−π/4, π/4], taking the argument as x + tail.
inline constexpr double kSin1 = -1.66666666666666324348e-01;
inline constexpr double kSin2 = 8.33333333332248946124e-03;
inline constexpr double kSin3 = -1.98412698298579493134e-04;
inline constexpr double kSin4 = 2.75573137070700676789e-06;
inline constexpr double kSin5 = -2.50507602534068634195e-08;
inline constexpr double kSin6 = 1.58969099521155010221e-10;

inline constexpr double kCos1 = 4.16666666666666019037e-02;
inline constexpr double kCos2 = -1.38888888888741095749e-03;
inline constexpr double kCos3 = 2.48015872894767294178e-05;
inline constexpr double kCos4 = -2.75573143513906633035e-07;
inline constexpr double kCos5 = 2.08757232129817482790e-09;
inline constexpr double kCos6 = -1.13596475577881948265e-11;

constexpr double sinKernel(exact::DoubleDouble r) {
    const double x = r.hi;
    const double z = x * x;
    const double w = z * z;
    const double v = z * x;
    const double p = kSin2 + z * (kSin3 + z * kSin4) + z * w * (kSin5 + z * kSin6);
    return x - ((z * (0.5 * r.lo - v * p) - r.lo) - v * kSin1);
}

constexpr double cosKernel(exact::DoubleDouble r) {
    const double x = r.hi;
    const double z = x * x;
    const double w = z * z;
    const double p =
        z * (kCos1 + z * (kCos2 + z * kCos3)) + w * w * (kCos4 + z * (kCos5 + z * kCos6));
    const double halfZ = 0.5 * z;
    const double oneMinusHalfZ = 1.0 - halfZ;
    // 1 − z/2 rounded, plus what that rounding lost, plus the rest of the series.
    return oneMinusHalfZ + (((1.0 - oneMinusHalfZ) - halfZ) + (z * p - x * r.lo));
}

// Finite arguments beyond the accurate range are first brought near zero; fmod is exact, so
// the result is the same everywhere even though it no longer tracks the true value.
constexpr double withinReductionRange(double x) {
    return magnitude(x) <= kReductionLimit ? x : std::fmod(x, kTwoPi);
}

// ln 2 in a first part of 29 bits (so k × part is exact for |k| < 2^24) and the rest; the
// nearest double and its error; 1 / ln 2 likewise.
inline constexpr double kLn2Hi = 0x1.62e42ffp-1;
inline constexpr double kLn2Lo = -0x1.718432a1b0e26p-35;
inline constexpr exact::DoubleDouble kLn2{0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};
inline constexpr exact::DoubleDouble kInvLn2{0x1.71547652b82fep0, 0x1.777d0ffda0d24p-56};
inline constexpr double kInvLn2Rounded = kInvLn2.hi;

// The largest argument with a finite exp, and the smallest with a result that rounds above 0.
inline constexpr double kExpOverflow = 709.782712893384;
inline constexpr double kExpUnderflow = -745.1332191019412;

// Rational approximation of exp on [−ln2/2, ln2/2] (Remez), evaluated on the argument hi − lo.
inline constexpr double kExp1 = 1.66666666666666019037e-01;
inline constexpr double kExp2 = -2.77777777770155933842e-03;
inline constexpr double kExp3 = 6.61375632143793436117e-05;
inline constexpr double kExp4 = -1.65339022054652515390e-06;
inline constexpr double kExp5 = 4.13813679705723846039e-08;

constexpr double expKernel(double hi, double lo) {
    const double r = hi - lo;
    const double t = r * r;
    const double c = r - t * (kExp1 + t * (kExp2 + t * (kExp3 + t * (kExp4 + t * kExp5))));
    return 1.0 - ((lo - (r * c) / (2.0 - c)) - hi);
}

// log f for f in [√½, √2] as a double-double: with s = (f − 1) / (f + 1), log f = 2 atanh s,
// whose series 2 (s + s³/3 + s⁵/5 ...) with |s| <= 0.172 is cut after s^23, where its terms
// have dropped below 2^-64 of the sum.
inline constexpr int kLastSeriesDenominator = 23;

constexpr exact::DoubleDouble logNearOne(double f) {
    const double numerator = f - 1.0; // exact
    const exact::DoubleDouble denominator = exact::twoSum(f, 1.0);
    const double s = numerator / denominator.hi;
    const exact::DoubleDouble product = exact::twoProduct(s, denominator.hi);
    const double remainder = (numerator - product.hi) - product.lo; // exact
    const double sTail = (remainder - s * denominator.lo) / denominator.hi;
    const double z = s * s;
    double series = 2.0 / kLastSeriesDenominator;
    for (int k = kLastSeriesDenominator - 2; k >= 3; k -= 2)
        series = 2.0 / k + z * series;
    const exact::DoubleDouble sum = exact::fastTwoSum(2.0 * s, z * s * series);
    return exact::fastTwoSum(sum.hi, sum.lo + 2.0 * sTail * (1.0 + z));
}

// A positive finite x as 2^exponent × f with f in [√½, √2], and log f.
struct LogParts {
    int exponent = 0;
    exact::DoubleDouble mantissaLog;
};

constexpr LogParts logParts(double x) {
    constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << 52) - 1;
    constexpr std::uint64_t kExponentOfOne = std::uint64_t{1023} << 52;
    constexpr double kSqrt2 = 0x1.6a09e667f3bcdp0;
    int exponent = 0;
    if (x < 0x1p-1022) { // subnormal: make it normal first
        x *= 0x1p54;
        exponent = -54;
    }
    const auto bits = std::bit_cast<std::uint64_t>(x);
    exponent += static_cast<int>(bits >> 52) - 1023;
    double f = std::bit_cast<double>((bits & kMantissaMask) | kExponentOfOne);
    if (f > kSqrt2) {
        f *= 0.5;
        ++exponent;
    }
    return {exponent, logNearOne(f)};
}

// log2 x for a positive finite x, as a double-double.
constexpr exact::DoubleDouble log2Of(double x) {
    const LogParts parts = logParts(x);
    const exact::DoubleDouble fraction = exact::multiply(parts.mantissaLog, kInvLn2);
    const exact::DoubleDouble sum = exact::twoSum(static_cast<double>(parts.exponent), fraction.hi);
    return exact::fastTwoSum(sum.hi, sum.lo + fraction.lo);
}

// 2^(t.hi + t.lo) for |t.hi| <= 1100: the integer part scales exactly, the fraction goes
// through exp.
constexpr double exp2Of(exact::DoubleDouble t) {
    const double k = exact::nearestInteger(t.hi);
    const double fraction = t.hi - k; // exact
    const exact::DoubleDouble u = exact::twoProduct(fraction, kLn2.hi);
    const exact::DoubleDouble scaled =
        exact::fastTwoSum(u.hi, u.lo + (fraction * kLn2.lo + t.lo * kLn2.hi));
    return exact::scaleByPowerOfTwo(expKernel(scaled.hi, -scaled.lo), static_cast<int>(k));
}

// pow for a positive x and finite y other than the special cases.
constexpr double powPositive(double x, double y) {
    const exact::DoubleDouble log2x = log2Of(x);
    const double estimate = y * log2x.hi;
    if (estimate > 1100.0) return kInfinity;
    if (estimate < -1100.0) return 0.0;
    const exact::DoubleDouble product = exact::twoProduct(y, log2x.hi);
    return exp2Of(exact::fastTwoSum(product.hi, product.lo + y * log2x.lo));
}

// pow where x or y is infinite, by the C library's rules.
constexpr double powInfinite(double x, double y) {
    const double size = magnitude(x);
    if (y == kInfinity || y == -kInfinity) {
        if (size == 1.0) return 1.0;
        return (size < 1.0) == (y < 0.0) ? kInfinity : 0.0;
    }
    const double result = y < 0.0 ? 0.0 : kInfinity; // x is ±infinity
    return x < 0.0 && isOddInteger(y) ? -result : result;
}

} // namespace detail

constexpr double sin(double x) {
    if (x != x || detail::magnitude(x) == detail::kInfinity) return detail::kNaN;
    x = detail::withinReductionRange(x);
    if (detail::magnitude(x) < detail::kTinyAngle) return x;
    const auto [r, quadrant] = detail::reduceQuarterTurns(x);
    // sin(x) = sin r, cos r, −sin r, −cos r in the four quadrants.
    const double value = (quadrant & 1) == 0 ? detail::sinKernel(r) : detail::cosKernel(r);
    return (quadrant & 2) == 0 ? value : -value;
}

constexpr double cos(double x) {
    if (x != x || detail::magnitude(x) == detail::kInfinity) return detail::kNaN;
    x = detail::withinReductionRange(x);
    if (detail::magnitude(x) < detail::kTinyAngle) return 1.0;
    const auto [r, quadrant] = detail::reduceQuarterTurns(x);
    // cos(x) = cos r, −sin r, −cos r, sin r in the four quadrants.
    const double value = (quadrant & 1) == 0 ? detail::cosKernel(r) : detail::sinKernel(r);
    return ((quadrant + 1) & 2) == 0 ? value : -value;
}

constexpr double tan(double x) {
    if (x != x || detail::magnitude(x) == detail::kInfinity) return detail::kNaN;
    x = detail::withinReductionRange(x);
    if (detail::magnitude(x) < detail::kTinyAngle) return x;
    const auto [r, quadrant] = detail::reduceQuarterTurns(x);
    const double sine = detail::sinKernel(r);
    const double cosine = detail::cosKernel(r);
    // Past a quarter turn, tan(x) = −cot(x − π/2).
    return (quadrant & 1) == 0 ? sine / cosine : -cosine / sine;
}

constexpr double exp(double x) {
    if (x != x) return x;
    if (x > detail::kExpOverflow) return detail::kInfinity;
    if (x < detail::kExpUnderflow) return 0.0;
    // x = k ln2 + r with |r| <= ln2/2, r carried as hi − lo.
    const double k = exact::nearestInteger(x * detail::kInvLn2Rounded);
    const double hi = x - k * detail::kLn2Hi; // exact
    const double lo = k * detail::kLn2Lo;
    return exact::scaleByPowerOfTwo(detail::expKernel(hi, lo), static_cast<int>(k));
}

constexpr double log(double x) {
    if (x != x) return x;
    if (x < 0.0) return detail::kNaN;
    if (x == 0.0) return -detail::kInfinity;
    if (x == detail::kInfinity) return x;
    const detail::LogParts parts = detail::logParts(x);
    const auto exponent = static_cast<double>(parts.exponent);
    const exact::DoubleDouble sum =
        exact::twoSum(exponent * detail::kLn2Hi, parts.mantissaLog.hi); // the product is exact
    return sum.hi + (sum.lo + (parts.mantissaLog.lo + exponent * detail::kLn2Lo));
}

constexpr double pow(double x, double y) {
    if (y == 0.0 || x == 1.0) return 1.0;
    if (y == 1.0) return x;
    if (x != x || y != y) return x + y;
    if (detail::magnitude(x) == detail::kInfinity || detail::magnitude(y) == detail::kInfinity)
        return detail::powInfinite(x, y);
    if (x == 0.0) {
        const double result = y < 0.0 ? detail::kInfinity : 0.0;
        return detail::negativeSign(x) && detail::isOddInteger(y) ? -result : result;
    }
    if (x > 0.0) return detail::powPositive(x, y);
    if (!detail::isInteger(y)) return detail::kNaN;
    const double size = detail::powPositive(-x, y);
    return detail::isOddInteger(y) ? -size : size;
}

} // namespace velmora::engine::maths
