"""Uncompressed Windows BMP files written byte for byte, so the output is reproducible."""

import struct
import sys

import cairo

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40


def row_stride(width, bits_per_pixel):
    """Bytes per stored row: BMP rows are padded to a multiple of four bytes."""
    return (width * bits_per_pixel // 8 + 3) & ~3


def _surface_rows(surface):
    """Yields each row of a cairo image surface as (blue, green, red, alpha) bytes, top first.

    Cairo keeps each pixel as a native 32-bit word; on a little-endian machine that is the byte
    order B, G, R, A."""
    if sys.byteorder != "little":
        raise RuntimeError("the BMP writer expects a little-endian machine")
    surface.flush()
    data = bytes(surface.get_data())
    stride, width = surface.get_stride(), surface.get_width()
    for y in range(surface.get_height()):
        yield data[y * stride:y * stride + width * 4]


def _unpremultiplied(bgra):
    """Cairo stores colour multiplied by alpha; the file keeps plain colour beside alpha."""
    out = bytearray(bgra)
    for i in range(0, len(out), 4):
        alpha = out[i + 3]
        if 0 < alpha < 255:
            for c in range(3):
                out[i + c] = min(255, (out[i + c] * 255 + alpha // 2) // alpha)
    return out


def encode(surface, bits_per_pixel):
    """Encodes a cairo image surface as a bottom-up BMP of 24 bits (colour only) or 32 bits
    (blue, green, red, then unpremultiplied alpha in the fourth byte of each pixel)."""
    if bits_per_pixel not in (24, 32):
        raise ValueError("only 24-bit and 32-bit bitmaps are written")
    if bits_per_pixel == 32 and surface.get_format() != cairo.FORMAT_ARGB32:
        raise ValueError("a 32-bit bitmap needs a surface with alpha")
    width, height = surface.get_width(), surface.get_height()
    stride = row_stride(width, bits_per_pixel)
    padding = bytes(stride - width * bits_per_pixel // 8)
    rows = []
    for bgra in _surface_rows(surface):
        if bits_per_pixel == 32:
            rows.append(bytes(_unpremultiplied(bgra)) + padding)
        else:
            packed = bytearray(width * 3)
            for channel in range(3):
                packed[channel::3] = bgra[channel::4]
            rows.append(bytes(packed) + padding)
    body = b"".join(reversed(rows))
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    # 2835 pixels per metre is 72 dpi; compression 0 means uncompressed.
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1,
                              bits_per_pixel, 0, len(body), 2835, 2835, 0, 0)
    return file_header + info_header + body
