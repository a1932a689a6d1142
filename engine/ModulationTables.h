// The lookup curves of the modulation, filter and clock stages, built once and shared by all
// instances, so no transcendental function runs per sample.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora::engine {

struct ModulationTables {
    std::array<double, 1000> sine;         // sin(2π k / 999)
    std::array<double, 8192> svfFrequency; // 2 sin(e × 0.7853982 / 8191)
    std::array<double, 4097> svfDamping;   // 2 (1 − (g / 4095)^0.25)
    std::array<double, 10000> speed;       // 2^((j − 4999) / 4999), 0.5 .. 2
};

// Built on first use (a function-local static), immutable afterwards.
const ModulationTables& modulationTables();

// The speed curve read at a position in 0..1 (limited), linearly interpolated over its entries.
// A NaN position (a host's NaN sample reaching the envelope) reads the first entry, never outside.
inline double interpolateSpeed(const ModulationTables& tables, double position) {
    const double x = (position > 0.0 ? std::min(position, 1.0) : 0.0) * 9998.0;
    // 0..9998 truncates the same through int, which converts both ways in one instruction
    // where the unsigned type needs a range check each way.
    const int i = static_cast<int>(x);
    const double t = x - static_cast<double>(i);
    const auto entry = static_cast<std::size_t>(i);
    return (1.0 - t) * tables.speed[entry] + t * tables.speed[entry + 1];
}

inline double interpolateSpeed(double position) {
    return interpolateSpeed(modulationTables(), position);
}

} // namespace velmora::engine
