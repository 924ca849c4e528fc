// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/txpage.h"

#include "media/mediacommand.h"
#include "memory/tlernspeicher.h"
#include "page/htxscanner.h"
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
#include <QPointer>
#include <QScrollBar>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <climits>
#include <random>

namespace {

std::function<void()>& soundCloser() {
  static std::function<void()> closer = [] { sendPageMediaCommand("close welle", true); };
  return closer;
}

std::function<void(std::string&)>& textFilter() {
  static std::function<void(std::string&)> filter;
  return filter;
}

std::function<void()>& terminator() {
  static std::function<void()> terminate = [] { QCoreApplication::exit(0); };
  return terminate;
}

// Answer reactions travel as this posted message, so they run after the widget's own event.
const QEvent::Type kReactionEvent = QEvent::Type(QEvent::User + 1066);

constexpr std::size_t kShownExercises = 20;
constexpr const char* kNoExercises = "0 Aufgaben stehen zur Verf\xFCgung!";

// The extension of a link target, as written (targets compare it exactly).
std::string extensionOf(std::string_view target) {
  const std::size_t slash = target.find_last_of("/\\");
  const std::size_t dot = target.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(target.substr(dot));
}

bool isPageExtension(std::string_view ext) {
  return ext == ".htx" || ext == ".hzek" || ext == ".html" || ext == ".zek";
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
constexpr int kMaxBufferHeight = kMaxPagePictureHeight;
// A longer page is shown from its picture at scale 1 on a high-density screen.
constexpr std::int64_t kMaxSharpBytes = std::int64_t(128) << 20;

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

// What the page shows while a toast runs: on top of the page's widgets, and while it is
// shown no input reaches the page or any of its widgets.
class TToastView : public QWidget {
 public:
  TToastView(QWidget* page, const QImage& frame) : QWidget(page), m_page(page), m_frame(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(page->rect());
    show();
    raise();
    qApp->installEventFilter(this);
  }
  ~TToastView() override { qApp->removeEventFilter(this); }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.setClipRect(e->rect());
    p.drawImage(QPoint(0, 0), m_frame);  // the frame may be a grab at the screen's pixel ratio
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::ContextMenu: {
        auto* w = qobject_cast<QWidget*>(watched);
        return w && (w == m_page || m_page->isAncestorOf(w));
      }
      default: return false;
    }
  }

 private:
  QWidget* m_page;
  const QImage& m_frame;
};

