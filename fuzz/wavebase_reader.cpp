// SPDX-License-Identifier: GPL-3.0-or-later
// The recordings store reader: arbitrary file bytes (broken or foreign zlib streams),
// arbitrary pair bytes packed here so that the pair walk is reached, and the text form.
// Whatever was read must write back and read the same, and the store operations must
// keep the current entry inside the list.
#include "media/txwavebase.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <cstdint>
#include <string_view>

namespace {

void check(const std::vector<TWaveEntry>& entries) {
  for (const TWaveEntry& e : entries) {
    if (!e.word.empty() && (e.word.front() == ' ' || e.word.back() == ' ')) __builtin_trap();
    if (e.word.find('\0') != std::string::npos || e.file.find('\0') != std::string::npos) __builtin_trap();
  }
  std::vector<TWaveEntry> back;
  if (!TXWaveBase::readCompressed(TXWaveBase::writeCompressed(entries), back) || back != entries) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zek::ScriptedDialogs quiet;
  std::vector<TWaveEntry> raw;
  TXWaveBase::readCompressed(bytes, raw);
  check(raw);

  std::vector<TWaveEntry> packed;
  if (!TXWaveBase::readCompressed(zek::deflateZlib(bytes, 1), packed)) __builtin_trap();
  check(packed);

  std::vector<TWaveEntry> lines;
  TXWaveBase::readText(bytes, lines);

  TXWaveBase store;
  for (const TWaveEntry& e : packed) store.append(e.word, e.file);
  auto inside = [&] {
    if (store.current() < 0 || (store.count() > 0 && store.current() >= store.count()) ||
        (store.count() == 0 && store.current() != 0))
      __builtin_trap();
  };
  if (!packed.empty()) {
    const std::string& w = packed[packed.size() / 2].word;
    store.findRecording(w);
    store.locate(w);
    inside();
  }
  store.last();
  store.next();
  inside();
  store.sortStore();
  inside();
  store.deleteCurrent();
  inside();
  store.last();
  store.insertBlank();
  inside();
  return 0;
}
