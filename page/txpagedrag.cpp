// SPDX-License-Identifier: GPL-3.0-or-later
// The page view's drag exercises: word blocks dragged onto slots and sentence parts put in
// order. The lists (widgets/) keep the rules; this file draws and moves.
#include "page/txpage.h"

#include "page/pagefile.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace {

constexpr int kGlideSteps = 100;
// Part pictures of all sentences: forty full pages, far beyond any exercise.
constexpr std::int64_t kMaxPartPixels = std::int64_t(40) * 800 * 572;
constexpr int kContractFrames = 12;

// Shuffles are seeded once per process; ZEK_SEED makes them repeatable (scripted runs).
std::mt19937& dragEngine() {
  static std::mt19937 engine = [] {
    const char* seed = std::getenv("ZEK_SEED");
    return std::mt19937(seed && *seed ? unsigned(std::strtoul(seed, nullptr, 10)) : std::random_device{}());
  }();
  return engine;
}

TRect toTRect(const QRect& r) { return TRect{r.x(), r.y(), r.width(), r.height()}; }

bool hasDistinctParts(const tSatzteilListe& s) {
  return std::any_of(s.Teile.begin(), s.Teile.end(), [&](const auto& t) { return t.text != s.Teile.front().text; });
}

}  // namespace

int TXPage::defaultDragRandom(int n) {
  return n <= 1 ? 0 : int(std::uniform_int_distribution<int>(0, n - 1)(dragEngine()));
}

const TTextStyle* TXPage::blockStyle() const {
  for (const TPageItem& it : m_model.items) {
    if (it.kind == TItemKind::Word && it.style.widgetKind == TWidgetKind::Drag) return &it.style;
  }
  return nullptr;
}

void TXPage::drawCentred(TXBitmap& picture, const TTextStyle& style, const std::string& text, TColor fill) {
  picture.FillColor(resolveColor(fill, m_colors));
  QImage view = picture.view();
  QPainter p(&view);
  p.setFont(m_fonts.font(m_model.faceName(style), style));
  p.setPen(toQColor(resolveColor(style.color, m_colors)));
  p.drawText(QRect(0, 0, picture.width(), picture.height()), Qt::AlignCenter, zek::toQString(text));
}

void TXPage::resetDrag() {
  stopDragAnimation();
  m_drag.Reset();
  m_satz.FreeAll();
  m_settled.clear();
  m_dragging = TDragKind::None;
  m_floatPicture = nullptr;
  m_floatUnder = TXBitmap();
  m_floatRect = QRect();
  m_listsBuilt = false;
}

void TXPage::buildExerciseLists() {
  resetDrag();
  const auto random = dragRandom ? dragRandom : std::function<int(int)>(&TXPage::defaultDragRandom);
  const TDragSettings& d = m_model.drag;
  m_drag.ProZeile = d.perRow;
  m_drag.BlockBreite = d.blockWidth;
  m_drag.Links = d.left;
  m_drag.Rechts = d.right;
  for (std::size_t i = 0; i < m_model.dragSlots.size() && i < m_layout.dragSlots.size(); ++i) {
    const TRect& r = m_layout.dragSlots[i];
    m_drag.AddSlot(QRect(r.x, r.y, r.w, r.h), m_model.dragSlots[i].text);
  }
  if (!m_drag.Ziele.empty()) {
    for (const std::string& decoy : d.decoys) m_drag.AddBlock(decoy);
  }
  m_drag.LayoutPool(width(), d.row, random);
  if (const TTextStyle* style = blockStyle()) {
    for (const auto& b : m_drag.Bloecke) {
      TXBitmap& face = m_drag.Bilder[std::size_t(b.face)];
      face.setSize(std::max(1, b.rect.width()), std::max(1, b.rect.height()));
      drawCentred(face, *style, b.text, m_colors.blockBackground);
    }
  }

  // Each part is a picture as high as its sentence: no higher than the page.
  for (const TSatzRecord& s : m_model.sentences) {
    const QRect area(s.coords.get(0, 0), s.coords.get(1, 0), TCoords::extent(s.coords.get(2, 0), width()),
                     std::clamp(s.coords.get(3, 20), 1, std::max(1, height())));
    m_satz.AddSentence(area, s.parts);
  }
  m_satz.Shuffle(random);
  // A sentence that the shuffle left in order would need no work: shuffle it again.
  for (auto& sentence : m_satz.Saetze) {
    for (int tries = 0; tries < 10 && sentence->IsSolved() && hasDistinctParts(*sentence); ++tries) {
      tSatzbauListe one;
      one.Saetze.push_back(std::move(sentence));
      one.Shuffle(random);
      sentence = std::move(one.Saetze.front());
    }
  }
  if (!m_model.sentences.empty()) {
    // The parts are drawn in the font of the page's last sentence.
    const TTextStyle& style = m_model.sentences.back().style;
    const QFontMetrics& fm = m_fonts.metrics(m_model.faceName(style), style);
    std::int64_t pixels = 0;
    for (auto& s : m_satz.Saetze) {
      for (auto& t : s->Teile) {
        t.textWidth = std::min(fm.horizontalAdvance(zek::toQString(t.text)), std::max(1, width() - 8));
        t.textOffset = 4;
        t.rect.setSize(QSize(t.textWidth + 8, s->rect.height()));
        pixels += std::int64_t(t.rect.width()) * t.rect.height();
      }
    }
    // Parts enough to cover many pages are no exercise but a way to take gigabytes.
    if (pixels > kMaxPartPixels) {
      m_satz.FreeAll();
      showMessage(pageFileErrorText(TPageFileStatus::TooLarge, zek::fileNamePart(m_xfile)), mb::IconStop);
    }
    for (auto& s : m_satz.Saetze) {
      for (auto& t : s->Teile) {
        TXBitmap& pic = s->Bilder[std::size_t(t.picture)];
        pic.setSize(t.rect.width(), t.rect.height());
        drawCentred(pic, style, t.text, m_colors.blockBackground);
      }
      s->LayoutParts();
    }
  }
  m_listsBuilt = true;
}

