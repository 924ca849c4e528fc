// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

// The byte store behind a dictionary half. Unlike std::string it can take over a buffer
// that a decompressor filled (no zero-filling, no copy) and hand back its unused tail in
// place, so a loaded half costs its decompressed size and not the size first guessed.
class TTextArena {
 public:
  TTextArena() = default;
  TTextArena(const TTextArena&) = delete;
  TTextArena& operator=(const TTextArena&) = delete;
  TTextArena(TTextArena&& o) noexcept { swap(o); }
  TTextArena& operator=(TTextArena&& o) noexcept {
    if (this != &o) {
      TTextArena gone(std::move(o));
      swap(gone);
    }
    return *this;
  }
  ~TTextArena() { std::free(m_data); }

  // Takes over a std::malloc'ed buffer of `capacity` bytes whose first `size` are used.
  static TTextArena adopt(char* data, std::size_t size, std::size_t capacity) {
    TTextArena a;
    a.m_data = data;
    a.m_size = size;
    a.m_capacity = capacity;
    return a;
  }

  // Gives up the buffer (to be freed with std::free) and leaves the arena empty.
  char* release() {
    char* p = m_data;
    m_data = nullptr;
    m_size = m_capacity = 0;
    return p;
  }

  const char* data() const { return m_data ? m_data : ""; }
  std::size_t size() const { return m_size; }
  std::size_t capacity() const { return m_capacity; }
  bool empty() const { return m_size == 0; }
  std::string_view view() const { return {data(), m_size}; }
  char operator[](std::size_t i) const { return m_data[i]; }

  void reserve(std::size_t n) {
    if (n > m_capacity) reallocate(n);
  }
  // `text` may lie inside this arena.
  void append(std::string_view text) {
    if (text.empty()) return;
    if (m_size + text.size() > m_capacity) {
      const bool inside = m_data && text.data() >= m_data && text.data() < m_data + m_size;
      const std::size_t offset = inside ? static_cast<std::size_t>(text.data() - m_data) : 0;
      reallocate(std::max(m_size + text.size(), m_capacity + m_capacity / 2 + 64));
      if (inside) text = std::string_view(m_data + offset, text.size());
    }
    std::memmove(m_data + m_size, text.data(), text.size());
    m_size += text.size();
  }
  void clear() {
    std::free(m_data);
    m_data = nullptr;
    m_size = m_capacity = 0;
  }
  void shrinkToFit() {
    if (m_capacity > m_size) reallocate(m_size);
  }
  void swap(TTextArena& o) noexcept {
    std::swap(m_data, o.m_data);
    std::swap(m_size, o.m_size);
    std::swap(m_capacity, o.m_capacity);
  }

 private:
  void reallocate(std::size_t n) {
    if (n == 0) {
      clear();
      return;
    }
    // realloc moves large blocks by remapping pages, not by copying them.
    void* p = std::realloc(m_data, n);
    if (!p) throw std::bad_alloc();
    m_data = static_cast<char*>(p);
    m_capacity = n;
  }

  char* m_data = nullptr;
  std::size_t m_size = 0, m_capacity = 0;
};
