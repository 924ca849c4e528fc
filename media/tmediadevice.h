// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaerror.h"
#include "media/tmediacommand.h"

#include <filesystem>
#include <optional>
#include <string>

struct TMediaReply {
  TMediaError error = TMediaError::None;
  std::string text;
  static TMediaReply ok(std::string text = {}) { return {TMediaError::None, std::move(text)}; }
  static TMediaReply fail(TMediaError error) { return {error, {}}; }
  bool failed() const { return error != TMediaError::None; }
};

// One open alias. Each command gets the words after the alias.
class TMediaDevice {
 public:
  virtual ~TMediaDevice() = default;
  virtual TMediaReply play(TMediaWordReader& args) = 0;
  virtual TMediaReply stop() = 0;
  virtual TMediaReply pause() = 0;
  virtual TMediaReply resume() = 0;
  virtual TMediaReply seek(TMediaWordReader& args) = 0;
  virtual TMediaReply status(TMediaWordReader& args) = 0;
  virtual TMediaReply set(TMediaWordReader& args) = 0;
  virtual TMediaReply record(TMediaWordReader&) { return TMediaReply::fail(TMediaError::NotSupported); }
  virtual TMediaReply save(const std::filesystem::path&) { return TMediaReply::fail(TMediaError::NotSupported); }
};

// Word parsing shared by the devices.
namespace media {
// Skips the flags that only matter to a blocking caller ("wait", "notify").
void skipFlags(TMediaWordReader& args);
// The rest of a command after its last item: only flags may follow.
TMediaReply finish(TMediaWordReader& args, TMediaReply reply);

// "from X" and "to X" in any order, as raw words; `extra` names keywords to accept and ignore.
struct TRange {
  std::optional<std::string> from, to;
};
TMediaError readRange(TMediaWordReader& args, TRange& range, std::initializer_list<std::string_view> extra = {});

// "to start", "to end" or "to X".
struct TSeekTarget {
  enum { Start, End, Position } kind = Start;
  std::string position;
};
TMediaError readSeek(TMediaWordReader& args, TSeekTarget& target);

std::string number(std::int64_t value);
inline std::string boolText(bool value) { return value ? "true" : "false"; }
}  // namespace media