void TXPage::drawExercises() {
  if (!m_listsBuilt) return;
  for (const auto& [pos, picture] : m_settled) copyBits(picture, 0, 0, picture.width(), picture.height(), m_buffer, pos.x(), pos.y());
  for (auto& b : m_drag.Bloecke) {
    TXBitmap& under = m_drag.Bilder[std::size_t(b.background)];
    under.setSize(std::max(1, b.rect.width()), std::max(1, b.rect.height()));
    copyBits(m_buffer, b.rect.x(), b.rect.y(), b.rect.width(), b.rect.height(), under, 0, 0);
    const TXBitmap& face = m_drag.Bilder[std::size_t(b.face)];
    copyBits(face, 0, 0, face.width(), face.height(), m_buffer, b.rect.x(), b.rect.y());
  }
  for (std::size_t s = 0; s < m_satz.Saetze.size(); ++s) drawSentence(int(s), -1);
}

void TXPage::drawSentence(int sentence, int except) {
  const tSatzteilListe& s = *m_satz.Saetze[std::size_t(sentence)];
  {
    QImage view = m_buffer.view();
    QPainter p(&view);
    p.fillRect(s.rect, toQColor(resolveColor(m_colors.background, m_colors)));
  }
  for (int i = 0; i < int(s.Teile.size()); ++i) {
    if (i == except) continue;
    const auto& t = s.Teile[std::size_t(i)];
    const TXBitmap& pic = s.Bilder[std::size_t(t.picture)];
    copyBits(pic, 0, 0, pic.width(), pic.height(), m_buffer, t.rect.x(), t.rect.y());
  }
  update(toView(toTRect(s.rect)));
}

// ---- the picture that follows the pointer

void TXPage::floatAt(QPoint pos) {
  const QRect old = m_floatRect;
  if (!m_floatUnder.isEmpty()) copyBits(m_floatUnder, 0, 0, old.width(), old.height(), m_buffer, old.x(), old.y());
  const TXBitmap& picture = *m_floatPicture;
  m_floatRect = QRect(pos, QSize(picture.width(), picture.height()));
  m_floatUnder.setSize(picture.width(), picture.height());
  copyBits(m_buffer, pos.x(), pos.y(), picture.width(), picture.height(), m_floatUnder, 0, 0);
  copyBits(picture, 0, 0, picture.width(), picture.height(), m_buffer, pos.x(), pos.y());
  // Only what changed goes to the screen.
  if (!old.isNull()) update(toView(toTRect(old)));
  update(toView(toTRect(m_floatRect)));
}

void TXPage::dropFloat() {
  if (!m_floatUnder.isEmpty()) {
    copyBits(m_floatUnder, 0, 0, m_floatRect.width(), m_floatRect.height(), m_buffer, m_floatRect.x(), m_floatRect.y());
    update(toView(toTRect(m_floatRect)));
  }
  m_floatUnder = TXBitmap();
  m_floatRect = QRect();
  m_floatPicture = nullptr;
}

