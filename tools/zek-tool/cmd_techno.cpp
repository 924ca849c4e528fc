// SPDX-License-Identifier: GPL-3.0-or-later
// zek-tool techno-bench: the Techno presentation run unpaced over the pictures of a folder.
#include "tools/zek-tool/command.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/tclock.h"
#include "super/ttechnostyle.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

constexpr const char* kUsage = "techno-bench DIR [--frames N] [--border B] [--alpha A] [--mode M] [--speed S] [--png LAST.png]";

class TWords final : public TSuperTextSource {
 public:
  TSuperText nextText() override {
    static const char* const texts[] = {"*to remember", "sich erinnern", "*the weather", "das Wetter", "*beautiful", "sch\xF6n"};
    return {texts[m_i++ % 6], {}};
  }

 private:
  int m_i = 0;
};

class TImageHost final : public TTechnoHost {
 public:
  TImageHost() : bitmap(800, 572) { bitmap.FillColor(0); }
  // A view over the bitmap's own pixels, as the page view's buffer is.
  QImage canvas() override { return bitmap.view(); }
  void showRect(const QRect&) override {}
  void showMarkup(const std::string&) override {}
  TXBitmap bitmap;
};

int technoBench(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << "usage: zek-tool " << kUsage << "\n";
    return 2;
  }
  TTechnoSettings s;
  s.photoDir = zek::withTrailingSeparator(zek::fromPath(std::filesystem::absolute(args[0])));
  int frames = 500, speed = 1;
  std::string png;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "--frames" && more) frames = std::max(1, std::atoi(args[++i].c_str()));
    else if (args[i] == "--border" && more) s.border = std::clamp(std::atoi(args[++i].c_str()), 0, 200);
    else if (args[i] == "--alpha" && more) s.alpha = std::clamp(std::atoi(args[++i].c_str()), 0, 255);
    else if (args[i] == "--mode" && more) s.mode = std::clamp(std::atoi(args[++i].c_str()), 0, 8);
    else if (args[i] == "--speed" && more) speed = std::clamp(std::atoi(args[++i].c_str()), -25, 25);
    else if (args[i] == "--png" && more) png = args[++i];
    else {
      std::cerr << "usage: zek-tool " << kUsage << "\n";
      return 2;
    }
  }
  s.setSpeed(speed);
  const auto app = toolApplication<QApplication>();
  TWords words;
  TImageHost host;
  TEventPump pump;
  TTechnoStyle style(s, words, host, pump);
  style.player = nullptr;
  QElapsedTimer t;
  t.start();
  const int prepared = style.prepare(TTechnoStyle::pictureFiles(s.photoDir));
  const qint64 prepMs = t.elapsed();
  if (prepared == 0) {
    printText(std::string(TTechnoStyle::kNoPictures) + "\n");
    return 1;
  }
  std::cout << "pictures " << prepared << " prepared in " << prepMs << " ms\n";
  style.startFrames();
  t.restart();
  style.runUnpaced(frames);
  const double ms = double(std::max<qint64>(1, t.elapsed()));
  char line[128];
  std::snprintf(line, sizeof line, "frames %d in %lld ms: %.1f fps\n", frames, (long long)t.elapsed(), frames * 1000.0 / ms);
  std::cout << line;
  if (!png.empty() && !host.bitmap.toImage().save(QString::fromStdString(png), "PNG")) {
    std::cerr << "techno-bench: cannot write " << png << "\n";
    return 1;
  }
  return 0;
}

TToolCommandRegistrar reg({"techno-bench", kUsage,
                           "prepares the Techno pictures of DIR and runs N frames unpaced; prints the times and the frame rate",
                           technoBench});

}  // namespace
