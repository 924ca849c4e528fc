// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpicturecache.h"

#include "page/tpicturelist.h"
#include "platform/files.h"

#include <sys/stat.h>


namespace {

std::string keyOf(std::string_view name, zek::TImageFormat expected) {
  std::string key(name);
  key += '\0';
  key += static_cast<char>('0' + static_cast<int>(expected));
  return key;
}

}  // namespace

TPictureCache& TPictureCache::shared() {
  static TPictureCache cache;
  return cache;
}

std::size_t TPictureCache::pictureBytes(const TPicture& picture) {
  std::size_t n = 0;
  for (const TPictureFrame& f : picture.frames) {
    n += static_cast<std::size_t>(f.bitmap.stride()) * static_cast<std::size_t>(f.bitmap.height()) + f.mask.size();
  }
  return n;
}

std::shared_ptr<const TPicture> TPictureCache::file(const std::filesystem::path& path, zek::TImageFormat expected,
                                                    std::uintmax_t readLimit) {
  // The stamp is taken before the read: a file that changes while it is read carries a newer
  // stamp afterwards and is read again next time.
  std::string key = keyOf(path.native(), expected);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    forget(key);  // a file gone from the disk frees its memory at once
    return nullptr;
  }
  const TStamp stamp{static_cast<std::uintmax_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  if (auto hit = lookup(key, stamp)) return hit;
  if (stamp.size > readLimit) return nullptr;
  const auto bytes = zek::readFile(path, readLimit);
  if (!bytes) return nullptr;
  ++m_decodes;
  auto picture = TPicture::fromImage(zek::decodeImage(*bytes, expected));
  if (picture) insert(std::move(key), stamp, picture);
  return picture;
}

std::shared_ptr<const TPicture> TPictureCache::resource(const std::string& name, std::string_view bytes,
                                                        zek::TImageFormat expected) {
  std::string key = keyOf("$" + name, expected);
  if (auto hit = lookup(key, {})) return hit;
  ++m_decodes;
  auto picture = TPicture::fromImage(zek::decodeImage(bytes, expected));
  if (picture) insert(std::move(key), {}, picture);
  return picture;
}

std::shared_ptr<const TPicture> TPictureCache::lookup(const std::string& key, const TStamp& stamp) {
  std::lock_guard lock(m_mutex);
  const auto found = m_index.find(key);
  if (found == m_index.end()) return nullptr;
  const auto it = found->second;
  if (!(it->stamp == stamp)) {
    drop(it);
    return nullptr;
  }
  m_entries.splice(m_entries.begin(), m_entries, it);
  return it->picture;
}

void TPictureCache::forget(const std::string& key) {
  std::lock_guard lock(m_mutex);
  if (const auto found = m_index.find(key); found != m_index.end()) drop(found->second);
}

void TPictureCache::insert(std::string key, const TStamp& stamp, const std::shared_ptr<const TPicture>& picture) {
  std::lock_guard lock(m_mutex);
  const std::size_t bytes = pictureBytes(*picture);
  if (const auto found = m_index.find(key); found != m_index.end()) drop(found->second);
  if (bytes > m_maxBytes) return;  // it would push out everything else
  m_entries.push_front(TEntry{key, stamp, picture, bytes});
  m_index.emplace(std::move(key), m_entries.begin());
  m_bytes += bytes;
  trim();
}

void TPictureCache::drop(std::list<TEntry>::iterator it) {
  m_bytes -= it->bytes;
  m_index.erase(it->key);
  m_entries.erase(it);
}

void TPictureCache::trim() {
  while (m_bytes > m_maxBytes && !m_entries.empty()) drop(std::prev(m_entries.end()));
}

std::size_t TPictureCache::maxBytes() const {
  std::lock_guard lock(m_mutex);
  return m_maxBytes;
}

void TPictureCache::setMaxBytes(std::size_t maxBytes) {
  std::lock_guard lock(m_mutex);
  m_maxBytes = maxBytes;
  trim();
}

std::size_t TPictureCache::bytes() const {
  std::lock_guard lock(m_mutex);
  return m_bytes;
}

std::size_t TPictureCache::count() const {
  std::lock_guard lock(m_mutex);
  return m_entries.size();
}

std::uint64_t TPictureCache::decodes() const { return m_decodes.load(); }

void TPictureCache::clear() {
  std::lock_guard lock(m_mutex);
  m_entries.clear();
  m_index.clear();
  m_bytes = 0;
}
