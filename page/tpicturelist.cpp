// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpicturelist.h"

#include "page/targetpath.h"
#include "page/tpicturecache.h"

#include "platform/builtinresources.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/imagedecoder.h"
#include "platform/messages.h"

#include <algorithm>
#include <cstring>

namespace {

// Bigger files cannot decode within the limits anyway (an uncompressed bitmap at most).
constexpr std::uintmax_t kMaxPictureFile = zek::TImageLimits{}.maxBytes + (1u << 20);

const std::string kNoName;

std::string resourceName(std::string_view name) {
  std::string res(name.substr(1));
  std::replace(res.begin(), res.end(), '-', '_');
  std::replace(res.begin(), res.end(), '.', '_');
  return res;
}

}  // namespace

int TPicture::frameDelayMs(std::size_t frame) const {
  const int delay = frame < frames.size() ? frames[frame].delayMs : 0;
  return delay < 20 ? 100 : delay;
}

std::shared_ptr<const TPicture> TPicture::fromImage(zek::TDecodedImage&& image) {
  if (!image.ok() || image.frames.empty()) return nullptr;
  auto picture = std::make_shared<TPicture>();
  picture->frames.reserve(image.frames.size());
  const std::size_t bytes = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3u;
  for (zek::TImageFrame& f : image.frames) {
    if (f.bgr.size() != bytes) return nullptr;
    TPictureFrame frame;
    frame.bitmap.setSize(image.width, image.height);
    std::memcpy(frame.bitmap.bits(), f.bgr.data(), bytes);
    std::vector<std::uint8_t>().swap(f.bgr);  // keep the peak at one copy of the frame
    frame.mask = std::move(f.mask);
    frame.delayMs = f.delayMs;
    picture->frames.push_back(std::move(frame));
  }
  return picture;
}

std::string resolvePictureName(std::string_view name, std::string_view xpath) {
  std::string n = zek::forwardSlashes(name);
  std::string base = zek::withTrailingSeparator(xpath);
  if (!n.empty() && n.front() == '/') {
    if (zek::fileExists(n)) return n;  // a real absolute path
    if (!base.empty()) base.pop_back();
    return base + n;
  }
  return nameBelowXPath(n, xpath);
}

std::shared_ptr<const TPicture> loadPicture(std::string_view name, std::string_view xpath) {
  if (!name.empty() && name.front() == '$') {
    const std::string res = resourceName(name);
    std::string_view bytes = namedResource(res);
    if (bytes.empty()) bytes = namedResource(zek::lowerCase(res));
    if (bytes.empty()) return nullptr;
    // "bmp" and "jpeg" as named; any other built-in picture is recognised by its bytes.
    return TPictureCache::shared().resource(res, bytes, zek::imageFormatFromName(name));
  }
  return TPictureCache::shared().file(zek::resolveName(resolvePictureName(name, xpath)),
                                      zek::imageFormatFromName(name), kMaxPictureFile);
}

int TPictureList::add(std::string_view requested, std::string_view xpath) {
  const bool keep = !requested.empty() && requested.front() == '*';
  const std::string name(keep ? requested.substr(1) : requested);
  // Two pages in different directories may both show "logo.gif"; the full name tells
  // their pictures apart, and any spelling of one file finds the same entry.
  const std::string key = name.rfind('$', 0) == 0 ? zek::lowerCase(name)
                                                   : zek::lowerCase(resolvePictureName(name, xpath));
  if (const int found = findKey(key); found >= 0) {
    if (keep) m_entries[static_cast<size_t>(found)]->keep = true;
    return found;
  }
  std::shared_ptr<const TPicture> picture = name.empty() ? nullptr : loadPicture(name, xpath);
  // Each picture may be large, but not all of a page's together: a page of a few big
  // photos would otherwise hold gigabytes.
  if (picture && heldBytes() + pictureBytes(*picture) > kMaxPageBytes) picture.reset();
  if (!picture) {
    showMessage("Das Bild " + name + " konnte nicht geladen werden!", mb::IconStop);
    return -1;
  }
  TEntry entry{std::move(picture), name, key, keep};
  auto hole = std::find_if(m_entries.begin(), m_entries.end(), [](const auto& e) { return !e.has_value(); });
  if (hole != m_entries.end()) {
    *hole = std::move(entry);
    return static_cast<int>(hole - m_entries.begin());
  }
  m_entries.push_back(std::move(entry));
  return static_cast<int>(m_entries.size()) - 1;
}

std::size_t TPictureList::pictureBytes(const TPicture& picture) {
  std::size_t bytes = 0;
  for (const TPictureFrame& f : picture.frames)
    bytes += std::size_t(f.bitmap.width()) * std::size_t(f.bitmap.height()) * 4 + f.mask.size();
  return bytes;
}

std::size_t TPictureList::heldBytes() const {
  std::size_t bytes = 0;
  for (const auto& e : m_entries)
    if (e && e->picture) bytes += pictureBytes(*e->picture);
  return bytes;
}

int TPictureList::findKey(const std::string& key) const {
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i] && m_entries[i]->key == key) return static_cast<int>(i);
  }
  return -1;
}

int TPictureList::find(std::string_view requested) const {
  const std::string name =
      zek::forwardSlashes(!requested.empty() && requested.front() == '*' ? requested.substr(1) : requested);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i] && zek::equalsNoCase(zek::forwardSlashes(m_entries[i]->name), name)) return static_cast<int>(i);
  }
  return -1;
}

void TPictureList::clear() {
  for (auto& e : m_entries) {
    if (e && !e->keep) e.reset();
  }
  while (!m_entries.empty() && !m_entries.back()) m_entries.pop_back();
}

const TPicture* TPictureList::picture(int index) const { return shared(index).get(); }

std::shared_ptr<const TPicture> TPictureList::shared(int index) const {
  if (index < 0 || index >= size() || !m_entries[static_cast<size_t>(index)]) return nullptr;
  return m_entries[static_cast<size_t>(index)]->picture;
}

const std::string& TPictureList::name(int index) const {
  if (index < 0 || index >= size() || !m_entries[static_cast<size_t>(index)]) return kNoName;
  return m_entries[static_cast<size_t>(index)]->name;
}

bool TPictureList::keep(int index) const {
  return index >= 0 && index < size() && m_entries[static_cast<size_t>(index)] &&
         m_entries[static_cast<size_t>(index)]->keep;
}

int TPictureList::count() const {
  return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) { return e.has_value(); }));
}

std::shared_ptr<const TPicture> TPictureList::loadBackground(std::string_view name, std::string_view xpath) {
  return name.empty() ? nullptr : loadPicture(name, xpath);
}
