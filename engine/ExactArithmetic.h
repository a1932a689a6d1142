// Error-free steps on doubles (sums and products split into a rounded value and its exact
// error) and exact scalings by powers of two, built from correctly rounded + − × / and bit
// manipulation only, so they give the same bits with every compiler and C library.
#pragma once

#include <bit>
#include <cstdint>

namespace velmora::engine::exact {

// A value carried as an unevaluated sum hi + lo with |lo| at most half an ulp of hi.
struct DoubleDouble {
    double hi = 0.0;
    double lo = 0.0;
};

// a + b exactly, for any a and b (no ordering of magnitudes needed).
constexpr DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    return {sum, (a - aPart) + (b - bPart)};
}

// a + b exactly, given |a| >= |b| (or a == 0).
constexpr DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// Dekker's split of a double into two halves of 26 bits, whose products are exact. Valid for
// |a| < 2^996, far beyond any value passed here.
constexpr DoubleDouble split(double a) {
    constexpr double kSplitter = 134217729.0; // 2^27 + 1
    const double scaled = kSplitter * a;
    const double hi = scaled - (scaled - a);
    return {hi, a - hi};
}

// a × b exactly (without fused multiply-add, which not every target has).
constexpr DoubleDouble twoProduct(double a, double b) {
    const double product = a * b;
    const DoubleDouble x = split(a);
    const DoubleDouble y = split(b);
    const double error = ((x.hi * y.hi - product) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo;
    return {product, error};
}

// (a.hi + a.lo) × (b.hi + b.lo), to about 2^-100 relative.
constexpr DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = twoProduct(a.hi, b.hi);
    return fastTwoSum(product.hi, product.lo + (a.hi * b.lo + a.lo * b.hi));
}

// The integer nearest to x (ties to even), for |x| < 2^51: adding 1.5 × 2^52 leaves no
// fraction bits, and the rounding of that addition is the rounding to an integer.
constexpr double nearestInteger(double x) {
    constexpr double kShifter = 0x1.8p52;
    return (x + kShifter) - kShifter;
}

// 2^k for a normal exponent, -1022 <= k <= 1023.
constexpr double powerOfTwo(int k) {
    constexpr int kBias = 1023;
    constexpr int kMantissaBits = 52;
    return std::bit_cast<double>(static_cast<std::uint64_t>(k + kBias) << kMantissaBits);
}

// y × 2^k for y near 1 and -1100 < k < 1100, rounded once, even into the subnormal range.
constexpr double scaleByPowerOfTwo(double y, int k) {
    if (k > 1023) return y * powerOfTwo(1023) * powerOfTwo(k - 1023);
    // The first factor is exact (the result stays normal); only the second one rounds.
    if (k < -1022) return y * powerOfTwo(k + 1000) * powerOfTwo(-1000);
    return y * powerOfTwo(k);
}

} // namespace velmora::engine::exact
