#include "tools/render/DefaultPhrase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace velmora::render {

namespace {

struct Note {
    double startSeconds;
    double frequency; // 0 marks the drum hit
    double pan;       // -1 left .. 1 right
};

// Eighth notes at 120 BPM, an arpeggio, a hit, then rests for the echoes to ring into.
constexpr std::array kScore = {
    Note{0.00, 220.00, -0.3}, Note{0.25, 261.63, 0.3}, Note{0.50, 329.63, -0.3},
    Note{0.75, 440.00, 0.3},  Note{1.00, 0.0, 0.0},    Note{2.00, 293.66, -0.2},
    Note{2.25, 349.23, 0.2},  Note{2.50, 440.00, 0.0}, Note{3.00, 0.0, 0.0},
};
constexpr double kPhraseSeconds = 4.0;
constexpr double kNoteSeconds = 0.9;
constexpr double kHitSeconds = 0.25;
// Each sound ends in a short fade rather than a cut, which would click.
constexpr double kReleaseSeconds = 0.005;

// A plucked string: a noise burst recirculating through a delay with a gentle low-pass.
std::vector<double> pluck(double frequency, int sampleRate, std::minstd_rand& random) {
    const auto period = std::max<std::size_t>(2, static_cast<std::size_t>(sampleRate / frequency));
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    std::vector<double> ring(period);
    std::ranges::generate(ring, [&] { return noise(random); });
    std::vector<double> out(static_cast<std::size_t>(kNoteSeconds * sampleRate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t here = i % period;
        const double next = ring[(here + 1) % period];
        out[i] = ring[here];
        ring[here] = 0.996 * 0.5 * (ring[here] + next);
    }
    return out;
}

// A drum-like hit: a sine falling in pitch under a short noise click.
std::vector<double> hit(int sampleRate, std::minstd_rand& random) {
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    std::vector<double> out(static_cast<std::size_t>(kHitSeconds * sampleRate));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double frequency = 50.0 + 120.0 * std::exp(-t * 30.0);
        phase += 2.0 * std::numbers::pi * frequency / sampleRate;
        const double body = std::sin(phase) * std::exp(-t * 14.0);
        const double click = noise(random) * std::exp(-t * 120.0) * 0.5;
        out[i] = body + click;
    }
    return out;
}

// A half-cosine fade over the last moments of the sound, reaching silence on its last sample.
void release(std::vector<double>& sound, int sampleRate) {
    const auto length =
        std::min(sound.size(), static_cast<std::size_t>(kReleaseSeconds * sampleRate));
    const std::size_t start = sound.size() - length;
    for (std::size_t i = 0; i < length; ++i) {
        const double progress = static_cast<double>(i + 1) / static_cast<double>(length);
        sound[start + i] *= 0.5 * (1.0 + std::cos(std::numbers::pi * progress));
    }
}

void mixInto(AudioData& phrase, const std::vector<double>& sound, const Note& note) {
    const auto start = static_cast<std::size_t>(note.startSeconds * phrase.sampleRate);
    const double left = std::sqrt(0.5 * (1.0 - note.pan));
    const double right = std::sqrt(0.5 * (1.0 + note.pan));
    for (std::size_t i = 0; i < sound.size() && start + i < phrase.frames(); ++i) {
        phrase.channels[0][start + i] += left * sound[i];
        phrase.channels[1][start + i] += right * sound[i];
    }
}

void normalise(AudioData& phrase, double peak) {
    double loudest = 0.0;
    for (const auto& channel : phrase.channels) {
        for (const double sample : channel) {
            loudest = std::max(loudest, std::abs(sample));
        }
    }
    if (loudest > 0.0) {
        for (auto& channel : phrase.channels) {
            for (double& sample : channel) {
                sample *= peak / loudest;
            }
        }
    }
}

} // namespace

AudioData defaultPhrase(int sampleRate) {
    AudioData phrase;
    phrase.sampleRate = sampleRate;
    const auto frames = static_cast<std::size_t>(kPhraseSeconds * sampleRate);
    phrase.channels.assign(2, std::vector<double>(frames, 0.0));
    std::minstd_rand random(20261207); // fixed seed: the same phrase every time
    for (const Note& note : kScore) {
        auto sound = note.frequency > 0.0 ? pluck(note.frequency, sampleRate, random)
                                          : hit(sampleRate, random);
        release(sound, sampleRate);
        mixInto(phrase, sound, note);
    }
    normalise(phrase, kPhrasePeak);
    return phrase;
}

} // namespace velmora::render
