#include "page/txpage.h"

#include "lab/media/mediacommand.h"
#include "page/pagefile.h"
#include "page/targetpath.h"
#include "page/thtmlstream.h"
#include "page/tmosaic.h"
#include "platform/appstate.h"
#include "platform/builtinresources.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "widgets/txcolorbutton.h"
#include "widgets/txcoloredit.h"
#include "widgets/txlabel.h"
#include "widgets/txmultiplechoice.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <random>

namespace {

std::function<void()>& soundCloser() {
  static std::function<void()> closer = [] { sendPageMediaCommand("close welle", true); };
  return closer;
}

// Cursors drawn for the program, compiled in from content/resources.
const QCursor& resourceCursor(const char* name, QPoint hotSpot, Qt::CursorShape fallback) {
  static std::vector<std::pair<std::string, QCursor>> cache;
  for (const auto& [n, c] : cache)
    if (n == name) return c;
  const std::string_view bytes = namedResource(name);
  QImage image;
  if (!bytes.empty()) image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
  cache.emplace_back(name, image.isNull() ? QCursor(fallback) : QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y()));
  return cache.back().second;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && zek::equalsNoCase(s.substr(0, prefix.size()), prefix);
}

constexpr char kCommandMark = '\xA7';  // "§"
constexpr int kMaxBufferHeight = 32768;

}  // namespace

// The small yellow window of a link's hint.
class THintWindow : public QWidget {
 public:
  explicit THintWindow(QWidget* parent) : QWidget(parent) {
    m_font = TQtTextMetrics::pointFont("Arial", 8);
    hide();
  }
  void setText(const std::string& text) {
    m_text = zek::toQString(text);
    const QFontMetrics fm(m_font);
    const QRect r = fm.boundingRect(QRect(0, 0, kMaxWidth - 2 * kPad, 10000), Qt::TextWordWrap, m_text);
    resize(std::min(kMaxWidth, r.width() + 2 * kPad), r.height() + 2 * kPad);
    update();
  }
  const QString& text() const { return m_text; }
  static constexpr int kMaxWidth = 120;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 225));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(m_font);
    p.drawText(rect().adjusted(kPad, kPad, -kPad, -kPad), Qt::TextWordWrap, m_text);
  }

 private:
  static constexpr int kPad = 3;
  QFont m_font;
  QString m_text;
};

class TXPage::THost : public THtxHost {
 public:
  explicit THost(TXPage& page) : m_p(page) {}
  int addPicture(const std::string& name) override { return m_p.m_pictures.add(name, m_p.m_xpath); }
  std::string xpath() const override { return m_p.m_xpath; }
  std::string pageOnShow() const override { return m_p.m_xfile; }
  bool exerciseMode() const override { return m_p.m_exerciseMode; }
  bool hasCondition(std::string_view name) const override { return m_p.m_bedingung.contains(name); }
  int pageWidth() const override { return m_p.width(); }
  int pageHeight() const override { return m_p.height(); }

 private:
  TXPage& m_p;
};

TXPage::TXPage(QWidget* parent) : QWidget(parent), m_host(std::make_unique<THost>(*this)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);  // TabStop
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(800, 572);
  m_scrollBar = new QScrollBar(Qt::Vertical, this);
  m_scrollBar->hide();
  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int v) {
    m_scrollY = v;
    hideHint();
    placeWidgets();
    update();
  });
  m_hint = new THintWindow(this);
  m_hintDelay.setSingleShot(true);
  m_hintClose.setSingleShot(true);
  m_waitTimer.setSingleShot(true);
  connect(&m_hintDelay, &QTimer::timeout, this, [this] { showHint(); });
  connect(&m_hintClose, &QTimer::timeout, this, [this] { hideHint(); });
  connect(&m_waitTimer, &QTimer::timeout, this, [this] {
    const std::string target = m_model.waitTarget;
    if (m_autoJump) Follow(target, QRect());
  });
  connect(&m_mosaicTimer, &QTimer::timeout, this, [this] {
    if (!m_mosaic) return;
    try {
      const TRect r = m_mosaic->step(m_buffer);
      update(toView(r));
    } catch (...) {
      m_mosaicTimer.stop();
    }
  });
  m_buffer.setSize(width(), height());
  m_buffer.FillColor(m_colors.background);
  m_bufferView = m_buffer.view();
}

