// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tmediadevice.h"

namespace media {

void skipFlags(TMediaWordReader& args) {
  while (args.accept("wait") || args.accept("notify")) {
  }
}

TMediaReply finish(TMediaWordReader& args, TMediaReply reply) {
  skipFlags(args);
  if (!args.atEnd()) return TMediaReply::fail(TMediaError::BadParameter);
  return reply;
}

TMediaError readRange(TMediaWordReader& args, TRange& range, std::initializer_list<std::string_view> extra) {
  while (!args.atEnd()) {
    skipFlags(args);
    if (args.atEnd()) break;
    std::optional<std::string>* slot = args.accept("from") ? &range.from : args.accept("to") ? &range.to : nullptr;
    if (slot) {
      const TMediaWord* w = args.next();
      if (!w) return TMediaError::MissingParameter;
      *slot = w->text;
      continue;
    }
    bool known = false;
    for (std::string_view keyword : extra) known = known || args.accept(keyword);
    if (!known) return TMediaError::BadParameter;
  }
  return TMediaError::None;
}

TMediaError readSeek(TMediaWordReader& args, TSeekTarget& target) {
  skipFlags(args);
  if (args.acceptAll({"to", "start"})) {
    target.kind = TSeekTarget::Start;
  } else if (args.acceptAll({"to", "end"})) {
    target.kind = TSeekTarget::End;
  } else if (args.accept("to")) {
    const TMediaWord* w = args.next();
    if (!w) return TMediaError::MissingParameter;
    target.kind = TSeekTarget::Position;
    target.position = w->text;
  } else {
    return args.atEnd() ? TMediaError::MissingParameter : TMediaError::BadParameter;
  }
  skipFlags(args);
  return args.atEnd() ? TMediaError::None : TMediaError::BadParameter;
}

std::string number(std::int64_t value) { return std::to_string(value); }

}  // namespace media
