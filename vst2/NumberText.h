// The three number-to-text routines behind every numeric parameter display: float text with
// eight significant characters, decibel text and integer text. Each writes at most maxLength
// characters plus the terminating zero into the caller's buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The length the parameter displays pass to the number routines (13 bytes with the zero).
inline constexpr int kNumberTextLength = 12;

// Copies text into buffer, cut to maxLength characters (none when maxLength < 1), terminated.
void writeBoundedText(std::string_view text, char* buffer, int maxLength);

// Eight characters of fixed-point text with truncated digits ("0.500000", "-6.02059",
// "100.0000"); "Huge!" beyond what eight characters hold.
std::string floatText(float value);
// 20 log10(gain) as float text, or "-oo" for a gain that is not positive.
std::string dbText(float gain);
// Decimal digits with a leading minus; "Huge!" from 100000000 upward.
std::string intText(std::int64_t value);

// Float text of the frequency whose period is `samples` long, and of the duration of `samples`
// in milliseconds, at sampleRate; 0 where the other operand would make the division undefined.
std::string hertzText(float samples, float sampleRate);
std::string millisecondsText(float samples, float sampleRate);

void writeFloatText(float value, char* buffer, int maxLength = kNumberTextLength);
void writeDbText(float gain, char* buffer, int maxLength = kNumberTextLength);
void writeIntText(std::int64_t value, char* buffer, int maxLength = kNumberTextLength);
void writeHertzText(float samples, float sampleRate, char* buffer,
                    int maxLength = kNumberTextLength);
void writeMillisecondsText(float samples, float sampleRate, char* buffer,
                           int maxLength = kNumberTextLength);

// Truncation toward zero that saturates at the int range and maps NaN to 0, so that no value a
// host sends can make a float-to-int conversion undefined.
int saturatingTrunc(double value);

} // namespace velmora