TXPage::~TXPage() = default;

void TXPage::setSoundCloser(std::function<void()> closer) { soundCloser() = std::move(closer); }

void TXPage::setColorBGR(TColor color) {
  m_colors.background = color;
  m_model.colors.background = color;
  m_buffer.FillColor(resolveColor(color, m_colors));
  update();
}

void TXPage::setXPath(const std::string& dir) {
  if (!dir.empty() && zek::directoryExists(dir)) m_xpath = zek::withTrailingSeparator(dir);
  else m_xpath = Dirs().ProgramDir;
}

void TXPage::ResetColors() {
  m_colors = TPageColors{};
  m_model.colors = TPageColors{};
}

void TXPage::setCondition(const std::string& name, bool on) {
  if (on) m_bedingung.add(name);
  else m_bedingung.remove(name);
}

void TXPage::Clear() {
  hideHint();
  m_hintDelay.stop();
  m_waitTimer.stop();
  m_mosaicTimer.stop();
  m_mosaic.reset();
  m_label.reset();
  m_labelText.clear();
  if (m_multiple) m_multiple->hide();
  delete m_multiple;
  m_multiple = nullptr;
  for (TPageEdit* f : m_fields) delete f;
  m_fields.clear();
  for (tXColorButton* b : m_buttons) delete b;
  m_buttons.clear();
  m_animTimers.clear();
  m_frames.clear();
  m_painter.reset();
  m_layout = TPageLayout{};
  m_reader.reset();
  m_model.clear();
  m_pictures.clear();
  m_background.reset();
  ResetColors();
  m_hoverLink = -1;
  if (soundCloser()) soundCloser()();
}

void TXPage::readAndShow(std::string_view text) {
  const std::string oldTitle = m_model.title;
  Clear();
  m_reader = std::make_unique<THtxReader>(m_model, *m_host, std::random_device{}() | 1u);
  m_reader->read(text);
  layoutAndPaint();
  ScrollTo(0);
  if (OnTitleChange && m_model.title != oldTitle) OnTitleChange(this);
}

void TXPage::ShowHTML(const std::string& markup) {
  LockMouse();
  readAndShow(markup);
  QCoreApplication::processEvents();
  UnlockMouse();
}

void TXPage::ShowStream(THTMLStream* stream) {
  if (!stream || stream->empty()) return;
  if ((stream->data().back() != '\r' && !stream->Write("\r")) || !stream->Write(std::string_view("\0", 1))) {
    showMessage(stream->error(), mb::Ok | mb::IconExclamation);
    return;
  }
  LockMouse();
  Clear();
  QCoreApplication::processEvents();
  readAndShow(stream->data());
  QCoreApplication::processEvents();
  UnlockMouse();
}

void TXPage::setXFile(const std::string& name) {
  LockMouse();
  struct TUnlock {
    TXPage* p;
    ~TUnlock() { p->UnlockMouse(); }
  } unlock{this};
  if (name.empty()) {
    Clear();
    m_xfile.clear();
    layoutAndPaint();
    ScrollTo(0);
    return;
  }
  std::string path = name;
  if (name.front() != '$') {
    path = resolveTargetPath(name, m_xpath);
    if (!zek::isAbsoluteName(path)) path = Dirs().ProgramDir + path;
    if (!zek::fileExists(path)) {
      showMessageTitled("Die Datei \"" + name + "\" wurde nicht gefunden!", "*zek", mb::IconStop);
      return;
    }
  }
  TPageFile file = readPageFile(zek::resolveName(path));
  if (!file.ok()) {
    showMessage(pageFileErrorText(file.status, name), mb::IconStop);
    return;
  }
  m_xpath = zek::withTrailingSeparator(zek::directoryPart(path));
  m_xfile = path;
  readAndShow(file.text);
  if (OnFileChange) OnFileChange(this);
  unsetCursor();
  if (OnBadLink) OnBadLink(this, firstBadLink());
  if (m_lastMouse.x() >= 0) HoverAt(m_lastMouse);
  QCoreApplication::processEvents();
}

std::string TXPage::targetOf(int link) const {
  if (link < 0 || std::size_t(link) >= m_model.links.size()) return {};
  std::string t = m_model.links[std::size_t(link)].name;
  if (!t.empty() && t.front() == '#') {
    const std::string* alias = m_model.linkAlias(t);
    t = alias ? *alias : std::string();
  }
  const std::size_t at = t.find('@');
  return at == std::string::npos ? t : t.substr(0, at);
}

