// SPDX-License-Identifier: GPL-3.0-or-later
// The page's keyboard: Tab and Shift+Tab between links and fields, the focus frame, the
// number keys of the choice grid.
#include "page/tpagefocus.h"
#include "page/txpage.h"
#include "widgets/txcoloredit.h"
#include "widgets/txmultiplechoice.h"

#include <QApplication>
#include <QPainter>

std::vector<int> TXPage::followableLinks() const {
  std::vector<int> links;
  for (std::size_t i = 0; i < m_model.links.size(); ++i) {
    if (m_model.links[i].kind != TLinkKind::Target) continue;
    const std::string t = targetOf(int(i));
    if (!t.empty() && t != "%") links.push_back(int(i));
  }
  return links;
}

bool TXPage::StepFocus(bool forward) {
  std::vector<TRect> fields(m_fields.size());
  for (std::size_t i = 0; i < m_fields.size() && i < m_layout.fields.size(); ++i) {
    const TPageEdit* f = m_fields[i];
    if (f && !f->isHidden() && !f->ReadOnly()) fields[i] = m_layout.fields[i];
  }
  const std::vector<TFocusStop> stops = focusOrder(m_layout, followableLinks(), fields);
  if (stops.empty()) return false;
  int current = -1;
  const QWidget* focus = QApplication::focusWidget();
  for (std::size_t i = 0; i < stops.size() && current < 0; ++i) {
    const TFocusStop& s = stops[i];
    if (s.kind == TFocusStop::Field && focus && focus == m_fields[std::size_t(s.index)]) current = int(i);
    if (s.kind == TFocusStop::Link && s.index == m_focusLink && hasFocus()) current = int(i);
  }
  const TFocusStop& next = stops[std::size_t(nextFocusStop(int(stops.size()), current, forward))];
  // What is reached is brought into view.
  if (next.rect.y < m_scrollY || next.rect.bottom() > m_scrollY + height())
    ScrollTo(next.rect.y - (height() - next.rect.h) / 2);
  if (next.kind == TFocusStop::Field) {
    m_focusLink = -1;
    m_fields[std::size_t(next.index)]->setFocus(Qt::TabFocusReason);
  } else {
    m_focusLink = next.index;
    setFocus(Qt::TabFocusReason);
  }
  update();
  return true;
}

bool TXPage::focusNextPrevChild(bool next) {
  // A page without links or fields lets the focus go on in its window.
  return StepFocus(next) || QWidget::focusNextPrevChild(next);
}

void TXPage::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  if (m_focusLink >= 0) update();
}

void TXPage::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  if (m_focusLink >= 0) update();
}

void TXPage::paintFocusFrame(QPainter& p) const {
  if (m_focusLink < 0 || !hasFocus()) return;
  // Around each line of the link: a light line with a dark dashed one on it shows on any page.
  std::vector<TRect> runs;
  for (const THitRun& run : m_layout.hitRuns) {
    const TLinkArea& a = m_layout.areas[std::size_t(run.area)];
    if (a.link == m_focusLink && run.rect.w < width()) runs.push_back(run.rect);
  }
  if (runs.empty())
    for (const TLinkArea& a : m_layout.areas)
      if (a.link == m_focusLink) runs.push_back(a.rect);
  p.setBrush(Qt::NoBrush);
  for (const TRect& r : runs) {
    const QRect frame = toView(r).adjusted(-3, -1, 2, 0);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(frame);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(frame);
  }
}

bool TXPage::ChooseByKey(int number) {
  if (!m_multiple || m_multiple->isHidden() || m_choiceAnswered || m_multiple->Highlight() != -1) return false;
  const int cell = number - 1;
  if (cell < 0 || cell >= int(m_multiple->Items().size())) return false;
  m_multiple->setSelected(cell);
  PostChoiceAnswer(cell);
  return true;
}