class TXPage::THost : public THtxHost {
 public:
  explicit THost(TXPage& page) : m_p(page) {}
  int addPicture(const std::string& name) override { return m_p.m_pictures.add(name, m_p.m_xpath); }
  std::string xpath() const override { return m_p.m_xpath; }
  // Generated markup is no file: none of its targets is the page on show.
  std::string pageOnShow() const override { return m_p.m_readingGenerated ? std::string() : m_p.m_xfile; }
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
  connect(&m_dragAnim, &QTimer::timeout, this, [this] { dragAnimationTick(); });
  connect(&m_hintClose, &QTimer::timeout, this, [this] { hideHint(); });
  connect(&m_waitTimer, &QTimer::timeout, this, [this] {
    const std::string target = m_model.waitTarget;
    if (m_autoJump) Follow(target, QRect());
  });
  connect(&m_mosaicTimer, &QTimer::timeout, this, [this] {
    if (!m_mosaic) return;
    try {
      const TRect r = m_mosaic->step(m_buffer);
      if (m_sharpScale > 0) enlargeInto(m_buffer, r, m_sharp, r.x * m_sharpScale, r.y * m_sharpScale, m_sharpScale);
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
void TXPage::setTerminator(std::function<void()> terminate) { terminator() = std::move(terminate); }
void TXPage::setTextFilter(std::function<void(std::string&)> filter) { textFilter() = std::move(filter); }

void TXPage::setColorBGR(TColor color) {
  m_colors.background = color;
  m_model.colors.background = color;
  m_buffer.FillColor(resolveColor(color, m_colors));
  if (m_sharpScale > 0) m_sharp.FillColor(resolveColor(color, m_colors));
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
  m_focusLink = -1;
  m_fieldDone.clear();
  m_resultCounted = false;
  m_exercisePage = false;
  m_choiceAnswered = false;
  resetDrag();
  ++m_generation;
  if (soundCloser()) soundCloser()();
}

bool TXPage::readAndShow(std::string_view text, const std::function<void()>& beforeRead) {
  const std::string oldTitle = m_model.title;
  Clear();
  if (beforeRead) beforeRead();
  m_reader = std::make_unique<THtxReader>(m_model, *m_host, std::random_device{}() | 1u);
  m_reader->read(text);
  const bool fits = !m_reader->overBudget();
  if (!fits) {
    // Refused whole: laying out what was read would take more memory than any page may.
    m_model.clear();
    const std::string name = m_readingGenerated ? std::string() : zek::fileNamePart(m_xfile);
    showMessage(pageFileErrorText(TPageFileStatus::TooLarge, name.empty() ? "(erzeugt)" : name), mb::IconStop);
  }
  layoutAndPaint();
  ScrollTo(0);
  if (OnTitleChange && m_model.title != oldTitle) OnTitleChange(this);
  return fits;
}

void TXPage::ShowHTML(const std::string& markup) {
  LockMouse();
  m_readingGenerated = true;
  readAndShow(markup);
  m_readingGenerated = false;
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
  m_readingGenerated = true;
  readAndShow(stream->data());
  m_readingGenerated = false;
  QCoreApplication::processEvents();
  UnlockMouse();
}

void TXPage::setXFile(const std::string& name) { loadPage(name); }

bool TXPage::loadPage(const std::string& name) {
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
    update();
    // The host follows the page on show through this event; now there is none.
    if (OnFileChange) OnFileChange(this);
    return true;
  }
  std::string path = name;
  if (name.front() != '$') {
    path = resolveTargetPath(name, m_xpath);
    if (!zek::isAbsoluteName(path)) path = Dirs().ProgramDir + path;
    if (!zek::fileExists(path)) {
      showMessageTitled("Die Datei \"" + name + "\" wurde nicht gefunden!", "*zek", mb::IconStop);
      return false;
    }
  }
  TPageFile file = readPageFile(zek::resolveName(path));
  if (!file.ok()) {
    showMessage(pageFileErrorText(file.status, name), mb::IconStop);
    return false;
  }
  if (zek::extensionLower(path) == ".zek") {
    TExerciseFile exercises = readExerciseFileOrReport(file.text);
    if (!exercises.ok) return false;
    if (exercises.exercises.empty()) {
      // Said before anything changes: the page on show, its file and the history stay.
      showMessage(kNoExercises, mb::IconStop);
      return false;
    }
    m_exercises = std::move(exercises.exercises);
    m_exPrefix = std::move(exercises.prefix);
    m_exSuffix = std::move(exercises.suffix);
    if (m_exCounter == -1) m_exCounter = exercises.count;
    m_xpath = zek::withTrailingSeparator(zek::directoryPart(path));
    m_xfile = path;
    NextExercise();
  } else {
    const std::string before = m_xfile;
    m_xpath = zek::withTrailingSeparator(zek::directoryPart(path));
    m_xfile = path;
    if (textFilter()) textFilter()(file.text);
    // The page's exercises are a round of their own for the learning memory.
    lernspeicher().rundeBeginnen(TLernArt::Seite);
    if (!readAndShow(file.text)) {
      // The page on show before comes back, so the learner is never left without a link.
      if (!before.empty() && !samePagePath(before, path)) {
        loadPage(before);
      } else {
        m_xfile.clear();
      }
      return false;
    }
  }
  if (OnFileChange) OnFileChange(this);
  ScrollTo(0);
  update();
  unsetCursor();
  if (OnBadLink) OnBadLink(this, firstBadLink());
  if (m_lastMouse.x() >= 0) HoverAt(m_lastMouse);
  QCoreApplication::processEvents();
  return true;
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
  buildExerciseLists();
  updateScrollBar();
  paintPage();
  placeWidgets();
  for (TPageEdit* f : m_fields) {
    if (!f->isHidden()) {
      f->setFocus();
      break;
    }
  }
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
  paintSharp();
  for (std::size_t i = 0; i < m_fieldDone.size(); ++i)
    if (m_fieldDone[i] && m_fields[i]->Command().empty()) {
      showFieldPicture(i);
      markField(i);
    }
  drawExercises();
  m_bufferView = m_buffer.view();
  if (m_hoverLink >= 0) switchImages(m_hoverLink, true);
  update();
}

void TXPage::paintSharp() {
  m_sharpScale = 0;
  m_sharp = TXBitmap();
  m_sharpView = QImage();
  const int s = int(std::ceil(devicePixelRatioF() - 0.01));
  // Drag exercises draw into the picture at scale 1 as the learner works.
  if (s < 2 || !m_painter || !m_model.dragSlots.empty() || !m_model.sentences.empty()) return;
  if (std::int64_t(m_buffer.width()) * m_buffer.height() * s * s * 3 > kMaxSharpBytes) return;
  m_sharp.setSize(m_buffer.width() * s, m_buffer.height() * s);
  m_painter->paint(m_sharp, s);
  m_sharpView = m_sharp.view();
  m_sharpScale = s;
}

void TXPage::dropSharp() {
  if (m_sharpScale == 0) return;
  m_sharpScale = 0;
  m_sharp = TXBitmap();
  m_sharpView = QImage();
  update();
}

void TXPage::startAnimations() {
  if (!m_painter) return;
  m_frames.assign(std::size_t(std::max(0, m_pictures.size())), 0);
  std::vector<int> started;
  for (const TAnimatedPicture& a : m_painter->images.animated) {
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
  for (const TAnimatedPicture& a : m_painter->images.animated) {
    if (a.picture != picture) continue;
    m_painter->redrawAnimated(m_buffer, a);
    update(toView(a.rect));
  }
  if (m_sharpScale > 0)
    for (const TAnimatedPicture& a : m_painter->sharpImages.animated)
      if (a.picture == picture) m_painter->redrawAnimated(m_sharp, a, m_sharpScale);
  for (auto& t : m_animTimers) {
    // The timer that fired is the one not running; start it for the next frame.
    if (!t->isActive()) {
      bool mine = false;
      for (const TAnimatedPicture& a : m_painter->images.animated) mine = mine || a.picture == picture;
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
    edit->setTolerant(f.tolerant);
    edit->setSpecialChars(m_sonderzeichen);
    edit->setFont(m_fonts.font(m_model.faceName(f.style), f.style));
    edit->setColor(Qt::white);
    wireField(edit, i, f.inFlow);
    m_fields.push_back(edit);
  }
  m_fieldDone.assign(m_fields.size(), 0);
  if (m_model.multiple) {
    const TMultipleRecord& m = *m_model.multiple;
    m_multiple = new TXMultipleChoice(this);
    m_multiple->hide();
    m_multiple->setFont(m_fonts.font(m_model.faceName(m.style), m.style));
    m_multiple->setZeilen(std::max(1, m.rows));
    m_multiple->setSpalten(std::max(1, m.cols));
    m_multiple->setCells(m_layout.multiple.x, m_layout.multiple.y, m.coords.get(2, 120), m.coords.get(3, 40));
    m_multiple->setKeyNumbers(true);  // keys 1 to 6 choose (txpagekeys.cpp)
    // The right-answer marker takes the page's MCHAN colour; COLOR on the tag only sets the texts.
    m_multiple->setHighlightColor(toQColor(resolveColor(m_colors.choiceActive, m_colors)));
    m_multiple->setActiveColor(toQColor(resolveColor(m.active.value_or(m_colors.choiceActive), m_colors)));
    m_multiple->setInActiveColor(toQColor(resolveColor(m.inactive.value_or(m_colors.choiceInactive), m_colors)));
    m_multiple->setItems(m.items);
    // Every grid: a wrong count of texts gets Shuffle's message (the grid counts raised rows).
    m_multiple->Shuffle();
    wireChoice();
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
      if (!href.empty()) deferFollow(href, button->geometry());
    };
    m_buttons.push_back(button);
  }
}

void TXPage::placeWidgets() {
  for (std::size_t i = 0; i < m_fields.size() && i < m_layout.fields.size(); ++i) {
    const TRect& r = m_layout.fields[i];
    if (r.empty()) continue;
    m_fields[i]->setGeometry(toView(r));
    if (i < m_fieldDone.size() && m_fieldDone[i]) continue;  // done fields stay hidden
    m_fields[i]->show();
  }
  if (m_multiple) {
    m_multiple->setBitmap(&m_bufferView, QPoint(0, -m_scrollY));
    m_multiple->move(m_layout.multiple.x, m_layout.multiple.y - m_scrollY);
    if (!m_choiceAnswered) m_multiple->show();
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
    p.setClipRect(e->rect());
    p.drawImage(QPoint(0, 0), m_toastFrame);  // a grab at the screen's pixel ratio
    return;
  }
  const QRect target = e->rect() & QRect(0, 0, ViewWidth(), height());
  if (!target.isEmpty()) {
    const QRect source = target.translated(0, m_scrollY);
    if (m_sharpScale > 0) {
      const int s = m_sharpScale;
      // At a ratio that is no whole number the picture is a little larger than the screen needs.
      if (devicePixelRatioF() != s) p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRectF(target), m_sharpView,
                  QRectF(source.x() * s, source.y() * s, source.width() * s, source.height() * s));
    } else {
      p.drawImage(target, m_bufferView, source);
    }
  }
  paintFocusFrame(p);
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
      dropSharp();
    }
  }
}

// ---- hover

void TXPage::switchImages(int link, bool highlighted) {
  if (link < 0 || !m_painter) return;
  const auto& areaImages = m_painter->images.areaImages;
  const auto& sharpImages = m_painter->sharpImages.areaImages;
  for (std::size_t i = 0; i < m_layout.areas.size() && i < areaImages.size(); ++i) {
    const TLinkArea& a = m_layout.areas[i];
    if (a.link != link || !a.images) continue;
    const TXBitmap& img = highlighted ? areaImages[i].highlighted : areaImages[i].normal;
    if (img.isEmpty()) continue;
    copyBits(img, 0, 0, img.width(), img.height(), m_buffer, a.rect.x, a.rect.y);
    if (m_sharpScale > 0 && i < sharpImages.size()) {
      const TXBitmap& sharp = highlighted ? sharpImages[i].highlighted : sharpImages[i].normal;
      copyBits(sharp, 0, 0, sharp.width(), sharp.height(), m_sharp, a.rect.x * m_sharpScale, a.rect.y * m_sharpScale);
    }
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
  if (!dragTextAt(pp).empty()) {
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
  if (dragMove(m_lastMouse)) return;
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
  if (e->button() == Qt::LeftButton && dragPress(pos)) return;
  const int area = pos.x() < ViewWidth() ? m_layout.areaAt(pp.x(), pp.y()) : -1;
  if (e->button() == Qt::LeftButton) {
    if (area >= 0) {
      const TLinkArea& a = m_layout.areas[std::size_t(area)];
      const TLinkRecord& link = m_model.links[std::size_t(a.link)];
      if (link.kind == TLinkKind::HotSpot) Follow(link.name, toView(a.rect));
      return;
    }
    hideNote();
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
  // A drag ends wherever it is released; no link follows it.
  if (e->button() == Qt::LeftButton && dragRelease(e->position().toPoint())) return;
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
  if (e->key() >= Qt::Key_1 && e->key() <= Qt::Key_9 && ChooseByKey(e->key() - Qt::Key_0)) return;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (m_focusLink >= 0) {
        // The link Tab went to; a page it loads clears the focus.
        const int link = m_focusLink;
        QRect area;
        for (const TLinkArea& a : m_layout.areas)
          if (a.link == link) {
            area = toView(a.rect);
            break;
          }
        Follow(targetOf(link), area);
        return;
      }
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

void TXPage::runCommand(const std::string& command) {
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
}

void TXPage::Follow(const std::string& target, const QRect& area) {
  std::string t = target;
  if (t.empty()) return;
  if (t.front() == '?' && t.size() > 1) {
    if (m_htmlChild) {
      for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* parentPage = qobject_cast<TXPage*>(w)) {
          if (parentPage->OnRightClick) {
            parentPage->OnRightClick(parentPage, area, t.substr(1));
            return;
          }
          break;
        }
      }
    } else if (OnRightClick) {
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
    runCommand(command);
    if (t.empty()) return;
  }
  if (t.front() == '@') {
    const std::string text = t.substr(1);
    const bool same = m_label && !m_label->isHidden() && m_labelText == text;
    hideNote();
    if (!same) {
      if (!m_label) m_label = std::make_unique<TXLabel>(this);
      m_label->showAt(area, text, size());
      m_label->raise();
      m_labelText = text;
      setFocus();
    }
    return;
  }
  if (zek::equalsNoCase(t, "EX")) {
    NextExercise();
    ScrollTo(0);
    update();
    return;
  }
  if (t == "END") {
    if (terminator()) terminator()();
    return;
  }
  if (t == "-") {
    if (m_history.empty()) {
      loadPage({});
      return;
    }
    const std::string previous = m_history.back();
    m_history.pop_back();
    loadPage(previous);
    return;
  }
  if (t == "+" && !m_continueTarget.empty()) {
    loadPage(m_continueTarget);
    return;
  }
  if (startsWithNoCase(t, "EX")) {
    followExerciseLink(t);
    return;
  }
  const std::string ext = extensionOf(t);
  if (isPageExtension(ext)) {
    m_history.push_back(m_xfile);
    // A page that could not be shown leaves no trace in the history.
    if (!loadPage(t)) m_history.pop_back();
  } else if (ext == ".wav") {
    playSound(t);
  }
}

void TXPage::playSound(const std::string& target) {
  std::string path = resolveTargetPath(target, m_xpath);
  if (path.empty()) return;
  if (!zek::isAbsoluteName(path)) path = Dirs().ProgramDir + path;
  if (!zek::fileExists(path)) return;  // a missing sound is silence
  sendPageMediaCommand("close welle", true);
  const std::string reply = sendPageMediaCommand("open \"" + path + "\" alias welle", false);
  if (reply.rfind("Error", 0) == 0) return;
  sendPageMediaCommand("play welle", false);
}

void TXPage::followExerciseLink(const std::string& target) {
  if (findNoCase(target, "EX ") == std::string::npos) {
    showMessage("EX nicht gefunden", mb::IconStop);
    return;
  }
  // A link that fails leaves the exercise state of the page on show as it was.
  const int oldCounter = m_exCounter;
  const std::string oldContinue = m_continueTarget;
  const std::vector<int> oldShown = m_shownExercises;
  const auto restore = [&] {
    m_exCounter = oldCounter;
    m_continueTarget = oldContinue;
    m_shownExercises = oldShown;
  };
  THtxScanner sc(target);
  m_exCounter = sc.seek("PICK") ? sc.readInt(INT_MIN, INT_MAX, -1) : -1;
  sc.setPosition(0);
  std::string name;
  if (sc.seek("FILE")) name = std::string(sc.readUpTo(' '));
  if (name.empty()) {
    restore();
    showMessage("FILE= nicht gefunden", mb::IconStop);
    return;
  }
  sc.setPosition(0);
  std::string next = sc.seek("WEITER") ? std::string(sc.readValue()) : std::string("#weiter");
  if (!next.empty() && next.front() == '#') {
    const std::string* alias = m_model.linkAlias(next);
    next = alias ? *alias : std::string();
  }
  m_continueTarget = next;
  m_history.push_back(m_xfile);
  if (zek::extensionLower(name) == ".zek") m_shownExercises.clear();
  // A new round of exercises counts from nothing.
  m_roundRight = m_roundTotal = 0;
  lernspeicher().rundeBeginnen(TLernArt::Seite);
  if (!loadPage(name)) {
    m_history.pop_back();
    restore();
  }
}

void TXPage::NextExercise() {
  --m_exCounter;
  if (m_exercises.empty()) {
    showMessage(kNoExercises, mb::IconStop);
    return;
  }
  const int n = int(std::min<std::size_t>(m_exercises.size(), INT_MAX));
  // When every exercise is among the last shown, none could be drawn: start the list again.
  bool allShown = true;
  for (int i = 0; i < n && allShown; ++i)
    allShown = std::find(m_shownExercises.begin(), m_shownExercises.end(), i) != m_shownExercises.end();
  if (allShown) m_shownExercises.clear();
  // ZEK_SEED makes scripted runs draw the same exercises.
  static std::minstd_rand fallback([] {
    const char* seed = std::getenv("ZEK_SEED");
    return (seed && *seed ? unsigned(std::strtoul(seed, nullptr, 10)) : unsigned(std::random_device{}())) | 1u;
  }());
  int index = 0;
  do {
    index = exerciseRandom ? exerciseRandom(n) : int(fallback() % std::uint32_t(n));
    index = std::clamp(index, 0, n - 1);
  } while (std::find(m_shownExercises.begin(), m_shownExercises.end(), index) != m_shownExercises.end());
  m_shownExercises.push_back(index);
  if (m_shownExercises.size() > kShownExercises) m_shownExercises.erase(m_shownExercises.begin());
  const std::string markup = m_exPrefix + m_exercises[std::size_t(index)] + m_exSuffix;
  const int counter = m_exCounter;
  m_exerciseMode = true;
  readAndShow(markup, [this, counter] { m_model.setLinkAlias("#next", counter >= 1 ? "ex" : ""); });
  m_exerciseMode = false;
  m_exercisePage = true;
}

// ---- answer reactions

namespace {

// An exercise of a content page (one without a trainer behind it) for the learning memory:
// the page file and the exercise's solution.
void merkeUebung(const std::string& seite, const std::string& loesung, bool richtig, int versuche,
                 const std::string& gegeben) {
  if (seite.empty() || loesung.empty()) return;
  TLernAntwort a;
  a.art = TLernArt::Seite;
  a.sammlung = seite;
  a.frage = loesung;
  a.richtig = richtig;
  a.versuche = std::max(versuche, 1);
  a.gegeben = gegeben;
  lernspeicher().antwort(a);
}

std::string ersteLoesung(const tXColorEdit& f) { return f.Lsg().empty() ? std::string() : f.Lsg().front(); }

}  // namespace

void TXPage::postReaction(TReaction reaction) {
  reaction.generation = m_generation;
  m_reactions.push_back(std::move(reaction));
  QCoreApplication::postEvent(this, new QEvent(kReactionEvent));
}

void TXPage::PostFieldAnswer(const std::string& command, int attempts, bool right) {
  if (command.empty()) {
    // A field that ends wrong closes the exercise too: otherwise a page whose last field
    // failed would never show its result nor its round's tally.
    postReaction({TReaction::CheckDone, {}});
    return;
  }
  if (!extensionOf(command).empty()) postReaction({TReaction::LoadPage, command});
  else postReaction({TReaction::Command, right ? command + "#" + std::to_string(attempts) + "+" : command + "-"});
}

void TXPage::PostChoiceAnswer(int chosen) {
  if (!m_multiple || !m_model.multiple) return;
  const bool right = chosen == m_multiple->Lsg();
  m_multiple->hide();
  m_choiceAnswered = true;
  const std::string& reaction = m_model.multiple->reaction;
  if (reaction.empty()) {
    merkeUebung(m_xfile, m_multiple->cellText(m_multiple->Lsg()), right, 1, m_multiple->cellText(chosen));
    postReaction({TReaction::ChoiceToast, {}, right});
  }
  else if (right) postReaction({TReaction::Command, reaction + "+"});
  else postReaction({TReaction::Command, reaction + "[" + m_multiple->cellText(chosen) + "]-"});
}

bool TXPage::eventFilter(QObject* watched, QEvent* e) {
  // Typing into a field scrolled out of sight brings it into view.
  if (e->type() == QEvent::KeyPress) {
    for (std::size_t i = 0; i < m_fields.size() && i < m_layout.fields.size(); ++i) {
      if (m_fields[i] != watched) continue;
      const TRect& r = m_layout.fields[i];
      if (r.y < m_scrollY || r.bottom() > m_scrollY + height()) ScrollTo(r.y - (height() - r.h) / 2);
      break;
    }
  }
  return QWidget::eventFilter(watched, e);
}

bool TXPage::event(QEvent* e) {
  if (e->type() == kReactionEvent) {
    deliverReaction();
    return true;
  }
  return QWidget::event(e);
}

void TXPage::deliverReaction() {
  if (m_reactions.empty()) return;
  const TReaction r = m_reactions.front();
  m_reactions.erase(m_reactions.begin());
  const bool samePage = r.generation == m_generation;
  switch (r.kind) {
    case TReaction::LoadPage: loadPage(r.text); break;
    case TReaction::Command: runCommand(r.text); break;
    case TReaction::CheckDone:
      if (samePage && ExerciseDone()) {
        // A page on its own, or the last exercise of a round, ends the round.
        const bool roundEnd = !m_exercisePage || m_exCounter <= 0;
        ShowToast(exerciseResult(), doneToastMs);
        if (roundEnd && r.generation == m_generation) showRoundSummary();
      }
      break;
    case TReaction::ChoiceToast:
      if (!samePage || !m_multiple) break;
      ShowToast(r.right ? "Unglaublich!" : "Oh nein!!!", 1500);
      if (r.generation != m_generation || !m_multiple) break;  // the page changed meanwhile
      m_multiple->setHighlight(m_multiple->Lsg());
      m_choiceAnswered = false;
      m_multiple->show();
      break;
  }
}

bool TXPage::ExerciseDone() const {
  for (std::size_t i = 0; i < m_fields.size(); ++i)
    if (i >= m_fieldDone.size() || !m_fieldDone[i]) return false;
  return dragExercisesDone();
}

const TXBitmap* TXPage::FieldPicture(std::size_t field) const {
  if (!m_painter) return nullptr;
  const std::vector<TXBitmap>& fieldImages = m_painter->images.fieldImages;
  if (field >= fieldImages.size() || fieldImages[field].isEmpty()) return nullptr;
  return &fieldImages[field];
}

void TXPage::showFieldPicture(std::size_t index) {
  const TXBitmap* picture = FieldPicture(index);
  if (!picture || index >= m_layout.fields.size()) return;
  const TRect& r = m_layout.fields[index];
  copyBits(*picture, 0, 0, picture->width(), picture->height(), m_buffer, r.x, r.y);
  const auto& sharpImages = m_painter->sharpImages.fieldImages;
  if (m_sharpScale > 0 && index < sharpImages.size()) {
    const TXBitmap& sharp = sharpImages[index];
    copyBits(sharp, 0, 0, sharp.width(), sharp.height(), m_sharp, r.x * m_sharpScale, r.y * m_sharpScale);
  }
  update(toView(r));
}

void TXPage::markField(std::size_t index) {
  if (index >= m_fieldDone.size() || !m_fieldDone[index] || index >= m_layout.fields.size()) return;
  const TRect& r = m_layout.fields[index];
  if (r.empty()) return;
  // A solved gap gets a green line under it; a failed one, whose solution is shown all the
  // same, a red frame, so the two never look alike.
  const auto mark = [&](TXBitmap& picture, int scale) {
    QImage view = picture.view();
    QPainter p(&view);
    p.scale(scale, scale);
    if (m_fieldDone[index] == kFieldRight) {
      p.fillRect(QRect(r.x, r.bottom(), r.w, 2), QColor(0x3C, 0xC0, 0x3C));
    } else {
      const QColor red(0xE0, 0x20, 0x20);
      p.fillRect(QRect(r.x - 2, r.y - 2, r.w + 4, 2), red);
      p.fillRect(QRect(r.x - 2, r.bottom(), r.w + 4, 2), red);
      p.fillRect(QRect(r.x - 2, r.y, 2, r.h), red);
      p.fillRect(QRect(r.right(), r.y, 2, r.h), red);
    }
  };
  mark(m_buffer, 1);
  if (m_sharpScale > 0) mark(m_sharp, m_sharpScale);
  update(toView(r).adjusted(-3, -3, 3, 4));
}

std::string TXPage::exerciseResult() {
  int right = 0;
  for (const char done : m_fieldDone) right += done == kFieldRight;
  const int total = int(m_fieldDone.size());
  if (!m_resultCounted) {
    m_resultCounted = true;
    m_roundRight += right;
    m_roundTotal += total;
  }
  // The last exercise of a round sums the round up; a page on its own says how it went.
  if (m_exercisePage && m_exCounter <= 0 && m_roundTotal > 0)
    return "Runde: " + std::to_string(m_roundRight) + " von " + std::to_string(m_roundTotal) + " richtig";
  if (right == total) return "Unglaublich!";
  return std::to_string(right) + " von " + std::to_string(total) + " richtig";
}

void TXPage::fieldFinished(std::size_t index, bool right) {
  if (index >= m_fieldDone.size() || m_fieldDone[index]) return;
  m_fieldDone[index] = right ? kFieldRight : kFieldWrong;
  if (m_fields[index]->Command().empty()) markField(index);
  // The learner goes on in the next open field.
  for (std::size_t k = 1; k <= m_fields.size(); ++k) {
    const std::size_t j = (index + k) % m_fields.size();
    if (!m_fieldDone[j] && !m_fields[j]->isHidden()) {
      m_fields[j]->setFocus();
      break;
    }
  }
}

void TXPage::showRoundSummary() {
  const std::optional<TRundenBilanz> summary = lernspeicher().rundeAbschliessen(TLernArt::Seite);
  if (!summary || summary->leer()) return;
  // As a note in the top right corner: it goes with the next click, like any other.
  hideNote();
  if (!m_label) m_label = std::make_unique<TXLabel>(this);
  m_labelText = rundenBilanzText(*summary, "\r\n", m_exercisePage ? "Diese Runde" : "Diese Seite");
  m_label->showAt(QRect(width() - 260, 0, 1, 1), m_labelText, size());
  m_label->setObjectName("Lernspeicher");
  m_label->raise();
}

void TXPage::hideNote() {
  if (m_label) m_label->hideNote();
  m_labelText.clear();
}

void TXPage::wireField(TPageEdit* edit, std::size_t index, bool inFlow) {
  edit->OnRichtig = [this, index](tXColorEdit* f) {
    if (f->Command().empty()) merkeUebung(m_xfile, ersteLoesung(*f), true, f->Attempts(), f->Text());
    fieldFinished(index, true);
    PostFieldAnswer(f->Command(), f->Attempts(), true);
  };
  edit->OnFalsch = [this, index](tXColorEdit* f) {
    if (f->Command().empty()) merkeUebung(m_xfile, ersteLoesung(*f), false, f->Attempts(), f->Text());
    fieldFinished(index, false);
    PostFieldAnswer(f->Command(), f->Attempts(), false);
  };
  edit->installEventFilter(this);
  if (!inFlow) return;
  edit->OnReturn = [this, index](tXColorEdit* f) {
    if (f->Command().empty() && f->isHidden()) showFieldPicture(index);
  };
  edit->OnMouseDown = [this](tXColorEdit*) { hideNote(); };
}

void TXPage::wireChoice() {
  m_multiple->OnSelect = [this](TXMultipleChoice* grid, int entry, Qt::MouseButton button) {
    if (button != Qt::LeftButton || grid->Highlight() != -1 || entry < 0) return;
    PostChoiceAnswer(entry);
  };
}

void TXPage::deferFollow(const std::string& target, const QRect& area) {
  // Following may rebuild the page and free the widget that asked for it.
  QMetaObject::invokeMethod(this, [this, target, area] { Follow(target, area); }, Qt::QueuedConnection);
}

// ---- toast

void TXPage::ShowToast(const std::string& text, int ms) {
  if (m_toastRunning) return;
  m_lastToast = text;
  hideHint();
  // The page as the learner sees it, widgets included; the toast goes over all of it.
  const QImage base = grab().toImage().convertToFormat(QImage::Format_RGB32);
  m_toastFrame = base;
  m_toastRunning = true;
  // Pumping messages may close the window and the page with it.
  const QPointer<TXPage> self(this);
  const QPointer<TToastView> view = new TToastView(this, m_toastFrame);
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
    view->repaint();
    QCoreApplication::processEvents();
    if (!self) return;
    if (!view) break;
    QThread::msleep(30);
  } while (clock.elapsed() < ms);
  delete view.data();
  m_toastRunning = false;
  m_toastFrame = QImage();
  update();
}
