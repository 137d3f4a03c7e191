// The JPEG writer over libjpeg-turbo.
#include "platform/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace {

// libjpeg's own error handler ends the process; ours jumps back with the message.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

void outputMessage(j_common_ptr) {}  // warnings are not for the user

struct EncoderState {
  jpeg_compress_struct info{};
  ErrorManager err{};
  unsigned char* buffer = nullptr;  // allocated by the library, freed by us
  unsigned long size = 0;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const JpegSource& source, int quality) {
  if (!source.Bits || source.Width <= 0 || source.Height <= 0)
    throw std::runtime_error("JPEG: empty image");
  // Off the stack: what the library changes between setjmp and longjmp must not be an
  // automatic variable of this function.
  auto state = std::make_unique<EncoderState>();
  jpeg_compress_struct& info = state->info;
  info.err = jpeg_std_error(&state->err.base);
  state->err.base.error_exit = errorExit;
  state->err.base.output_message = outputMessage;
  if (setjmp(state->err.jump)) {
    jpeg_destroy_compress(&info);
    std::free(state->buffer);
    throw std::runtime_error(std::string("JPEG: ") + state->err.message);
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &state->buffer, &state->size);
  info.image_width = static_cast<JDIMENSION>(source.Width);
  info.image_height = static_cast<JDIMENSION>(source.Height);
  info.input_components = 4;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  info.in_color_space = JCS_EXT_XRGB;
#else
  info.in_color_space = JCS_EXT_BGRX;
#endif
  jpeg_set_defaults(&info);
  // Set every time: the library's own default is 75.
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPLE*>(source.Bits + static_cast<size_t>(info.next_scanline) * source.BytesPerLine);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(state->buffer, state->buffer + state->size);
  std::free(state->buffer);
  return out;
}
