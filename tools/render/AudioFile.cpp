#include "tools/render/AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

namespace velmora::render {

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

int formatForExtension(const std::string& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".wav") {
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    }
    if (extension == ".flac") {
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    if (extension == ".aiff" || extension == ".aif") {
        return SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
    }
    if (extension == ".ogg") {
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    }
    throw AudioFileError("cannot tell the output format from the name " + path +
                         " (use .wav, .flac, .aiff or .ogg)");
}

} // namespace

void checkOutputName(const std::string& path) {
    formatForExtension(path);
}

AudioData readAudioFile(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        throw AudioFileError("input file not found: " + path);
    }
    SF_INFO info{};
    SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        throw AudioFileError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    if (info.channels < 1 || info.samplerate < 1) {
        throw AudioFileError("no audio in " + path);
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    const auto frames = static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0));
    std::vector<double> interleaved(frames * channels);
    const sf_count_t read = sf_readf_double(file.get(), interleaved.data(), info.frames);
    if (read < 0) {
        throw AudioFileError("cannot read the samples of " + path);
    }
    AudioData audio;
    audio.sampleRate = info.samplerate;
    audio.channels.assign(channels, std::vector<double>(static_cast<std::size_t>(read)));
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(read); ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            audio.channels[channel][frame] = interleaved[frame * channels + channel];
        }
    }
    return audio;
}

void writeAudioFile(const std::string& path, const AudioData& audio) {
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = static_cast<int>(audio.channels.size());
    info.format = formatForExtension(path);
    if (!sf_format_check(&info)) {
        throw AudioFileError("cannot write " + path + " in that format at this rate");
    }
    SndfileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        throw AudioFileError("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const std::size_t channels = audio.channels.size();
    std::vector<double> interleaved(audio.frames() * channels);
    for (std::size_t frame = 0; frame < audio.frames(); ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            interleaved[frame * channels + channel] = audio.channels[channel][frame];
        }
    }
    const auto frames = static_cast<sf_count_t>(audio.frames());
    if (sf_writef_double(file.get(), interleaved.data(), frames) != frames) {
        throw AudioFileError("cannot write all samples to " + path + ": " +
                             sf_strerror(file.get()));
    }
}

} // namespace velmora::render
