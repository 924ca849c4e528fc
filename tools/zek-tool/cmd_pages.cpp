// SPDX-License-Identifier: GPL-3.0-or-later
// pack / unpack page files and print built-in data blocks.
#include "tools/zek-tool/command.h"

#include "page/pagefile.h"
#include "page/tzipresource.h"
#include "platform/codec.h"
#include "platform/files.h"

#include <iostream>
#include <string>

namespace {

int pack(const std::vector<std::string>& args) {
  if (args.size() != 2) throw std::runtime_error("usage: zek-tool pack SRC DEST");
  const auto text = zek::readFile(args[0]);
  if (!text) throw std::runtime_error("cannot read " + args[0]);
  if (!zek::writeFileAtomic(args[1], zek::deflateZlib(*text))) throw std::runtime_error("cannot write " + args[1]);
  return 0;
}

int unpack(const std::vector<std::string>& args) {
  if (args.size() != 2) throw std::runtime_error("usage: zek-tool unpack SRC DEST");
  TPageFile page = readPageFile(args[0]);
  if (!page.ok()) throw std::runtime_error(zek::cp1252ToUtf8(pageFileErrorText(page.status, zek::fromPath(args[0]))));
  if (!page.text.empty() && page.text.back() == '\0') page.text.pop_back();
  if (!zek::writeFileAtomic(args[1], page.text)) throw std::runtime_error("cannot write " + args[1]);
  return 0;
}

int block(const std::vector<std::string>& args) {
  if (args.size() != 1) throw std::runtime_error("usage: zek-tool block N");
  size_t used = 0;
  const int number = std::stoi(args[0], &used);
  if (used != args[0].size()) throw std::runtime_error("not a block number: " + args[0]);
  TZIPResource reader(number);
  if (reader.data().empty()) throw std::runtime_error("the program has no block " + args[0]);
  while (!reader.endReached()) {
    printText(reader.readLine());
    std::cout << '\n';
  }
  return 0;
}

const TToolCommandRegistrar packReg({"pack", "pack SRC DEST", "compresses a page file (zlib) as the page view reads it", pack});
const TToolCommandRegistrar unpackReg({"unpack", "unpack SRC DEST", "writes the text of a page file, uncompressed", unpack});
const TToolCommandRegistrar blockReg({"block", "block N", "prints built-in data block N, one item a line, as UTF-8", block});

}  // namespace
