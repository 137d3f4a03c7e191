// The JPEG writer: the picture decodes back at its size, the quality is the one asked for
// (read from the luminance quantisation table), and library errors come back as exceptions.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

#include "platform/JpegWriter.h"

namespace {

struct Decoded {
  int width = 0, height = 0, firstQuant = 0;
};

Decoded decodeHeader(const std::vector<uint8_t>& bytes) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  Decoded d{static_cast<int>(info.image_width), static_cast<int>(info.image_height),
            info.quant_tbl_ptrs[0] ? info.quant_tbl_ptrs[0]->quantval[0] : -1};
  jpeg_destroy_decompress(&info);
  return d;
}

}  // namespace

TEST(JpegWriter, SizeAndQualityComeBack) {
  // The first luminance entry is 16 scaled by the quality: 100 -> 1, 90 -> 3, 75 -> 8, 50 -> 16.
  struct Case { int quality, firstQuant; };
  const Case cases[] = {{100, 1}, {90, 3}, {75, 8}, {50, 16}};
  const int w = 37, h = 21;
  std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
  for (int i = 0; i < w * h; ++i) pixels[static_cast<size_t>(i)] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
  for (const Case& k : cases) {
    const auto bytes = EncodeJpeg({reinterpret_cast<const uint8_t*>(pixels.data()), w, h, w * 4}, k.quality);
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    const Decoded d = decodeHeader(bytes);
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    EXPECT_EQ(d.firstQuant, k.firstQuant) << k.quality;
  }
}

TEST(JpegWriter, LibraryErrorsAreExceptions) {
  // Wider than the format allows: the library reports it, and the process goes on.
  std::vector<uint32_t> row(70000, 0xFF808080u);
  EXPECT_THROW(EncodeJpeg({reinterpret_cast<const uint8_t*>(row.data()), 70000, 1, 70000 * 4}, 90),
               std::runtime_error);
  EXPECT_THROW(EncodeJpeg({nullptr, 0, 0, 0}, 90), std::runtime_error);
}
