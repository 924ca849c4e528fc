// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG through libjpeg. Its default error handler calls exit(); ours jumps back out of
// the library instead, so that a broken picture only fails its own load.
#include "platform/imagedecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace zek {
namespace {

// Progressive files can carry endless scans that each cost a pass over the picture.
constexpr int kMaxScans = 500;
// What libjpeg may allocate besides the decoded frame (coefficient buffers of large
// progressive pictures); beyond it the decoder fails instead of growing.
constexpr long kMaxLibraryMemory = 512L << 20;

struct TJpegError {
  jpeg_error_mgr mgr;  // first, so that cinfo->err points at the whole record
  std::jmp_buf jump;
  TImageStatus status;
  jpeg_progress_mgr progress;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
  // A picture cut short is filled with grey by the library; we count it as broken.
  // Other warnings (stray bytes before a marker) are common in real files and harmless.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
    reinterpret_cast<TJpegError*>(cinfo->err)->status = TImageStatus::Corrupt;
    std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->jump, 1);
  }
}

void onProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    reinterpret_cast<TJpegError*>(cinfo->err)->status = TImageStatus::Unsupported;
    std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->jump, 1);
  }
}

// Adobe writes CMYK inverted; without its marker the values are taken as plain CMYK.
void cmykRowToBgr(const JSAMPLE* in, std::uint8_t* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[0] = static_cast<std::uint8_t>(y * k / 255);
    out[1] = static_cast<std::uint8_t>(m * k / 255);
    out[2] = static_cast<std::uint8_t>(c * k / 255);
  }
}

// Runs the library; everything that must survive a longjmp lives in `image` or outside.
void decodeInto(std::string_view bytes, const TImageLimits& limits, jpeg_decompress_struct& cinfo,
                TJpegError& err, TDecodedImage& image, std::vector<JSAMPLE>& cmykRow) {
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
  err.progress.progress_monitor = onProgress;
  cinfo.progress = &err.progress;
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return;

  if (!detail::fitsLimits(cinfo.image_width, cinfo.image_height, 1, limits)) {
    err.status = TImageStatus::TooLarge;
    return;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height ||
      cinfo.output_components != (cmyk ? 4 : 3))
    return;

  image.width = static_cast<int>(cinfo.output_width);
  image.height = static_cast<int>(cinfo.output_height);
  image.frames.resize(1);
  std::vector<std::uint8_t>& out = image.frames[0].bgr;
  const std::size_t stride = static_cast<std::size_t>(image.width) * 3u;
  out.resize(stride * static_cast<std::size_t>(image.height));
  if (cmyk) cmykRow.resize(static_cast<std::size_t>(image.width) * 4u);
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint8_t* row = out.data() + stride * cinfo.output_scanline;
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) return;
    if (cmyk) cmykRowToBgr(cmykRow.data(), row, cinfo.output_width, cinfo.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&cinfo);
  image.status = TImageStatus::Ok;
}

}  // namespace

TDecodedImage decodeJpeg(std::string_view bytes, const TImageLimits& limits) {
  TDecodedImage image;
  image.format = TImageFormat::Jpeg;
  image.status = TImageStatus::Corrupt;
  if (bytes.empty()) return image;

  jpeg_decompress_struct cinfo{};
  TJpegError err{};
  err.status = TImageStatus::Corrupt;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = onError;
  err.mgr.emit_message = onMessage;
  std::vector<JSAMPLE> cmykRow;

  if (setjmp(err.jump) == 0) {
    decodeInto(bytes, limits, cinfo, err, image, cmykRow);
    if (!image.ok()) image.status = err.status;
  } else {
    image.status = err.status;
  }
  jpeg_destroy_decompress(&cinfo);
  if (!image.ok()) {
    image.frames.clear();
    image.width = image.height = 0;
  }
  return image;
}

}  // namespace zek
