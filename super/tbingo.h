// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/tclock.h"
#include "super/tlongrun.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <string>
#include <vector>

class TBibliothek;
class TSuperOptions;

// One line of the game's own word list "bingo.txt".
struct TBingoPair {
  std::string word, meaning, wrong;
};
// Word, tab, meaning, optionally tab and a wrong meaning; other lines are skipped.
std::vector<TBingoPair> readBingoList(const std::string& file);

// Where the game draws and which pages it shows: the main page view, or a picture in tests.
class TBingoHost {
 public:
  virtual ~TBingoHost() = default;
  // The off-screen picture the panels are drawn into (shares its pixels with the view).
  virtual QImage canvas() = 0;
  // Copies a drawn rectangle to the screen.
  virtual void showRect(const QRect& r) = 0;
  virtual void loadPage(const std::string& name) = 0;
  // Folder of the page shown now, ending with "/".
  virtual std::string pageDir() const = 0;
};

// The timed reaction game: a word above, a meaning below, click when they belong together.
// It runs inside the page command that starts it; every wait lets window events run.
class TBingo final : public TLongRun {
 public:
  static constexpr int kFadeMs = 500, kShowMs = 1000, kFrameMs = 20, kMessageMs = 3000;
  static constexpr int kJudgementsPerRound = 14;
  static const QRect kUpperPanel, kLowerPanel;

  TBingo(TBibliothek& bibliothek, TBingoHost& host, TPump& pump, TSuperOptions* music = nullptr);

  void run() override;
  void click();
  void stop() override { m_stop = true; }
  bool clickEnds() const override { return false; }
  void pageClick() override { click(); }

  // Steps, open for tests.
  void nextPair();
  void judge();
  void drawPanel(const QRect& panel, const std::string& text);
  void fade(int ms, bool in);
  void drawStatus();
  void setWordList(std::vector<TBingoPair> pairs) { m_pairs = std::move(pairs); }

  int time() const { return m_time; }
  void setTime(int t) { m_time = t; }
  int score() const { return m_score; }
  bool wrongPair() const { return m_wrong; }
  int wrongRun() const { return m_wrongRun; }
  bool clicksEnabled() const { return m_clicksEnabled; }
  bool clicked() const { return m_clicked; }
  bool stopped() const { return m_stop; }
  int round() const { return m_round; }
  const std::string& upper() const { return m_upper; }
  const std::string& lower() const { return m_lower; }
  QColor swatch() const { return m_swatch; }
  const std::vector<std::string>& recentWords() const { return m_recent; }
  // Every pair of texts shown as a message, in order ("ROUND 1|GET READY!").
  const std::vector<std::string>& messages() const { return m_messages; }

 private:
  void playRound();
  void showMessage(const std::string& upper, const std::string& lower);
  void message(const std::string& upper, const std::string& lower);
  void wait(int ms, bool clickEnds);
  void pickFont();
  void drawPanels();
  void addTime(int delta);
  bool decideWrong();
  int rangeSize() const;

  TBibliothek& m_bib;
  TBingoHost& m_host;
  TPump& m_pump;
  TSuperOptions* m_music;
  std::vector<TBingoPair> m_pairs;
  std::vector<std::string> m_recent, m_fonts, m_messages;
  QFont m_font;
  std::string m_upper, m_lower;
  bool m_wrong = false;
  int m_wrongRun = 0;
  int m_time = 100, m_score = 0, m_round = 0, m_judgements = 1;
  QColor m_base = Qt::black, m_swatch = Qt::black, m_textColor = Qt::black;
  int m_level = 0;  // fade level: 255 white .. 0 the base colour
  bool m_clicksEnabled = true, m_clicked = false, m_stop = false;
};