std::string TXPage::hintOf(int link) const {
  if (link < 0 || std::size_t(link) >= m_model.links.size()) return {};
  const std::string& name = m_model.links[std::size_t(link)].name;
  const std::size_t at = name.find('@');
  return at == std::string::npos ? std::string() : name.substr(at + 1);
}

std::string TXPage::firstBadLink() const {
  for (const TLinkArea& a : m_layout.areas) {
    if (a.link < 0) continue;
    std::string t = m_model.links[std::size_t(a.link)].name;
    if (t.empty()) return "(leeres Ziel)";
    t = t.substr(0, t.find('@'));
    if (t.empty() || t == "%") continue;
    if (t.front() == '#') {
      const std::string* alias = m_model.linkAlias(t);
      t = alias ? *alias : std::string();
    }
    if (t.size() >= 2 && t[0] == kCommandMark && t[1] == '[') {
      const std::size_t close = t.find(']');
      t = close == std::string::npos ? std::string() : t.substr(close + 1);
    }
    if (t.empty() || t.front() == kCommandMark || t.front() == '-') continue;
    const std::string path = resolveTargetPath(t, m_xpath);
    if (!path.empty() && path.front() != '*' && !zek::fileExists(path)) return t;
  }
  return {};
}

void TXPage::buildMosaic() {
  std::vector<std::size_t> boxes;
  for (std::size_t i = 0; i < m_model.boxes.size(); ++i)
    if (!m_model.boxes[i].mosaic.empty()) boxes.push_back(i);
  if (boxes.empty()) return;
  m_mosaic = std::make_unique<TMosaic>(std::random_device{}() | 1u);
  for (std::size_t b : boxes) {
    for (const std::string& name : m_model.boxes[b].mosaic) {
      const int index = m_pictures.add(resolveTargetPath(name, m_xpath), {});
      m_mosaic->addPicture(m_pictures.picture(index));
    }
    m_mosaic->speedMs = m_model.boxes[b].speed;
  }
  if (m_mosaic->empty()) {
    m_mosaic.reset();
    return;
  }
  for (std::size_t b : boxes) {
    if (b < m_layout.boxes.size()) m_mosaic->addArea(m_layout.boxes[b]);
    const TCoords& z = m_model.boxes[b].zone2;
    if (z.given)
      m_mosaic->addArea({z.get(0, 0), z.get(1, 0), TCoords::extent(z.get(2, 0), width()),
                         TCoords::extent(z.get(3, 0), height())});
  }
}

void TXPage::layoutAndPaint() {
  m_colors = m_model.colors;
  if (!m_model.background.empty()) m_background = TPictureList::loadBackground(m_model.background, m_xpath);
  const TPictureSizeFn size = [this](int index) {
    const TPicture* p = m_pictures.picture(index);
    return p ? TSize{p->width(), p->height()} : TSize{};
  };
  m_layout = layoutPage(m_model, m_fonts, size, width(), height());
  buildMosaic();
  createWidgets();
  updateScrollBar();
  paintPage();
  placeWidgets();
  startAnimations();
  if (m_mosaic) m_mosaicTimer.start(std::max(1, m_mosaic->speedMs));
  if (m_model.waitMs > 0 && !m_model.waitTarget.empty()) m_waitTimer.start(m_model.waitMs);
  if (OnWidgetsCreated) OnWidgetsCreated(this);
}

void TXPage::paintPage() {
  // A page far longer than any real one (a box placed at y 100000) is cut, so the picture stays bounded.
  m_buffer.setSize(width(), std::max(std::min(m_layout.contentHeight + 16, kMaxBufferHeight), height()));
  m_painter = std::make_unique<TPagePainter>(m_model, m_layout, m_pictures, m_fonts);
  m_painter->colors = m_colors;
  m_painter->background = m_background.get();
  m_painter->mosaic = m_mosaic.get();
  m_painter->frameOf = [this](int picture) {
    return picture >= 0 && std::size_t(picture) < m_frames.size() ? m_frames[std::size_t(picture)] : 0;
  };
  m_painter->paint(m_buffer);
  m_bufferView = m_buffer.view();
  if (m_hoverLink >= 0) switchImages(m_hoverLink, true);
  update();
}

