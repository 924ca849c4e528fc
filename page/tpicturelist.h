// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "widgets/txbitmap.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zek {
struct TDecodedImage;
}

struct TPictureFrame {
  TXBitmap bitmap;
  // Empty when the frame is opaque; else width * height bytes, 0 transparent, 255 opaque
  // (transparent pixels are white in the bitmap).
  std::vector<std::uint8_t> mask;
  int delayMs = 0;  // as the file gives it
};

// A loaded picture: one frame, or every full frame of an animated GIF.
class TPicture {
 public:
  std::vector<TPictureFrame> frames;  // never empty in a picture the list hands out

  int width() const { return frames.empty() ? 0 : frames.front().bitmap.width(); }
  int height() const { return frames.empty() ? 0 : frames.front().bitmap.height(); }
  const TXBitmap& bitmap(std::size_t frame = 0) const { return frames.at(frame).bitmap; }
  bool isAnimated() const { return frames.size() > 1; }
  // How long a frame stays while animating: delays below 20 ms (0 in most files that do
  // not care) count as 100 ms, as browsers show them.
  int frameDelayMs(std::size_t frame) const;

  // Nothing when the image did not decode.
  static std::shared_ptr<const TPicture> fromImage(zek::TDecodedImage&& image);
};

// The pictures of one page view. Items refer to pictures by index.
//
// Indexes: clear() leaves the slots of kept pictures where they are, so their indexes stay
// valid across pages; the slots it frees are reused by later adds.
class TPictureList {
 public:
  // Loads the picture `name` (a leading "*" marks it as kept across clear()), resolved
  // against the page directory `xpath` like a link target; a name beginning with "$"
  // names a built-in picture. Returns its index, or -1 after the error box
  // "Das Bild <name> konnte nicht geladen werden!". A picture already in the list under
  // the same name (without regard to case) is not loaded again.
  int add(std::string_view name, std::string_view xpath);
  // Index of the picture requested as `name` (without "*", any case, either separator), or -1.
  int find(std::string_view name) const;
  // Drops every picture without the keep flag.
  void clear();

  // Nothing for an index without a picture.
  const TPicture* picture(int index) const;
  std::shared_ptr<const TPicture> shared(int index) const;
  const std::string& name(int index) const;  // as requested, without "*"
  bool keep(int index) const;
  int size() const { return static_cast<int>(m_entries.size()); }  // slots, holes included
  int count() const;                                                // pictures held

  // The page background (`BODY BACKGROUND`): loaded from xpath + name into a picture of
  // its own; nothing, and no message, when it fails.
  static std::shared_ptr<const TPicture> loadBackground(std::string_view name, std::string_view xpath);

  // Decoded bytes the pictures of one list may hold together: one page stays within this.
  static constexpr std::size_t kMaxPageBytes = std::size_t{256} << 20;

 private:
  struct TEntry {
    std::shared_ptr<const TPicture> picture;
    std::string name;  // as requested
    std::string key;   // full name, lower case, "/" separators
    bool keep = false;
  };
  int findKey(const std::string& key) const;
  static std::size_t pictureBytes(const TPicture& picture);
  std::size_t heldBytes() const;
  std::vector<std::optional<TEntry>> m_entries;
};

// Full name of picture `name` below `xpath`, separators mapped to "/": "..\" climbs out of
// xpath, a leading separator starts at xpath itself unless the name exists as an absolute path.
std::string resolvePictureName(std::string_view name, std::string_view xpath);
// Reads and decodes a picture file or a "$" resource; nothing when that fails.
std::shared_ptr<const TPicture> loadPicture(std::string_view name, std::string_view xpath);
