// SPDX-License-Identifier: GPL-3.0-or-later
// GIF through giflib, record by record (not DGifSlurp), so that every size is checked
// before anything is allocated for it, and frames are composed as a viewer shows them.
#include "platform/imagedecoder.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>

namespace zek {
namespace {

constexpr std::uint8_t kBlank = 0xFF;  // transparent pixels are white

struct TGifSource {
  std::string_view bytes;
  std::size_t pos = 0;
};

int readSource(GifFileType* gif, GifByteType* buffer, int length) {
  auto* src = static_cast<TGifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(length), src->bytes.size() - src->pos);
  std::memcpy(buffer, src->bytes.data() + src->pos, n);
  src->pos += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The logical screen on which frames are composed.
class TCanvas {
 public:
  TCanvas(int width, int height)
      : m_width(width), m_height(height),
        m_bgr(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u, kBlank),
        m_mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

  void set(int x, int y, const GifColorType& c) {
    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    m_bgr[i * 3] = c.Blue;
    m_bgr[i * 3 + 1] = c.Green;
    m_bgr[i * 3 + 2] = c.Red;
    m_mask[i] = 255;
  }
  // Disposal "restore to background": the area becomes transparent again.
  void clear(int left, int top, int width, int height) {
    const int right = std::min(m_width, left + width), bottom = std::min(m_height, top + height);
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
        m_bgr[i * 3] = m_bgr[i * 3 + 1] = m_bgr[i * 3 + 2] = kBlank;
        m_mask[i] = 0;
      }
    }
  }
  TImageFrame snapshot(int delayMs) const {
    TImageFrame frame;
    frame.bgr = m_bgr;
    if (std::find(m_mask.begin(), m_mask.end(), 0) != m_mask.end()) frame.mask = m_mask;
    frame.delayMs = delayMs;
    return frame;
  }
  int width() const { return m_width; }
  int height() const { return m_height; }

 private:
  int m_width, m_height;
  std::vector<std::uint8_t> m_bgr, m_mask;
};

struct TControl {
  int disposal = DISPOSAL_UNSPECIFIED;
  int delayCs = 0;
  int transparent = NO_TRANSPARENT_COLOR;
};

// Reads the pixels of the current image (interlaced or not) onto the canvas.
bool drawImage(GifFileType* gif, TCanvas& canvas, const TControl& control, std::vector<GifPixelType>& line) {
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors) return false;
  line.resize(static_cast<std::size_t>(desc.Width));
  static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
    for (int row = start; row < desc.Height; row += step) {
      if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) return false;
      const int y = desc.Top + row;
      if (y >= canvas.height()) continue;
      const int visible = std::min(desc.Width, canvas.width() - desc.Left);
      for (int x = 0; x < visible; ++x) {
        const int index = line[static_cast<std::size_t>(x)];
        if (index == control.transparent) continue;
        // An index beyond the colour map reads as black.
        static constexpr GifColorType kBlack{0, 0, 0};
        canvas.set(desc.Left + x, y, index < map->ColorCount ? map->Colors[index] : kBlack);
      }
    }
  }
  return true;
}

bool readExtension(GifFileType* gif, TControl& control) {
  int code = 0;
  GifByteType* ext = nullptr;
  if (DGifGetExtension(gif, &code, &ext) != GIF_OK) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
    GraphicsControlBlock gcb{};
    if (DGifExtensionToGCB(4, ext + 1, &gcb) == GIF_OK) {
      control.disposal = gcb.DisposalMode;
      control.delayCs = gcb.DelayTime;
      control.transparent = gcb.TransparentColor;
    }
  }
  while (ext) {
    if (DGifGetExtensionNext(gif, &ext) != GIF_OK) return false;
  }
  return true;
}

}  // namespace

TDecodedImage decodeGif(std::string_view bytes, const TImageLimits& limits) {
  TDecodedImage image = detail::failed(TImageStatus::Corrupt, TImageFormat::Gif);
  TGifSource source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&source, readSource, &error));
  if (!gif) return image;

  std::unique_ptr<TCanvas> canvas;
  std::vector<GifPixelType> line;
  TControl control;
  bool broken = false;
  for (bool done = false; !done && !broken;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK) break;  // cut short or junk after the frames
    switch (type) {
      case EXTENSION_RECORD_TYPE:
        broken = !readExtension(gif.get(), control);
        break;
      case IMAGE_DESC_RECORD_TYPE: {
        if (DGifGetImageDesc(gif.get()) != GIF_OK) {
          broken = true;
          break;
        }
        const GifImageDesc desc = gif->Image;
        if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0) {
          broken = true;
          break;
        }
        if (!canvas) {
          // A first frame beyond a too small logical screen widens the screen.
          const long long w = std::max<long long>(gif->SWidth, static_cast<long long>(desc.Left) + desc.Width);
          const long long h = std::max<long long>(gif->SHeight, static_cast<long long>(desc.Top) + desc.Height);
          if (!detail::fitsLimits(w, h, 1, limits)) {
            image.status = TImageStatus::TooLarge;
            return image;
          }
          canvas = std::make_unique<TCanvas>(static_cast<int>(w), static_cast<int>(h));
        }
        if (!detail::fitsLimits(canvas->width(), canvas->height(), static_cast<long long>(image.frames.size()) + 1,
                                limits)) {
          image.status = TImageStatus::TooLarge;
          image.frames.clear();
          return image;
        }
        std::unique_ptr<TCanvas> before;
        if (control.disposal == DISPOSE_PREVIOUS) before = std::make_unique<TCanvas>(*canvas);
        if (!drawImage(gif.get(), *canvas, control, line)) {
          broken = true;
          break;
        }
        image.frames.push_back(canvas->snapshot(control.delayCs * 10));
        if (control.disposal == DISPOSE_BACKGROUND) canvas->clear(desc.Left, desc.Top, desc.Width, desc.Height);
        if (before) *canvas = std::move(*before);
        control = TControl{};
        break;
      }
      case TERMINATE_RECORD_TYPE: done = true; break;
      default: broken = true; break;
    }
  }
  // A file cut short inside a later frame still shows the frames before it.
  if (image.frames.empty()) return image;
  image.status = TImageStatus::Ok;
  image.width = canvas->width();
  image.height = canvas->height();
  return image;
}

}  // namespace zek
