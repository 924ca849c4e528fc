// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tbingo.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "super/tsuperoptions.h"
#include "vocab/tbibliothek.h"
#include "vocab/tvoceinstellungen.h"
#include "vocab/tvokabelabfrage.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

const QRect TBingo::kUpperPanel(QPoint(0, 30), QPoint(799, 236));
const QRect TBingo::kLowerPanel(QPoint(0, 297), QPoint(799, 503));

namespace {

constexpr int kMinFontPx = 8;  // shrinking stops here: Qt ignores sizes of 0 and below

constexpr std::array<std::array<const char*, 2>, 7> kTaunts = {{
    {"TOO", "BAD!"}, {"TRY", "AGAIN!"}, {"NO", "WAY!"}, {"TOUGH", "LUCK!"},
    {"SORRY", "PAL!"}, {"THAT", "HURTS!"}, {"DON'T GIVE", "ME THIS!"},
}};
constexpr std::array<std::array<const char*, 2>, 7> kPraises = {{
    {"TRUELY", "AMAZING!"}, {"VERY", "GOOD!"}, {"GOOD", "JOB!"}, {"WELL", "DONE!"},
    {"THAT'S", "CORRECT!"}, {"I'M", "IMPRESSED!"}, {"THAT WAS", "FANTASTIC!"},
}};
constexpr std::array<const char*, 10> kFontChoice = {"Arial", "times new roman", "Courier new", "Verdana", "Impact",
                                                     "Georgia", "Arial Black", "Andale Mono", "Lucida Console", "Garamond"};

bool installed(const char* face) {
  // The faces with metric-compatible stand-ins are always there.
  for (const char* f : {"Arial", "times new roman", "Courier new", "Verdana"})
    if (zek::equalsNoCase(face, f)) return true;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return QFontDatabase::hasFamily(QString::fromLatin1(face));
}

std::string trimmed(std::string s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

QColor swatchOf(const std::string& text) {
  int v = 0;
  if (text.size() < 7) return Qt::black;
  for (int i = 1; i <= 6; ++i) {
    const int d = hexDigit(text[std::size_t(i)]);
    if (d < 0) return Qt::black;
    v = v * 16 + d;
  }
  return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

QColor towardsWhite(QColor base, int level) {
  const auto ch = [level](int c) { return c + (255 - c) * level / 255; };
  return QColor(ch(base.red()), ch(base.green()), ch(base.blue()));
}

}  // namespace

std::vector<TBingoPair> readBingoList(const std::string& file) {
  std::vector<TBingoPair> pairs;
  const auto text = zek::readFile(zek::resolveName(file), 4u << 20);
  if (!text) return pairs;
  std::size_t pos = 0;
  while (pos < text->size()) {
    std::size_t end = text->find('\n', pos);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    TBingoPair p;
    p.word = line.substr(0, tab);
    const auto tab2 = line.find('\t', tab + 1);
    p.meaning = line.substr(tab + 1, tab2 == std::string::npos ? std::string::npos : tab2 - tab - 1);
    if (tab2 != std::string::npos) p.wrong = line.substr(tab2 + 1);
    if (p.word.empty() || p.meaning.empty()) continue;
    pairs.push_back(std::move(p));
  }
  return pairs;
}

TBingo::TBingo(TBibliothek& bibliothek, TBingoHost& host, TPump& pump, TSuperOptions* music)
    : m_bib(bibliothek), m_host(host), m_pump(pump), m_music(music) {
  for (const char* f : kFontChoice)
    if (installed(f)) m_fonts.emplace_back(f);
  pickFont();
}

void TBingo::click() {
  if (m_clicksEnabled) m_clicked = true;
}

int TBingo::rangeSize() const {
  const TVocEinstellungen* e = m_bib.Einstellungen();
  const int n = m_bib.Anzahl(false);
  const int von = e ? std::max(e->Von, 0) : 0;
  const int bis = e && e->Bis >= 0 ? std::min(e->Bis, n - 1) : n - 1;
  return bis - von;
}

void TBingo::pickFont() {
  const std::string face = m_fonts.empty() ? "Arial" : m_fonts[std::size_t(zufall(int(m_fonts.size())))];
  m_font = QFont(zek::toQString(face));
  m_font.setPixelSize(36);
  m_font.setBold(zek::equalsNoCase(face, "Arial") || zek::equalsNoCase(face, "Courier new"));
}

bool TBingo::decideWrong() {
  bool right;
  if (m_wrongRun >= 4) right = true;
  else if (m_wrongRun == 3) right = zufall(4) != 0;
  else right = zufall(2) == 0;
  if (right) m_wrongRun = 0;
  else ++m_wrongRun;
  return !right;
}

void TBingo::nextPair() {
  // A new pair is judged only from the middle of its fade-in, also after a pair the learner
  // let pass: a late click meant for that one must not count against this one.
  m_clicksEnabled = false;
  TVokabelAbfrage& quiz = m_bib.Abfrage();
  TVocAufgabe slot;
  const int range = rangeSize();
  const std::size_t keep = std::size_t(std::max(std::min(20, range), 0));
  int index = -1;
  // A range with fewer distinct words than the recent list holds takes a repeat in the end.
  for (int t = 0; t <= 4 * std::max(range, 1); ++t) {
    index = quiz.ZufallsAufgabe(slot);
    if (index < 0) break;
    if (std::find(m_recent.begin(), m_recent.end(), slot.Frage.Vokabel) == m_recent.end()) break;
  }
  if (index >= 0) {
    m_recent.push_back(slot.Frage.Vokabel);
    while (!m_recent.empty() && m_recent.size() >= keep) m_recent.erase(m_recent.begin());
  }
  m_upper = index >= 0 ? m_bib.MitTo(index) : std::string();

  const int runBefore = m_wrongRun;
  m_wrong = decideWrong();
  std::vector<int> wrongChoices;
  for (int i = 1; i < 6; ++i)
    if (!slot.Auswahl[std::size_t(i)].istLeer()) wrongChoices.push_back(i);
  int choice = 0;
  if (m_wrong && !wrongChoices.empty()) choice = wrongChoices[std::size_t(zufall(int(wrongChoices.size())))];
  else if (m_wrong) {  // no wrong meaning to offer: the pair is right after all
    m_wrong = false;
    m_wrongRun = 0;
  }
  const TVokabel& c = slot.Auswahl[std::size_t(choice)];
  std::string all = c.Bedeutung1;
  if (!c.Bedeutung2.empty()) all += ";" + c.Bedeutung2;
  std::vector<std::string> parts;
  for (std::size_t p = 0; p <= all.size();) {
    std::size_t e = all.find(';', p);
    if (e == std::string::npos) e = all.size();
    std::string part = trimmed(all.substr(p, e - p));
    if (!part.empty()) parts.push_back(std::move(part));
    p = e + 1;
  }
  m_lower = parts.empty() ? std::string() : parts[std::size_t(zufall(int(parts.size())))];
  if (slot.Frage.Wortart == 1 && slot.Frage.Deutsch && !m_lower.empty()) {
    static constexpr std::array kModal = {"must", "may", "should", "will", "would"};
    if (std::none_of(kModal.begin(), kModal.end(), [&](const char* m) { return m_lower == m; })) m_lower = "to " + m_lower;
  }

  if (!m_pairs.empty() && (index < 0 || zufall(10) == 0)) {
    const int n = int(m_pairs.size());
    const int k = zufall(n);
    const TBingoPair& p = m_pairs[std::size_t(k)];
    m_upper = p.word;
    // The word-list pair follows the same wrong-run rule as the library pairs.
    m_wrongRun = runBefore;
    m_wrong = decideWrong();
    if (m_wrong) {
      if (!p.wrong.empty() && zufall(10) > 5) m_lower = p.wrong;
      else if (k > 2) m_lower = m_pairs[std::size_t(k - 1 - zufall(2))].meaning;
      else if (k < n - 3) m_lower = m_pairs[std::size_t(k + 1 + zufall(2))].meaning;
      else if (index < 0) m_lower = m_pairs[std::size_t((k + 1) % n)].meaning;
      if (m_lower == p.meaning) {  // the stand-in happened to be the right meaning
        m_wrong = false;
        m_wrongRun = 0;
      }
    } else {
      m_lower = p.meaning;
    }
  }
  m_swatch = !m_lower.empty() && m_lower[0] == '#' ? swatchOf(m_lower) : QColor(Qt::black);
}

void TBingo::drawPanel(const QRect& panel, const std::string& text) {
  QImage canvas = m_host.canvas();
  if (canvas.isNull()) return;
  {
    QPainter p(&canvas);
    p.fillRect(panel, Qt::white);
    if (!text.empty() && text[0] == '#') {
      p.fillRect(panel.adjusted(120, 40, -120, -40), towardsWhite(m_swatch, m_level));
    } else if (!text.empty()) {
      QFont f = m_font;
      const QString q = zek::toQString(text);
      int size = 36;
      f.setPixelSize(size);
      while ((panel.width() - QFontMetrics(f).horizontalAdvance(q)) / 2 < 20 && size > kMinFontPx) {
        size = std::max(size - 2, kMinFontPx);
        f.setPixelSize(size);
      }
      const QFontMetrics m(f);
      const int margin = std::max((panel.width() - m.horizontalAdvance(q)) / 2, 0);
      p.setFont(f);
      p.setPen(m_textColor);
      p.setClipRect(panel);
      p.drawText(QRect(panel.left() + margin, panel.top(), panel.width() - margin, panel.height()),
                 Qt::AlignLeft | Qt::AlignVCenter, q);
    }
  }
  m_host.showRect(panel);
}

void TBingo::drawPanels() {
  m_textColor = towardsWhite(m_base, m_level);
  drawPanel(kUpperPanel, m_upper);
  drawPanel(kLowerPanel, m_lower);
}

void TBingo::drawStatus() {
  QImage canvas = m_host.canvas();
  if (canvas.isNull()) return;
  const QRect right(QPoint(640, 544), QPoint(799, 560)), left(QPoint(20, 544), QPoint(199, 560));
  {
    QPainter p(&canvas);
    p.fillRect(right, Qt::black);
    p.fillRect(left, Qt::black);
    QFont f(QStringLiteral("courier new"));
    f.setPixelSize(13);  // 10 points
    p.setFont(f);
    p.setPen(Qt::white);
    char pct[16];
    std::snprintf(pct, sizeof pct, "%3d%%", m_time);
    p.drawText(QRect(750, 544, 50, 17), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(pct));
    p.drawText(QRect(20, 544, 180, 17), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Score: %1").arg(m_score));
    p.fillRect(QRect(QPoint(740 - m_time, 544), QPoint(739, 560)), QColor((100 - m_time) * 255 / 100, m_time * 255 / 100, 0));
  }
  m_host.showRect(right);
  m_host.showRect(left);
}

void TBingo::wait(int ms, bool clickEnds) {
  m_pump.waitFor(ms, [this, clickEnds] { return m_stop || (clickEnds && m_clicked); });
}

void TBingo::fade(int ms, bool in) {
  const std::int64_t start = m_pump.clock().nowMs();
  QColor last;
  for (;;) {
    const std::int64_t elapsed = std::min<std::int64_t>(m_pump.clock().nowMs() - start, ms);
    const int rising = int(std::lround(255.0 * double(elapsed) / ms));
    m_level = in ? 255 - rising : rising;
    if (in && m_level < 128) m_clicksEnabled = true;
    const QColor c = towardsWhite(m_base, m_level);
    if (c != last) {
      drawPanels();
      last = c;
    }
    if (elapsed >= ms || m_clicked || m_stop) return;
    wait(int(std::min<std::int64_t>(kFrameMs, ms - elapsed)), true);
  }
}

void TBingo::message(const std::string& upper, const std::string& lower) {
  m_messages.push_back(upper + "|" + lower);
  m_clicked = false;
  m_upper = upper;
  m_lower = lower;
  m_swatch = Qt::black;
  pickFont();
}

void TBingo::showMessage(const std::string& upper, const std::string& lower) {
  message(upper, lower);
  fade(kFadeMs, true);
  wait(kMessageMs, false);
  fade(kFadeMs, false);
}

void TBingo::addTime(int delta) {
  m_time = std::clamp(m_time + delta, 0, 100);
  drawStatus();
}

void TBingo::judge() {
  m_clicksEnabled = false;
  m_clicked = false;
  const auto& [up, low] = m_wrong ? kTaunts[std::size_t(zufall(7))] : kPraises[std::size_t(zufall(7))];
  if (m_wrong) {
    m_base = QColor(204, 0, 0);
    m_time = std::max(m_time - 12, 0);
  } else {
    m_base = Qt::black;
    m_time = std::min(m_time + 6, 100);
    ++m_score;
  }
  message(up, low);
  m_level = 0;
  drawPanels();
  ++m_judgements;
  drawStatus();
  wait(kShowMs, false);
}

void TBingo::playRound() {
  m_judgements = 1;
  do {
    m_base = Qt::black;
    pickFont();
    nextPair();
    m_clicked = false;
    if (!m_stop) fade(kFadeMs, true);
    addTime(-1);
    if (!m_stop) wait(kShowMs, true);
    addTime(-1);
    if (!m_stop && m_clicked) judge();
    if (!m_stop) fade(kFadeMs, false);
    if (!m_stop && m_clicked) judge();
    if (m_music) m_music->musicPoll();
    m_pump.processPending();
  } while (!m_stop && m_time > 0 && m_judgements != kJudgementsPerRound + 1);
}

void TBingo::run() {
  m_host.loadPage("start.htx");
  m_pairs = readBingoList(m_host.pageDir() + "bingo.txt");
  m_pump.processPending();
  if (m_music) m_music->musicStart();
  drawStatus();
  for (m_round = 1;; ++m_round) {
    m_base = Qt::black;
    showMessage("ROUND " + std::to_string(m_round), "GET READY!");
    if (!m_stop) playRound();
    if (m_stop || m_time <= 0) break;
    // A new random selection only where one was made and nothing unsaved would be lost.
    if (!m_bib.ZufallsVerzeichnis().empty() && !m_bib.Veraendert()) {
      m_bib.ZufallsAuswahl();
      if (TVocEinstellungen* e = m_bib.Einstellungen()) {
        e->Von = 0;
        e->Bis = m_bib.Anzahl(false) - 1;
      }
    }
  }
  const bool stoppedEarly = m_time > 0;
  m_stop = false;  // the end screen runs its course
  m_base = Qt::black;
  if (stoppedEarly) {
    showMessage("BYE BYE", "SCORE " + std::to_string(m_score));
    m_host.loadPage("..\\vokabeln.htx");
  } else {
    showMessage("TIME UP", "GAME OVER");
    showMessage("FINAL SCORE", std::to_string(m_score));
    m_host.loadPage("again.htx");
  }
  m_pump.processPending();
  if (m_music) m_music->musicStop();
}
