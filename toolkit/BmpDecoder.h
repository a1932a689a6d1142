// The one decoder for the artwork: uncompressed 24-bit and 32-bit BMP files, bottom-up or
// top-down. Every size, offset and count in the headers is checked against the bytes really
// present before a pixel is read.
#pragma once

#include "toolkit/Pixmap.h"

#include <cstdint>
#include <span>

namespace velmora::toolkit {

enum class BmpError {
    none,
    truncated,         // shorter than the headers it announces
    notBmp,            // no "BM" signature
    fileSizeMismatch,  // the file header states more bytes than there are
    badInfoHeader,     // an info header size no BMP version uses
    badDimensions,     // zero or negative width, zero height, or beyond the limits
    badPlanes,         // planes other than 1
    unsupportedDepth,  // neither 24 nor 32 bits per pixel
    unsupportedFormat, // compressed, or 32-bit bit fields other than plain B, G, R, A bytes
    badPixelOffset,    // pixel data starting inside the headers
    pixelsOutside,     // pixel rows reaching past the end of the file or the stated image size
};

struct BmpResult {
    BmpError error = BmpError::none;
    Pixmap image;

    bool ok() const { return error == BmpError::none; }
};

// Largest accepted width or height; no artwork comes near it, and it bounds the allocation.
constexpr int kMaxBmpSide = 16384;

BmpResult decodeBmp(std::span<const std::uint8_t> bytes);

} // namespace velmora::toolkit