void TXPage::startAnimations() {
  if (!m_painter) return;
  m_frames.assign(std::size_t(std::max(0, m_pictures.size())), 0);
  std::vector<int> started;
  for (const TAnimatedPicture& a : m_painter->animated) {
    if (std::find(started.begin(), started.end(), a.picture) != started.end()) continue;
    started.push_back(a.picture);
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    const int picture = a.picture;
    connect(timer.get(), &QTimer::timeout, this, [this, picture] { animationStep(picture); });
    const TPicture* p = m_pictures.picture(picture);
    timer->start(p ? p->frameDelayMs(0) : 100);
    m_animTimers.push_back(std::move(timer));
  }
}

void TXPage::animationStep(int picture) {
  const TPicture* p = m_pictures.picture(picture);
  if (!p || !m_painter || std::size_t(picture) >= m_frames.size()) return;
  int& frame = m_frames[std::size_t(picture)];
  frame = (frame + 1) % int(p->frames.size());
  for (const TAnimatedPicture& a : m_painter->animated) {
    if (a.picture != picture) continue;
    m_painter->redrawAnimated(m_buffer, a);
    update(toView(a.rect));
  }
  for (auto& t : m_animTimers) {
    // The timer that fired is the one not running; start it for the next frame.
    if (!t->isActive()) {
      bool mine = false;
      for (const TAnimatedPicture& a : m_painter->animated) mine = mine || a.picture == picture;
      if (mine) {
        t->start(p->frameDelayMs(std::size_t(frame)));
        break;
      }
    }
  }
}

void TXPage::createWidgets() {
  for (std::size_t i = 0; i < m_model.fields.size(); ++i) {
    const TFieldRecord& f = m_model.fields[i];
    auto* edit = new TPageEdit(this);
    edit->hide();
    edit->setLsg(f.solutions);
    edit->setHilfe(f.help);
    edit->setHint(f.tip);
    edit->setCommand(f.reaction);
    edit->setSpecialChars(m_sonderzeichen);
    edit->setFont(m_fonts.font(m_model.faceName(f.style), f.style));
    edit->setColor(Qt::white);
    m_fields.push_back(edit);
  }
  if (m_model.multiple) {
    const TMultipleRecord& m = *m_model.multiple;
    m_multiple = new TXMultipleChoice(this);
    m_multiple->hide();
    m_multiple->setFont(m_fonts.font(m_model.faceName(m.style), m.style));
    m_multiple->setZeilen(std::max(1, m.rows));
    m_multiple->setSpalten(std::max(1, m.cols));
    m_multiple->setCells(m_layout.multiple.x, m_layout.multiple.y, m.coords.get(2, 120), m.coords.get(3, 40));
    m_multiple->setActiveColor(toQColor(resolveColor(m.active.value_or(m_colors.choiceActive), m_colors)));
    m_multiple->setInActiveColor(toQColor(resolveColor(m.inactive.value_or(m_colors.choiceInactive), m_colors)));
    m_multiple->setItems(m.items);
    if (int(m.items.size()) == std::max(1, m.rows) * std::max(1, m.cols)) m_multiple->Shuffle();
  }
  for (std::size_t i = 0; i < m_model.buttons.size(); ++i) {
    const TButtonRecord& b = m_model.buttons[i];
    auto* button = new tXColorButton(this);
    button->hide();
    button->setCaption(b.caption);
    button->setFont(m_fonts.font(m_model.faceName(b.style), b.style));
    if (b.color) button->setColor(toQColor(resolveColor(*b.color, m_colors)));
    const std::string href = b.href;
    button->OnClick = [this, href, button](tXColorButton*) {
      if (!href.empty()) Follow(href, button->geometry());
    };
    m_buttons.push_back(button);
  }
}

void TXPage::placeWidgets() {
  for (std::size_t i = 0; i < m_fields.size() && i < m_layout.fields.size(); ++i) {
    const TRect& r = m_layout.fields[i];
    if (r.empty()) continue;
    m_fields[i]->setGeometry(toView(r));
    m_fields[i]->show();
  }
  if (m_multiple) {
    m_multiple->setBitmap(&m_bufferView);
    m_multiple->move(m_layout.multiple.x, m_layout.multiple.y - m_scrollY);
    m_multiple->show();
  }
  for (std::size_t i = 0; i < m_buttons.size() && i < m_layout.buttons.size(); ++i) {
    m_buttons[i]->setGeometry(toView(m_layout.buttons[i]));
    m_buttons[i]->show();
  }
}

