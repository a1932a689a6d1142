// The command line of velmora-snapshot:
//   velmora-snapshot --output FILE [--value TAG=V]... [--about]
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace velmora::snapshot {

struct SnapshotOptions {
    std::filesystem::path output;
    std::vector<std::pair<std::int32_t, float>> values; // in the order given
    bool about = false;
    bool help = false;
};

struct ParsedOptions {
    std::optional<SnapshotOptions> options;
    std::string error; // what was wrong when there are no options
};

ParsedOptions parseOptions(std::span<const std::string> arguments);
std::string usage();

} // namespace velmora::snapshot
