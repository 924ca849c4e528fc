// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/tpagemodel.h"

#include "platform/codec.h"

#include <algorithm>

namespace {

constexpr std::size_t kMaxFaces = 4096;

template <typename List>
auto findNoCase(List& list, std::string_view name) {
  return std::find_if(list.begin(), list.end(), [&](const auto& e) { return zek::equalsNoCase(e.name, name); });
}

}  // namespace

TPageModel::TPageModel() { faces.emplace_back(kDefaultFace); }

void TPageModel::clear() { *this = TPageModel(); }

std::uint16_t TPageModel::internFace(std::string_view face) {
  for (std::size_t i = 0; i < faces.size(); ++i)
    if (zek::equalsNoCase(faces[i], face)) return std::uint16_t(i);
  if (faces.size() >= kMaxFaces) return 0;
  faces.emplace_back(face);
  return std::uint16_t(faces.size() - 1);
}

const std::string* TPageModel::linkAlias(std::string_view name) const {
  auto it = findNoCase(linkAliases, name);
  return it == linkAliases.end() ? nullptr : &it->value;
}

void TPageModel::setLinkAlias(std::string_view name, std::string_view value) {
  auto it = findNoCase(linkAliases, name);
  if (it != linkAliases.end()) {
    it->value = value;
  } else {
    linkAliases.push_back({zek::lowerCase(name), std::string(value)});
  }
}

const std::string* TPageModel::colorAlias(std::string_view name) const {
  auto it = findNoCase(colorAliases, name);
  return it == colorAliases.end() ? nullptr : &it->value;
}

void TPageModel::setColorAlias(std::string_view name, std::string_view value) {
  auto it = findNoCase(colorAliases, name);
  if (it != colorAliases.end()) {
    it->value = value;
  } else {
    colorAliases.push_back({zek::lowerCase(name), std::string(value)});
  }
}

const TNamedStyle* TPageModel::findStyle(std::string_view upperName) const {
  // The last definition wins.
  for (auto it = styles.rbegin(); it != styles.rend(); ++it)
    if (it->name == upperName) return &*it;
  return nullptr;
}

void TBedingung::add(std::string_view name) {
  if (!contains(name)) m_names.emplace_back(name);
}

void TBedingung::remove(std::string_view name) {
  std::erase_if(m_names, [&](const std::string& n) { return zek::equalsNoCase(n, name); });
}

bool TBedingung::contains(std::string_view name) const {
  return std::any_of(m_names.begin(), m_names.end(), [&](const std::string& n) { return zek::equalsNoCase(n, name); });
}

std::int64_t TMultipleRecord::pictureWidth() const {
  return std::int64_t(std::max(coords.get(2, 120), 120)) * std::max(cols, 1);
}

std::int64_t TMultipleRecord::pictureHeight() const {
  return std::int64_t(std::max(coords.get(3, 40), 40)) * std::max(rows, 2);
}

bool TMultipleRecord::pictureFits() const {
  constexpr std::int64_t kMaxSide = kMaxPagePictureHeight, kMaxPixels = std::int64_t(kMaxSide) * 1024;
  const std::int64_t w = pictureWidth(), h = pictureHeight();
  return w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}