bool TXPage::ScrollBarShown() const { return m_layout.contentHeight > height(); }

int TXPage::ViewWidth() const { return ScrollBarShown() ? width() - 16 : width(); }

void TXPage::updateScrollBar() {
  const QSignalBlocker block(m_scrollBar);
  if (!ScrollBarShown()) {
    m_scrollBar->hide();
    m_scrollBar->setValue(0);
    m_scrollY = 0;
    return;
  }
  m_scrollBar->setGeometry(width() - 16, 0, 16, height());
  m_scrollBar->setRange(0, std::min(m_layout.contentHeight + 16, kMaxBufferHeight) - height());
  m_scrollBar->setSingleStep(5);
  m_scrollBar->setPageStep(height() - 16);
  m_scrollBar->show();
  m_scrollBar->raise();
}

void TXPage::ScrollTo(int y) {
  if (!ScrollBarShown()) y = 0;
  y = std::clamp(y, 0, std::max(0, m_scrollBar->maximum()));
  if (y == m_scrollY && m_scrollBar->value() == y) return;
  if (m_scrollBar->isVisible() || ScrollBarShown()) m_scrollBar->setValue(y);
  if (m_scrollY != y) {
    m_scrollY = y;
    placeWidgets();
    update();
  }
}

QImage TXPage::VisibleImage() {
  if (m_toastRunning) return m_toastFrame.copy();
  return m_bufferView.copy(0, m_scrollY, ViewWidth(), height());
}

void TXPage::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  if (m_toastRunning && !m_toastFrame.isNull()) {
    p.drawImage(e->rect(), m_toastFrame, e->rect());
    return;
  }
  const QRect target = e->rect() & QRect(0, 0, ViewWidth(), height());
  if (!target.isEmpty()) p.drawImage(target, m_bufferView, target.translated(0, m_scrollY));
}

void TXPage::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  updateScrollBar();
  if (m_buffer.width() != width() || m_buffer.height() < height()) {
    if (m_painter) paintPage();
    else {
      m_buffer.setSize(width(), height());
      m_buffer.FillColor(resolveColor(m_colors.background, m_colors));
      m_bufferView = m_buffer.view();
    }
  }
}

// ---- hover

void TXPage::switchImages(int link, bool highlighted) {
  if (link < 0 || !m_painter) return;
  for (std::size_t i = 0; i < m_layout.areas.size() && i < m_painter->areaImages.size(); ++i) {
    const TLinkArea& a = m_layout.areas[i];
    if (a.link != link || !a.images) continue;
    const TXBitmap& img = highlighted ? m_painter->areaImages[i].highlighted : m_painter->areaImages[i].normal;
    if (img.isEmpty()) continue;
    copyBits(img, 0, 0, img.width(), img.height(), m_buffer, a.rect.x, a.rect.y);
    update(toView(a.rect));
  }
}

void TXPage::setHover(int link) {
  if (link == m_hoverLink) return;
  switchImages(m_hoverLink, false);
  m_hoverLink = link;
  switchImages(link, true);
  hideHint();
  m_hintDelay.stop();
  const std::string hint = hintOf(link);
  if (!hint.empty()) {
    m_pendingHint = hint;
    m_hintDelay.start(hintDelayMs);
  }
  if (OnAnkerChange) {
    const std::string t = targetOf(link);
    const bool quiet = (!t.empty() && t.front() == '@') || startsWithNoCase(t, "EX") || t == "+" || t == "%" ||
                       t == "-";
    if (!quiet || link < 0) OnAnkerChange(this, link < 0 ? std::string() : t);
  }
}

void TXPage::HoverAt(QPoint pos) {
  const QPoint pp = toPage(pos);
  int area = pos.x() < ViewWidth() ? m_layout.areaAt(pp.x(), pp.y()) : -1;
  const int link = area >= 0 ? m_layout.areas[std::size_t(area)].link : -1;
  setHover(link);
  if (link >= 0 && targetOf(link) != "%") {
    setCursor(resourceCursor("hand_xpm", {6, 0}, Qt::PointingHandCursor));
    return;
  }
  for (const TRect& r : m_layout.dragSlots) {
    if (r.contains(pp.x(), pp.y())) {
      setCursor(resourceCursor("drag1_xpm", {8, 8}, Qt::OpenHandCursor));
      return;
    }
  }
  unsetCursor();
}

