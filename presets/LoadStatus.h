// What became of a load of outside bytes: taken, or refused with the reason. A refused load
// changes nothing, so the reason is all a caller needs to tell the user or a log.
#pragma once

#include <string_view>

namespace velmora::chunk {

enum class LoadStatus {
    Loaded,
    Empty,           // a negative record count: the chunk says it holds nothing
    TooShort,        // fewer bytes than the smallest layout of the kind
    TooLarge,        // more bytes than the largest real layout of any kind
    ForeignId,       // the first word is not the plug-in's ID in either byte order
    UnknownType,     // the type byte names no layout of the kind asked for
    Truncated,       // a size, count or layout reaches past the bytes present
    Malformed,       // a record whose head or payload does not fit its data
    ValueOutOfRange, // a parameter value outside 0..1
};

inline constexpr bool isLoaded(LoadStatus status) {
    return status == LoadStatus::Loaded;
}

inline constexpr std::string_view describe(LoadStatus status) {
    switch (status) {
    case LoadStatus::Loaded:
        return "loaded";
    case LoadStatus::Empty:
        return "the data holds no records";
    case LoadStatus::TooShort:
        return "the data is too short";
    case LoadStatus::TooLarge:
        return "the data is larger than any file of this kind";
    case LoadStatus::ForeignId:
        return "the data belongs to another plug-in";
    case LoadStatus::UnknownType:
        return "the data is not of this kind";
    case LoadStatus::Truncated:
        return "the data ends before what its header announces";
    case LoadStatus::Malformed:
        return "a record does not fit in the data";
    case LoadStatus::ValueOutOfRange:
        return "a value lies outside 0..1";
    }
    return "unknown";
}

} // namespace velmora::chunk
