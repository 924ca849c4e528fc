// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zek::test {

// The bytes of a mono PCM WAV file holding `frames` of silence (8 or 16 bits).
inline std::string silentWave(std::uint32_t rate, std::uint16_t bits, std::uint32_t frames) {
  const std::uint16_t block = bits / 8;
  const std::uint32_t data = frames * block;
  std::string w = "RIFF";
  const auto u32 = [&w](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const auto u16 = [&w](std::uint16_t v) {
    w += static_cast<char>(v & 0xFF);
    w += static_cast<char>(v >> 8);
  };
  u32(36 + data);
  w += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * block);
  u16(block);
  u16(bits);
  w += "data";
  u32(data);
  // 8-bit samples are unsigned, so their silence is the middle value.
  w.append(data, bits == 8 ? static_cast<char>(0x80) : '\0');
  return w;
}

}  // namespace zek::test