void TXPage::showHint() {
  if (m_pendingHint.empty() || m_hoverLink < 0) return;
  m_hint->setText(m_pendingHint);
  QPoint p = m_lastMouse + QPoint(12, 16);
  p.setX(std::clamp(p.x(), 0, std::max(0, width() - m_hint->width())));
  p.setY(std::clamp(p.y(), 0, std::max(0, height() - m_hint->height())));
  m_hint->move(p);
  m_hint->show();
  m_hint->raise();
  m_hintClose.start(hintShowMs);
}

void TXPage::hideHint() {
  if (m_hint) m_hint->hide();
  m_hintClose.stop();
}

bool TXPage::HintShown() const { return m_hint && !m_hint->isHidden(); }
std::string TXPage::HintText() const { return m_hint ? zek::fromQString(m_hint->text()) : std::string(); }

// ---- mouse and keys

void TXPage::mouseMoveEvent(QMouseEvent* e) {
  m_lastMouse = e->position().toPoint();
  if (MouseLocked() || m_toastRunning) return;
  HoverAt(m_lastMouse);
}

void TXPage::leaveEvent(QEvent*) {
  if (MouseLocked() || m_toastRunning) return;
  setHover(-1);
}

void TXPage::mousePressEvent(QMouseEvent* e) {
  if (MouseLocked() || m_toastRunning) return;
  const QPoint pos = e->position().toPoint(), pp = toPage(pos);
  if (OnMouseDown) OnMouseDown(this, e->button(), pos);
  const int area = pos.x() < ViewWidth() ? m_layout.areaAt(pp.x(), pp.y()) : -1;
  if (e->button() == Qt::LeftButton) {
    if (area >= 0) {
      const TLinkArea& a = m_layout.areas[std::size_t(area)];
      const TLinkRecord& link = m_model.links[std::size_t(a.link)];
      if (link.kind == TLinkKind::HotSpot) Follow(link.name, toView(a.rect));
      return;
    }
    if (m_label && m_label->isVisible()) {
      m_label->hideNote();
      m_labelText.clear();
    }
    if (m_htmlChild) hide();
  } else if (e->button() == Qt::RightButton) {
    std::string text;
    QRect rect;
    if (WordAt(pp, text, rect)) {
      if (OnRightClick) OnRightClick(this, rect.translated(0, -m_scrollY), text);
    } else if (m_popupMenu) {
      m_popupMenu->popup(e->globalPosition().toPoint());
    }
  }
}

void TXPage::mouseReleaseEvent(QMouseEvent* e) {
  if (MouseLocked() || m_toastRunning || e->button() != Qt::LeftButton) return;
  const QPoint pos = e->position().toPoint(), pp = toPage(pos);
  const int area = pos.x() < ViewWidth() ? m_layout.areaAt(pp.x(), pp.y()) : -1;
  if (OnClick) OnClick(this);
  if (area < 0) return;
  const TLinkArea& a = m_layout.areas[std::size_t(area)];
  if (m_model.links[std::size_t(a.link)].kind != TLinkKind::Target) return;
  Follow(targetOf(a.link), toView(a.rect));
}

void TXPage::mouseDoubleClickEvent(QMouseEvent* e) {
  if (MouseLocked() || m_toastRunning) return;
  if (OnDblClick) OnDblClick(this);
  QWidget::mouseDoubleClickEvent(e);
}

void TXPage::wheelEvent(QWheelEvent* e) {
  if (!ScrollBarShown()) return;
  const int steps = e->angleDelta().y() / 40;
  ScrollTo(m_scrollY - steps * m_scrollBar->singleStep() * 3);
}

void TXPage::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!m_model.returnLink.empty()) {
        const std::string target = m_model.returnLink;
        m_model.returnLink.clear();
        Follow(target, QRect());
      }
      return;
    case Qt::Key_Down: ScrollTo(m_scrollY + m_scrollBar->singleStep()); return;
    case Qt::Key_Up: ScrollTo(m_scrollY - m_scrollBar->singleStep()); return;
    case Qt::Key_PageDown: ScrollTo(m_scrollY + m_scrollBar->pageStep()); return;
    case Qt::Key_PageUp: ScrollTo(m_scrollY - m_scrollBar->pageStep()); return;
    default: QWidget::keyPressEvent(e);
  }
}