// ---- mouse

bool TXPage::dragPress(QPoint pos) {
  if (!m_listsBuilt || m_dragAnimating) return false;
  const QPoint pp = toPage(pos);
  const int block = m_drag.BlockAt(pp.x(), pp.y());
  if (block >= 0) {
    auto& b = m_drag.Bloecke[std::size_t(block)];
    // The block leaves its home: the page under it comes back.
    const TXBitmap& under = m_drag.Bilder[std::size_t(b.background)];
    copyBits(under, 0, 0, under.width(), under.height(), m_buffer, b.rect.x(), b.rect.y());
    m_dragging = TDragKind::Block;
    m_dragIndex = block;
    m_grab = pp - b.rect.topLeft();
    m_floatPicture = &m_drag.Bilder[std::size_t(b.face)];
    floatAt(b.rect.topLeft());
    return true;
  }
  if (m_satz.PartAt(pp.x(), pp.y())) {
    tSatzteilListe& s = *m_satz.current();
    const auto& t = s.Teile[std::size_t(m_satz.Teil)];
    m_dragging = TDragKind::Part;
    m_grab = pp - t.rect.topLeft();
    drawSentence(m_satz.Aktuell, m_satz.Teil);
    m_floatPicture = &s.Bilder[std::size_t(t.picture)];
    floatAt(t.rect.topLeft());
    return true;
  }
  return false;
}

bool TXPage::dragMove(QPoint pos) {
  if (m_dragging == TDragKind::None) return false;
  const QPoint pp = toPage(pos);
  if (m_dragging == TDragKind::Block) {
    floatAt(m_drag.Snap(pp.x(), pp.y(), m_grab.x(), m_grab.y()));
    return true;
  }
  tSatzteilListe& s = *m_satz.current();
  int snapped = tSatzbauListe::kNoSlot;
  if (pp.y() >= s.rect.top() && pp.y() < s.rect.top() + s.rect.height()) {
    const int before = m_satz.Teil;
    snapped = m_satz.DropSlot(pp.x());
    if (m_satz.Teil != before) {
      // Two parts changed places: the sentence is drawn again under the dragged part.
      const TXBitmap* picture = m_floatPicture;
      dropFloat();
      drawSentence(m_satz.Aktuell, m_satz.Teil);
      m_floatPicture = picture;
    }
  } else {
    m_satz.AufPlatz = false;
  }
  floatAt(snapped != tSatzbauListe::kNoSlot ? QPoint(snapped, s.rect.top()) : pp - m_grab);
  return true;
}

bool TXPage::dragRelease(QPoint pos) {
  if (m_dragging == TDragKind::None) return false;
  dragMove(pos);
  const TDragKind kind = m_dragging;
  m_dragging = TDragKind::None;
  if (kind == TDragKind::Block) {
    const QPoint corner = m_floatRect.topLeft();
    const auto block = m_drag.Bloecke[std::size_t(m_dragIndex)];
    const int slot = m_drag.SlotAt(corner.x(), corner.y());
    const QRect slotRect = slot >= 0 ? m_drag.Ziele[std::size_t(slot)].rect : QRect();
    if (m_drag.Drop(m_dragIndex, corner) >= 0) {
      // Matched: the word stays in the slot for good, as wide as the slot so that it does
      // not cover the text after it.
      dropFloat();
      TXBitmap placed(std::max(1, slotRect.width()), std::max(1, slotRect.height()));
      if (const TTextStyle* style = blockStyle()) drawCentred(placed, *style, block.text, m_colors.blockBackground);
      copyBits(placed, 0, 0, placed.width(), placed.height(), m_buffer, corner.x(), corner.y());
      update(toView(toTRect(slotRect)));
      m_settled.emplace_back(corner, std::move(placed));
      postReaction({TReaction::CheckDone, {}});
      return true;
    }
    const int index = m_dragIndex;
    glideTo(block.rect.topLeft(), [this, index] {
      dropFloat();
      auto& b = m_drag.Bloecke[std::size_t(index)];
      const TXBitmap& face = m_drag.Bilder[std::size_t(b.face)];
      copyBits(face, 0, 0, face.width(), face.height(), m_buffer, b.rect.x(), b.rect.y());
      update(toView(toTRect(b.rect)));
    });
    return true;
  }
  const int sentence = m_satz.Aktuell;
  const QPoint home = m_satz.current()->Teile[std::size_t(m_satz.Teil)].rect.topLeft();
  const auto settle = [this, sentence] {
    dropFloat();
    drawSentence(sentence, -1);
    if (m_satz.IsSolved(sentence)) contract(sentence);
  };
  if (m_satz.AufPlatz) settle();
  else glideTo(home, settle);
  return true;
}

