// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/htxreader.h"
#include "page/itemdump.h"
#include "page/pagefile.h"
#include "platform/messages.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Every include reads the input again, under the name it was asked for, so that nesting,
// self-inclusion and the bounds are all reached.
class FuzzHost : public TSimpleHtxHost {
 public:
  explicit FuzzHost(std::string_view text) : m_text(text) {}
  TIncludeStatus readInclude(const std::string& name, std::string& text) override {
    if (name.size() % 7 == 3) return TIncludeStatus::NotFound;
    text = m_text;
    return TIncludeStatus::Ok;
  }
  std::string_view m_text;
};

void check(bool ok) {
  if (!ok) __builtin_trap();
}

void checkModel(const TPageModel& page) {
  for (const TPageItem& item : page.items) {
    const TTextStyle& s = item.style;
    check(std::size_t(item.textOffset) + item.textLength <= page.text.size());
    check(s.face < page.faces.size());
    check(s.link < 0 || std::size_t(s.link) < page.links.size());
    check(s.box < 0 || std::size_t(s.box) < page.boxes.size());
    if (s.widgetKind == TWidgetKind::Gap) check(s.widget >= 0 && std::size_t(s.widget) < page.fields.size());
    if (s.widgetKind == TWidgetKind::Drag) check(s.widget >= 0 && std::size_t(s.widget) < page.dragSlots.size());
    if (item.kind == TItemKind::BoxStart) check(item.index >= 0 && std::size_t(item.index) < page.boxes.size());
    if (item.kind == TItemKind::Picture) check(item.index >= 0 && std::size_t(item.index) < page.images.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool silenced = [] {
    zek::setMessageAnswerer([](const TMessageRequest& r) { return zek::defaultAnswer(r.flags); });
    return true;
  }();
  (void)silenced;
  if (size == 0) return 0;
  // The first byte picks how the bytes are taken: a compressed page, a plain one or an exercise file.
  static const char* names[] = {"/fuzz/hzek/page.htx", "/fuzz/hzek/page.txt", "/fuzz/hzek/aufgaben.zek"};
  const char* name = names[data[0] % 3];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const TPageFile file = pageFileFromBytes(name, bytes);
  if (!file.ok()) return 0;

  FuzzHost host(file.text);
  host.m_xpath = "/fuzz/hzek/";
  host.m_pageOnShow = name;
  host.m_conditions.add("cdrom");
  TPageModel page;
  if (data[0] % 3 == 2) {
    const TExerciseFile ex = parseExerciseFile(file.text);
    host.m_exerciseMode = true;
    for (std::size_t i = 0; i < ex.exercises.size() && i < 4; ++i) {
      readHtxPage(page, host, ex.exerciseText(i));
      checkModel(page);
    }
  } else {
    readHtxPage(page, host, file.text);
    checkModel(page);
  }
  (void)dumpItems(page);
  (void)dumpRecords(page);
  return 0;
}