bool TXPage::WordAt(QPoint pagePos, std::string& text, QRect& rect) const {
  const int w = m_layout.wordAt(pagePos.x(), pagePos.y());
  if (w < 0) return false;
  text = rightClickText(m_model, m_layout, w);
  const TRect& r = m_layout.words[std::size_t(w)].rect;
  rect = QRect(r.x, r.y, r.w, r.h);
  return !text.empty();
}

// ---- follow

void TXPage::Follow(const std::string& target, const QRect& area) {
  std::string t = target;
  if (t.empty()) return;
  if (t.front() == '?' && t.size() > 1) {
    if (OnRightClick) {
      OnRightClick(this, area, t.substr(1));
      return;
    }
  }
  if (t.front() == '#') {
    const std::string* alias = m_model.linkAlias(t);
    t = alias ? *alias : std::string();
    if (t.empty()) return;
  }
  if (t.front() == kCommandMark) {
    std::string command;
    if (t.size() > 1 && t[1] == '[') {
      const std::size_t close = t.find(']');
      command = t.substr(2, close == std::string::npos ? std::string::npos : close - 2);
      t = close == std::string::npos ? std::string() : t.substr(close + 1);
    } else {
      command = t.substr(1);
      t.clear();
    }
    LockMouse();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
      if (OnCommand) OnCommand(this, command);
    } catch (...) {
      // A failing command leaves the page usable.
    }
    QCoreApplication::processEvents();
    QApplication::restoreOverrideCursor();
    UnlockMouse();
    if (t.empty()) return;
  }
  if (t.front() == '@') {
    const std::string text = t.substr(1);
    const bool same = m_label && m_label->isVisible() && m_labelText == text;
    if (m_label) m_label->hideNote();
    m_labelText.clear();
    if (!same) {
      if (!m_label) m_label = std::make_unique<TXLabel>(this);
      m_label->showAt(area, text, size());
      m_label->raise();
      m_labelText = text;
      setFocus();
    }
    return;
  }
  if (t == "END") {
    QCoreApplication::quit();
    return;
  }
  const std::string ext = zek::extensionLower(t.substr(0, t.find(' ')));
  if (ext == ".htx" || ext == ".hzek" || ext == ".html" || ext == ".zek") setXFile(t);
}

// ---- toast

void TXPage::ShowToast(const std::string& text, int ms) {
  if (m_toastRunning) return;
  m_toastRunning = true;
  hideHint();
  const QImage base = m_bufferView.copy(0, m_scrollY, width(), height()).convertToFormat(QImage::Format_RGB32);
  QFont font = TQtTextMetrics::pointFont("Times New Roman", 48, false, true);
  const QString message = zek::toQString(text);
  const QFontMetrics fm(font);
  const QRect box(QPoint(80, 50), QPoint(width() - 80, height() - 50));
  QPoint pos((width() - fm.horizontalAdvance(message)) / 2, height() / 2 + (fm.ascent() - fm.descent()) / 2);
  std::minstd_rand random(std::random_device{}() | 1u);
  const auto rnd = [&](int n) { return n > 0 ? int(random() % std::uint32_t(n)) : 0; };
  QElapsedTimer clock;
  clock.start();
  do {
    m_toastFrame = base;
    QPainter p(&m_toastFrame);
    p.fillRect(box, Qt::black);
    const int specks = 4 + rnd(4);
    for (int i = 0; i < specks; ++i) {
      const QColor c = rnd(2) ? QColor(192, 192, 192) : QColor(128, 128, 128);
      const QPoint at(box.left() + rnd(box.width()), box.top() + rnd(box.height()));
      if (rnd(2)) {
        p.fillRect(QRect(at, QSize(1 + rnd(6), 1 + rnd(8))), c);
      } else {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QRect(at, QSize(1 + rnd(10), 1 + rnd(10))));
      }
    }
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pos, message);
    p.end();
    pos += QPoint(rnd(5) - 2, rnd(5) - 2);
    repaint();
    QCoreApplication::processEvents();
    QThread::msleep(30);
  } while (clock.elapsed() < ms);
  m_toastRunning = false;
  m_toastFrame = QImage();
  update();
}
