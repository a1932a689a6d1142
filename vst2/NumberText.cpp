#include "vst2/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velmora {

namespace {

constexpr int kFloatTextWidth = 8;

// The integer digits of a non-negative whole number, most significant first, written until
// none are left or the character count reaches the text width.
std::string integerDigits(std::int64_t whole, int& count) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + whole % 10));
        whole /= 10;
        ++count;
    } while (whole != 0 && count < kFloatTextWidth);
    return digits;
}

// places digits of the fraction, truncated: filled from the last place upward.
std::string fractionDigits(double fraction, int places) {
    std::string digits(static_cast<std::size_t>(places), '0');
    double scaled = fraction * std::pow(10.0, places);
    for (int place = places - 1; place >= 0; --place) {
        if (!(scaled > 0.0)) continue; // the remaining places stay '0'
        digits[static_cast<std::size_t>(place)] =
            static_cast<char>('0' + static_cast<int>(std::fmod(scaled, 10.0)));
        scaled /= 10.0;
    }
    return digits;
}

} // namespace

void writeBoundedText(std::string_view text, char* buffer, int maxLength) {
    if (buffer == nullptr) return;
    const auto length = std::min(text.size(), static_cast<std::size_t>(std::max(maxLength, 0)));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

std::string floatText(float value) {
    const double x = value;
    if (std::isnan(x)) return "NaN";
    const bool negative = x < 0.0;
    const double magnitude = std::fabs(x);
    if ((negative && magnitude > 9999999.0) || (!negative && x > 99999999.0)) return "Huge!";

    const double whole = std::trunc(magnitude);
    int count = negative ? 1 : 0;
    std::string text = negative ? "-" : "";
    text += integerDigits(static_cast<std::int64_t>(whole), count);
    text += '.';
    ++count;
    if (count < kFloatTextWidth) text += fractionDigits(magnitude - whole, kFloatTextWidth - count);
    return text;
}

std::string dbText(float gain) {
    if (gain <= 0.0f) return "-oo";
    const auto logarithm = static_cast<float>(std::log10(static_cast<double>(gain)));
    return floatText(20.0f * logarithm);
}

std::string intText(std::int64_t value) {
    if (value >= 100000000) return "Huge!";
    // The magnitude in unsigned arithmetic, so that the most negative value has one too.
    std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return value < 0 ? "-" + digits : digits;
}

std::string hertzText(float samples, float sampleRate) {
    return floatText(samples != 0.0f ? sampleRate / samples : 0.0f);
}

std::string millisecondsText(float samples, float sampleRate) {
    return floatText(sampleRate != 0.0f ? samples * 1000.0f / sampleRate : 0.0f);
}

void writeFloatText(float value, char* buffer, int maxLength) {
    writeBoundedText(floatText(value), buffer, maxLength);
}

void writeDbText(float gain, char* buffer, int maxLength) {
    writeBoundedText(dbText(gain), buffer, maxLength);
}

void writeIntText(std::int64_t value, char* buffer, int maxLength) {
    writeBoundedText(intText(value), buffer, maxLength);
}

void writeHertzText(float samples, float sampleRate, char* buffer, int maxLength) {
    writeBoundedText(hertzText(samples, sampleRate), buffer, maxLength);
}

void writeMillisecondsText(float samples, float sampleRate, char* buffer, int maxLength) {
    writeBoundedText(millisecondsText(samples, sampleRate), buffer, maxLength);
}

int saturatingTrunc(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace velmora
