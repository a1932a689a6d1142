// Reading and writing sound files through libsndfile, as planar double samples.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::render {

struct AudioData {
    int sampleRate = 44100;
    std::vector<std::vector<double>> channels;

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// A file that cannot be read or written; what() names the file and the reason.
class AudioFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

AudioData readAudioFile(const std::string& path);

// The format follows the extension: .wav (32-bit float), .flac, .aiff/.aif, .ogg (24-bit or
// lossy where the format requires).
void writeAudioFile(const std::string& path, const AudioData& audio);

// Throws AudioFileError when writeAudioFile could not tell the format from the name, so a
// long render is not wasted on a bad output name.
void checkOutputName(const std::string& path);

} // namespace velmora::render
