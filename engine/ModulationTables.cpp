#include "engine/ModulationTables.h"

#include "engine/PortableMaths.h"

#include <numbers>

namespace velmora::engine {

namespace {

ModulationTables buildTables() {
    ModulationTables tables{};
    const double twoPi = 2.0 * std::numbers::pi;
    for (std::size_t k = 0; k < tables.sine.size(); ++k)
        tables.sine[k] = maths::sin(twoPi * static_cast<double>(k) / 999.0);

    // π/4 as a 32-bit float: the table spans 0..π/4 of a half-rate sine, i.e. cutoffs up to fs/2.
    const double quarterPi = static_cast<double>(0.7853982f);
    for (std::size_t e = 0; e < tables.svfFrequency.size(); ++e)
        tables.svfFrequency[e] = 2.0 * maths::sin(static_cast<double>(e) * quarterPi / 8191.0);

    for (std::size_t g = 0; g < tables.svfDamping.size(); ++g)
        tables.svfDamping[g] = 2.0 * (1.0 - maths::pow(static_cast<double>(g) / 4095.0, 0.25));

    for (std::size_t j = 0; j < tables.speed.size(); ++j)
        tables.speed[j] = maths::pow(2.0, (static_cast<double>(j) - 4999.0) / 4999.0);
    return tables;
}

} // namespace

const ModulationTables& modulationTables() {
    static const ModulationTables tables = buildTables();
    return tables;
}

} // namespace velmora::engine
