// Reading and writing sound files through libsndfile, as planar double samples.
#pragma once

#include "tools/render/SampleFormat.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::render {

struct AudioData {
    int sampleRate = 44100;
    std::vector<std::vector<double>> channels;
    // How the file it was read from stored its samples; none for the built-in phrase and for
    // encodings without a plain sample width (lossy ones, for example).
    std::optional<SampleFormat> sampleFormat;

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// A file that cannot be read or written; what() names the file and the reason.
class AudioFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What an output file will be: the container and how it stores each sample.
struct OutputFormat {
    int sndfileFormat = 0;                    // libsndfile's container and encoding bits
    std::optional<SampleFormat> sampleFormat; // none for Ogg Vorbis
    std::string description;                  // "24-bit integer AIFF", for the user

    bool holdsOvers() const { return sampleFormat && render::holdsOvers(*sampleFormat); }
};

// The container follows the extension (.wav, .flac, .aiff/.aif, .ogg). The samples are stored
// as `requested` when given (an AudioFileError when the container cannot hold that), else as
// `source` when the container can hold it, else the container's usual way: float WAV, 24-bit
// FLAC and AIFF, Ogg Vorbis. Called before rendering, so a long render is not wasted on a bad
// output name.
OutputFormat chooseOutputFormat(const std::string& path, std::optional<SampleFormat> requested,
                                std::optional<SampleFormat> source);

AudioData readAudioFile(const std::string& path);

struct WriteReport {
    std::size_t clippedSamples = 0; // beyond full scale (or not finite) in a format without room
    std::size_t keptOvers = 0;      // beyond full scale, kept by a float format
};

WriteReport writeAudioFile(const std::string& path, const AudioData& audio,
                           const OutputFormat& format);

} // namespace velmora::render
