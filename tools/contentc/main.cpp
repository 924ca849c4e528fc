// SPDX-License-Identifier: GPL-3.0-or-later
// zek-contentc: turns the UTF-8 content sources into the files of the installation.
//   page SRC DEST            UTF-8 markup → Windows-1252, zlib-compressed page file
//   text [--crlf] SRC DEST   UTF-8 text → Windows-1252 (line ends CR LF with --crlf)
//   embed OUT.cpp N=FILE...  built-in data blocks: Windows-1252 items, each ended by NUL,
//                            zlib-compressed into a C++ source. FILE.lines: one item per line;
//                            FILE.tsv: one item per tab-separated field, "#" lines are comments.
//                            Any other extension is embedded as its bytes.
//   resource OUT.cpp NAME=FILE...  named raw resources ("$" pictures)
//   lab-variants OUT LESSONS.tsv TT.tsv...  the accepted variants of the lab sentences: files named
//                            by their topic index, lines "NNNN<TAB>sentence" (NNNN the number of
//                            the sentence's sound file lab_NNNN in LESSONS.tsv), "#" comments;
//                            written as Windows-1252 items "NNNN", sentence, each ended by NUL
#include "platform/codec.h"
#include "platform/files.h"

#include <cstdio>
#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "zek-contentc: " << message << "\n";
  std::exit(1);
}

std::string readSource(const std::string& file) {
  auto data = zek::readFile(file);
  if (!data) fail("cannot read " + file);
  if (data->rfind("\xEF\xBB\xBF", 0) == 0) data->erase(0, 3);
  return *data;
}

// Converts line by line so that a character without a Windows-1252 code names its line.
std::string convert(const std::string& file, const std::string& utf8) {
  std::string out;
  size_t line = 1, pos = 0;
  while (pos <= utf8.size()) {
    size_t end = utf8.find('\n', pos);
    if (end == std::string::npos) end = utf8.size();
    const auto converted = zek::utf8ToCp1252Strict(std::string_view(utf8).substr(pos, end - pos));
    if (!converted) fail(file + ":" + std::to_string(line) + ": character without a Windows-1252 code");
    out += *converted;
    if (end < utf8.size()) out.push_back('\n');
    pos = end + 1;
    ++line;
  }
  return out;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::string blockBytes(const std::string& file) {
  const std::string ext = zek::extensionLower(file);
  if (ext != ".lines" && ext != ".tsv") return readSource(file);
  const std::string text = convert(file, readSource(file));
  std::string out;
  for (const std::string& line : splitLines(text)) {
    if (ext == ".lines") {
      out += line;
      out.push_back('\0');
      continue;
    }
    if (!line.empty() && line[0] == '#') continue;
    size_t pos = 0;
    while (true) {
      const size_t tab = line.find('\t', pos);
      out += line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos);
      out.push_back('\0');
      if (tab == std::string::npos) break;
      pos = tab + 1;
    }
  }
  return out;
}

void writeOut(const std::string& file, const std::string& data) {
  if (!zek::writeFileAtomic(file, data)) fail("cannot write " + file);
}

std::string cArray(const std::string& name, const std::string& bytes) {
  std::ostringstream out;
  out << "static const unsigned char " << name << "[] = {";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 20 == 0) out << "\n ";
    out << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
  }
  if (bytes.empty()) out << "0";
  out << "\n};\n";
  return out.str();
}

std::pair<std::string, std::string> splitAssignment(const std::string& arg) {
  const size_t eq = arg.find('=');
  if (eq == std::string::npos) fail("expected NAME=FILE, got " + arg);
  return {arg.substr(0, eq), arg.substr(eq + 1)};
}

// Sound number -> topic index, from the lesson table's topic lines and fifth fields.
std::map<std::string, int> labSentenceTopics(const std::string& lessons, int& topics) {
  std::map<std::string, int> out;
  topics = 0;
  int line = 0;
  for (const std::string& l : splitLines(convert(lessons, readSource(lessons)))) {
    ++line;
    if (l.empty() || l[0] == '#') continue;
    if (l.rfind("****", 0) == 0) {
      ++topics;
      continue;
    }
    const size_t wav = l.rfind("lab_");
    if (wav == std::string::npos || wav + 8 > l.size())
      fail(lessons + ":" + std::to_string(line) + ": sentence without a lab_NNNN sound file");
    out[l.substr(wav + 4, 4)] = topics - 1;
  }
  return out;
}

