// Floating-point WAV files written directly: with the 18-byte format chunk and the fact chunk
// that WAV files of non-integer samples carry. The 16-byte chunk that libsndfile writes (and its
// extensible header) make common tools warn on every read.
#pragma once

#include <span>
#include <string>

namespace velmora::render {

enum class FloatWidth { Single, Double };

// Writes interleaved samples; throws AudioFileError when the file cannot be written or the
// samples do not fit a WAV file's 32-bit sizes.
void writeFloatWav(const std::string& path, int sampleRate, int channels,
                   std::span<const double> interleaved, FloatWidth width);

} // namespace velmora::render
