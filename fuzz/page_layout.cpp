// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"
#include "page/tmosaic.h"
#include "page/tpagelayout.h"
#include "platform/messages.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

// Plain markup through the reader and the layout with fixed metrics; pictures get sizes
// from their names, so scales, bases and maps meet every alignment.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool silenced = [] {
    zek::setMessageAnswerer([](const TMessageRequest& r) { return zek::defaultAnswer(r.flags); });
    return true;
  }();
  (void)silenced;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TSimpleHtxHost host;
  host.m_xpath = "/fuzz/hzek/";
  TPageModel page;
  readHtxPage(page, host, text);
  TFixedTextMetrics metrics;
  const TPictureSizeFn sizes = [&](int i) {
    if (i < 0 || std::size_t(i) >= host.m_pictures.size()) return TSize{};
    const std::size_t h = std::hash<std::string>{}(host.m_pictures[std::size_t(i)]);
    return TSize{int(h % 900), int((h >> 12) % 700)};
  };
  // The grid widget's picture must stay bounded whatever DIM and COORDS say.
  if (page.multiple) check(page.multiple->pictureFits());
  const std::size_t links = page.links.size();
  const TPageLayout layout = layoutPage(page, metrics, sizes);
  check(layout.hiddenSpace.size() == page.items.size());
  check(layout.boxes.size() == page.boxes.size());
  check(page.links.size() >= links);
  for (const TLinkArea& a : layout.areas) check(a.link >= 0 && std::size_t(a.link) < page.links.size());
  for (const TWordEntry& w : layout.words) check(w.item >= 0 && std::size_t(w.item) < page.items.size());
  for (std::size_t i = 0; i < layout.words.size(); ++i) (void)rightClickText(page, layout, int(i));
  for (const TBoxRecord& b : page.boxes)
    if (!b.mosaic.empty()) (void)TMosaic::cellsOf({0, 0, b.coords.get(2, 0), b.coords.get(3, 0)}, {60, 40});
  (void)dumpLayout(page, layout);
  return 0;
}