bool fourDigits(const std::string& s) {
  return s.size() == 4 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string labVariants(const std::string& lessons, const std::vector<std::string>& files) {
  int topics = 0;
  const std::map<std::string, int> topicOf = labSentenceTopics(lessons, topics);
  std::string out;
  for (const std::string& file : files) {
    const std::string name = zek::fileNamePart(file);
    const std::string tt = name.substr(0, 2);
    if (name.size() != 6 || !fourDigits("00" + tt) || zek::extensionLower(name) != ".tsv" ||
        std::stoi(tt) >= topics)
      fail(file + ": the name must be the topic index TT.tsv, 00 to " + std::to_string(topics - 1));
    const int topic = std::stoi(tt);
    int line = 0;
    for (const std::string& l : splitLines(convert(file, readSource(file)))) {
      ++line;
      const std::string where = file + ":" + std::to_string(line) + ": ";
      if (l.empty() || l[0] == '#') continue;
      const size_t tab = l.find('\t');
      const std::string number = l.substr(0, tab);
      const std::string variant = tab == std::string::npos ? std::string() : l.substr(tab + 1);
      if (!fourDigits(number) || variant.empty() || variant.find('\t') != std::string::npos ||
          variant.front() == ' ' || variant.back() == ' ')
        fail(where + "malformed line (expected NNNN, a tab and the sentence)");
      const auto it = topicOf.find(number);
      if (it == topicOf.end()) fail(where + "unknown sentence " + number + " (no lab_" + number + " in " + lessons + ")");
      if (it->second != topic)
        fail(where + "sentence " + number + " belongs to topic " + std::to_string(it->second) + ", not " + tt);
      if (variant.size() > 100) fail(where + "sentence longer than 100 characters");
      out += number;
      out.push_back('\0');
      out += variant;
      out.push_back('\0');
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) fail("no command");
  const std::string cmd = args[0];
  if (cmd == "page" && args.size() == 3) {
    const std::string markup = convert(args[1], readSource(args[1]));
    writeOut(args[2], zek::deflateZlib(markup, 9));
    return 0;
  }
  if (cmd == "text" && (args.size() == 3 || (args.size() == 4 && args[1] == "--crlf"))) {
    const bool crlf = args.size() == 4;
    const std::string& src = args[args.size() - 2];
    std::string text = convert(src, readSource(src));
    if (crlf) {
      std::string out;
      for (const std::string& line : splitLines(text)) out += line + "\r\n";
      text = out;
    }
    writeOut(args.back(), text);
    return 0;
  }
  if ((cmd == "embed" || cmd == "resource") && args.size() >= 2) {
    std::string src = "// Generated by zek-contentc from content/.\n#include <string_view>\n\n";
    std::string table;
    int index = 0;
    for (size_t i = 2; i < args.size(); ++i) {
      const auto [name, file] = splitAssignment(args[i]);
      const std::string var = "data" + std::to_string(index++);
      if (cmd == "embed") {
        src += cArray(var, zek::deflateZlib(blockBytes(file), 9));
        table += "    case " + std::to_string(std::stoi(name)) + ": return {reinterpret_cast<const char*>(" + var +
                 "), sizeof " + var + "};\n";
      } else {
        src += cArray(var, readSource(file));
        table += "  if (name == \"" + name + "\") return {reinterpret_cast<const char*>(" + var + "), sizeof " +
                 var + "};\n";
      }
    }
    if (cmd == "embed") {
      src += "\nstd::string_view compressedBlock(int number) {\n  switch (number) {\n" + table +
             "    default: return {};\n  }\n}\n";
    } else {
      src += "\nstd::string_view namedResource(std::string_view name) {\n  (void)name;\n" + table + "  return {};\n}\n";
    }
    writeOut(args[1], src);
    return 0;
  }
  if (cmd == "lab-variants" && args.size() >= 3) {
    writeOut(args[1], labVariants(args[2], std::vector<std::string>(args.begin() + 3, args.end())));
    return 0;
  }
  fail("bad arguments for " + cmd);
}
