// JPEG encoding of 32-bit pixel rows through libjpeg, into memory. Errors of the library
// come back as exceptions; it never ends the process.
#pragma once
#include <cstdint>
#include <vector>

// Rows of 32-bit pixels 0xAARRGGBB in native byte order (QImage's RGB32 and ARGB32 formats);
// alpha is ignored.
struct JpegSource {
  const uint8_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int BytesPerLine = 0;
};

// Baseline JPEG at the given quality (1..100), as the bytes of a whole file. Raises
// std::runtime_error with the library's message when the image cannot be encoded.
std::vector<uint8_t> EncodeJpeg(const JpegSource& source, int quality);
