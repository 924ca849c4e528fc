// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/imagedecoder.h"

class TPicture;

// Decoded pictures kept across page loads, so that a page shown again (the start page, a
// background every page shares) does not read and decode its pictures again. The pictures held
// stay within a byte bound; beyond it the least recently used go first. A file is taken from the
// cache only while its size, modification time and identity on disk are those it was read with;
// anything else reads it again. Files that fail to read or decode are never kept.
class TPictureCache {
 public:
  static constexpr std::size_t kDefaultMaxBytes = std::size_t{64} << 20;

  explicit TPictureCache(std::size_t maxBytes = kDefaultMaxBytes) : m_maxBytes(maxBytes) {}

  // The one cache that page views share.
  static TPictureCache& shared();

  // The picture in the file at path, decoded as `expected` suggests; nothing when it cannot
  // be read or decoded. Files beyond readLimit bytes are not read.
  std::shared_ptr<const TPicture> file(const std::filesystem::path& path, zek::TImageFormat expected,
                                       std::uintmax_t readLimit);
  // A built-in picture: its bytes never change, so the name alone is the key.
  std::shared_ptr<const TPicture> resource(const std::string& name, std::string_view bytes,
                                           zek::TImageFormat expected);

  std::size_t maxBytes() const;
  // Shrinking the bound drops pictures at once.
  void setMaxBytes(std::size_t maxBytes);
  std::size_t bytes() const;   // decoded bytes held
  std::size_t count() const;   // pictures held
  std::uint64_t decodes() const;  // files and resources decoded, failures included
  void clear();

  // Memory a picture takes: every frame's pixels and mask.
  static std::size_t pictureBytes(const TPicture& picture);

 private:
  // What identifies one version of a file on disk.
  struct TStamp {
    std::uintmax_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint64_t device = 0, inode = 0;
    bool operator==(const TStamp&) const = default;
  };
  struct TEntry {
    std::string key;
    TStamp stamp;
    std::shared_ptr<const TPicture> picture;
    std::size_t bytes = 0;
  };

  std::shared_ptr<const TPicture> lookup(const std::string& key, const TStamp& stamp);
  void insert(std::string key, const TStamp& stamp, const std::shared_ptr<const TPicture>& picture);
  void forget(const std::string& key);
  void drop(std::list<TEntry>::iterator it);
  void trim();

  mutable std::mutex m_mutex;
  std::size_t m_maxBytes;
  std::size_t m_bytes = 0;
  std::atomic<std::uint64_t> m_decodes{0};
  std::list<TEntry> m_entries;  // most recently used first
  std::unordered_map<std::string, std::list<TEntry>::iterator> m_index;
};