// ---- animations: the glide back and the contraction of a solved sentence

void TXPage::startDragAnimation(std::function<bool()> step, int intervalMs) {
  ++m_animSerial;
  m_dragAnimStep = std::move(step);
  m_dragAnimating = true;
  m_dragClock.start();
  m_dragAnim.start(std::max(1, intervalMs));
}

void TXPage::glideTo(QPoint target, std::function<void()> done) {
  const QPoint from = m_floatRect.topLeft();
  startDragAnimation([this, from, target, done = std::move(done)] {
    // Paced by the clock, so the glide takes the same time on any machine.
    const int step = std::min<int>(kGlideSteps, int(m_dragClock.elapsed() / std::max(1, glideStepMs)));
    floatAt(from + (target - from) * step / kGlideSteps);
    if (step < kGlideSteps) return false;
    done();
    return true;
  }, glideStepMs);
}

void TXPage::contract(int sentence) {
  startDragAnimation([this, sentence] {
    const int k = std::min<int>(kContractFrames - 1, int(m_dragClock.elapsed() / std::max(1, contractFrameMs)));
    tSatzteilListe& s = *m_satz.Saetze[std::size_t(sentence)];
    {
      QImage view = m_buffer.view();
      QPainter p(&view);
      p.fillRect(s.rect, toQColor(resolveColor(m_colors.background, m_colors)));
      const TTextStyle& style = m_model.sentences.back().style;
      p.setFont(m_fonts.font(m_model.faceName(style), style));
      p.setPen(toQColor(resolveColor(style.color, m_colors)));
      for (int i = 0; i < int(s.Teile.size()); ++i) {
        const auto& t = s.Teile[std::size_t(i)];
        const QRect text(t.rect.x() + t.textOffset - i * k, t.rect.y(), t.textWidth + 1, t.rect.height());
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, zek::toQString(t.text));
      }
    }
    update(toView(toTRect(s.rect)));
    if (k < kContractFrames - 1) return false;
    TXBitmap final(s.rect.width(), s.rect.height());
    copyBits(m_buffer, s.rect.x(), s.rect.y(), s.rect.width(), s.rect.height(), final, 0, 0);
    m_settled.emplace_back(s.rect.topLeft(), std::move(final));
    m_satz.Aktuell = sentence;
    m_satz.RemoveCurrent();
    postReaction({TReaction::CheckDone, {}});
    return true;
  }, contractFrameMs);
}

void TXPage::stopDragAnimation() {
  m_dragAnim.stop();
  m_dragAnimStep = nullptr;
  m_dragAnimating = false;
}

void TXPage::dragAnimationTick() {
  if (!m_dragAnimStep) {
    m_dragAnim.stop();
    return;
  }
  const auto step = m_dragAnimStep;  // a copy: finishing may start the next animation
  const unsigned serial = m_animSerial, generation = m_generation;
  if (!step()) return;
  if (generation != m_generation || serial != m_animSerial) return;
  stopDragAnimation();
}

bool TXPage::dragExercisesDone() const {
  if (!m_listsBuilt) return m_model.dragSlots.empty() && m_model.sentences.empty();
  return m_drag.Done() && m_satz.Done() && !m_dragAnimating && m_dragging == TDragKind::None;
}

std::string TXPage::dragTextAt(QPoint pagePos) const {
  if (!m_listsBuilt) return {};
  std::string text = m_drag.BlockTextAt(pagePos.x(), pagePos.y());
  if (!text.empty()) return text;
  for (const auto& s : m_satz.Saetze) {
    for (const auto& t : s->Teile) {
      if (t.rect.contains(pagePos)) return t.text;
    }
  }
  return {};
}

std::vector<TDriveCell> TXPage::driveCells() const {
  std::vector<TDriveCell> cells;
  if (!m_listsBuilt) return cells;
  for (const auto& b : m_drag.Bloecke) cells.push_back({b.text, b.rect.translated(0, -m_scrollY)});
  for (const auto& s : m_satz.Saetze) {
    for (const auto& t : s->Teile) cells.push_back({t.text, t.rect.translated(0, -m_scrollY)});
  }
  return cells;
}
