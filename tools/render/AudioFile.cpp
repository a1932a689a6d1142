#include "tools/render/AudioFile.h"

#include "tools/render/FloatWavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

namespace velmora::render {

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

struct Container {
    std::string_view extension;
    std::string_view name;
    int major;
    std::optional<SampleFormat> usual; // when neither the user nor the source decides
    std::array<bool, 6> holds;         // indexed by SampleFormat
};

constexpr std::array<bool, 6> kAnySamples = {true, true, true, true, true, true};
constexpr std::array<bool, 6> kIntegersUpTo24 = {true, true, true, false, false, false};
constexpr std::array<bool, 6> kNoPlainSamples = {};

constexpr std::array kContainers = {
    Container{".wav", "WAV", SF_FORMAT_WAV, SampleFormat::Float, kAnySamples},
    Container{".flac", "FLAC", SF_FORMAT_FLAC, SampleFormat::Int24, kIntegersUpTo24},
    Container{".aiff", "AIFF", SF_FORMAT_AIFF, SampleFormat::Int24, kAnySamples},
    Container{".aif", "AIFF", SF_FORMAT_AIFF, SampleFormat::Int24, kAnySamples},
    Container{".ogg", "Ogg Vorbis", SF_FORMAT_OGG, std::nullopt, kNoPlainSamples},
};

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool holds(const Container& container, SampleFormat format) {
    return container.holds[static_cast<std::size_t>(format)];
}

// libsndfile's container and encoding bits.
int sndfileFormat(const Container& container, std::optional<SampleFormat> format) {
    if (!format) {
        return container.major | SF_FORMAT_VORBIS;
    }
    const bool wav = container.major == SF_FORMAT_WAV;
    switch (*format) {
    case SampleFormat::Int8:
        return container.major | (wav ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8);
    case SampleFormat::Int16:
        return container.major | SF_FORMAT_PCM_16;
    case SampleFormat::Int24:
        return container.major | SF_FORMAT_PCM_24;
    case SampleFormat::Int32:
        return container.major | SF_FORMAT_PCM_32;
    case SampleFormat::Float:
        return container.major | SF_FORMAT_FLOAT;
    case SampleFormat::Double:
        return container.major | SF_FORMAT_DOUBLE;
    }
    return container.major;
}

std::optional<SampleFormat> sampleFormatOf(int sndfileFormat) {
    switch (sndfileFormat & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return SampleFormat::Int8;
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_ALAC_16:
        return SampleFormat::Int16;
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_ALAC_24:
        return SampleFormat::Int24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ALAC_32:
        return SampleFormat::Int32;
    case SF_FORMAT_FLOAT:
        return SampleFormat::Float;
    case SF_FORMAT_DOUBLE:
        return SampleFormat::Double;
    default:
        return std::nullopt;
    }
}

} // namespace

OutputFormat chooseOutputFormat(const std::string& path, std::optional<SampleFormat> requested,
                                std::optional<SampleFormat> source) {
    const std::string extension = lowerExtension(path);
    const auto container = std::ranges::find(kContainers, extension, &Container::extension);
    if (container == kContainers.end()) {
        throw AudioFileError("cannot tell the output format from the name " + path +
                             " (use .wav, .flac, .aiff or .ogg)");
    }
    if (requested && !holds(*container, *requested)) {
        throw AudioFileError(std::string(container->name) + " files cannot hold " +
                             describe(*requested) + " samples (" + path + ")");
    }
    OutputFormat format;
    if (requested) {
        format.sampleFormat = requested;
    } else if (source && holds(*container, *source)) {
        format.sampleFormat = source;
    } else {
        format.sampleFormat = container->usual;
    }
    format.sndfileFormat = sndfileFormat(*container, format.sampleFormat);
    format.description = format.sampleFormat
                             ? describe(*format.sampleFormat) + " " + std::string(container->name)
                             : std::string(container->name);
    return format;
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
    audio.sampleFormat = sampleFormatOf(info.format);
    audio.channels.assign(channels, std::vector<double>(static_cast<std::size_t>(read)));
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(read); ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            audio.channels[channel][frame] = interleaved[frame * channels + channel];
        }
    }
    return audio;
}

namespace {

bool isFloatWav(const OutputFormat& format) {
    return (format.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV && format.holdsOvers();
}

// Interleaves the channels. Samples beyond full scale are clipped here rather than by the
// library, so that the renderer can say how many.
std::vector<double> interleave(const AudioData& audio, bool keepOvers, WriteReport& report) {
    const std::size_t channels = audio.channels.size();
    std::vector<double> interleaved(audio.frames() * channels);
    for (std::size_t frame = 0; frame < audio.frames(); ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            double sample = audio.channels[channel][frame];
            if (!(std::abs(sample) <= 1.0)) {
                if (keepOvers) {
                    ++report.keptOvers;
                } else {
                    ++report.clippedSamples;
                    sample = std::isnan(sample) ? 0.0 : std::clamp(sample, -1.0, 1.0);
                }
            }
            interleaved[frame * channels + channel] = sample;
        }
    }
    return interleaved;
}

void writeThroughLibrary(const std::string& path, const AudioData& audio,
                         const OutputFormat& format, std::span<const double> interleaved) {
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = static_cast<int>(audio.channels.size());
    info.format = format.sndfileFormat;
    if (!sf_format_check(&info)) {
        throw AudioFileError("cannot write " + path + " as " + format.description + " at " +
                             std::to_string(audio.sampleRate) + " Hz");
    }
    SndfileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        throw AudioFileError("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    const auto frames = static_cast<sf_count_t>(audio.frames());
    if (sf_writef_double(file.get(), interleaved.data(), frames) != frames) {
        throw AudioFileError("cannot write all samples to " + path + ": " +
                             sf_strerror(file.get()));
    }
}

} // namespace

WriteReport writeAudioFile(const std::string& path, const AudioData& audio,
                           const OutputFormat& format) {
    WriteReport report;
    const auto interleaved = interleave(audio, format.holdsOvers(), report);
    if (isFloatWav(format)) {
        writeFloatWav(path, audio.sampleRate, static_cast<int>(audio.channels.size()), interleaved,
                      format.sampleFormat == SampleFormat::Double ? FloatWidth::Double
                                                                  : FloatWidth::Single);
    } else {
        writeThroughLibrary(path, audio, format, interleaved);
    }
    return report;
}

} // namespace velmora::render
