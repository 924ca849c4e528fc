// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tpagestyles.h"

#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/messages.h"
#include "super/tseventies.h"
#include "super/tsuperalternation.h"
#include "super/tsuperoptions.h"
#include "super/ttechnostyle.h"

#include <QPainter>
#include <QPaintEvent>
#include <QWidget>

namespace {

class TPageTechnoHost final : public TTechnoHost {
 public:
  explicit TPageTechnoHost(TXPage& page) : m_page(page) {}
  QImage canvas() override { return m_page.Buffer().view(); }
  void showRect(const QRect& r) override { m_page.repaint(r.translated(0, -m_page.ScrollY())); }
  void showMarkup(const std::string& markup) override {
    m_page.ShowHTML(markup);
    m_page.repaint();
  }

 private:
  TXPage& m_page;
};

class TTechnoRun final : public TLongRun {
 public:
  TTechnoRun(const TPageRunEnv& env)
      : m_texts(env.bibliothek, env.options),
        m_host(env.page),
        m_style(TTechnoSettings::from(env.options), m_texts, m_host, env.pump, &env.options) {}
  void run() override { m_style.run(); }
  void stop() override { m_style.stop(); }

 private:
  TSuperAlternation m_texts;
  TPageTechnoHost m_host;
  TTechnoStyle m_style;
};

// The letters go on a picture over the page, so that the page's own stays to restore from.
class TOverlayView final : public QWidget {
 public:
  explicit TOverlayView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  QImage frame;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.drawImage(e->rect(), frame, e->rect());
  }
};

class TPageSeventiesHost final : public TSeventiesHost {
 public:
  explicit TPageSeventiesHost(TXPage& page) : m_page(page), m_view(new TOverlayView(&page)) {
    m_view->setGeometry(0, 0, page.ViewWidth(), page.height());
    m_view->show();
  }
  ~TPageSeventiesHost() override { delete m_view; }
  void loadPage(const std::string& file) override {
    m_page.setXFile(file);
    m_view->raise();
  }
  std::string pageDir() const override { return m_page.XPath(); }
  void setPageDir(const std::string& dir) override { m_page.setXPath(dir); }
  QImage& overlay() override { return m_view->frame; }
  void restoreScreen() override { m_view->frame = m_page.VisibleImage().convertToFormat(QImage::Format_RGB32); }
  void showRect(const QRect& r) override { m_view->repaint(r); }
  QRect textArea() const override { return QRect(40, 40, m_page.ViewWidth() - 80, m_page.height() - 120); }
  QFont pageFont() const override {
    const TTextStyle* s = lastTextStyle();
    return s ? m_page.Fonts().font(m_page.Model().faceName(*s), *s) : QFont("Arial", 28);
  }
  QColor pageColor() const override {
    const TTextStyle* s = lastTextStyle();
    const std::uint32_t c = s ? std::uint32_t(s->color) : 0xFFFFFFu;
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
  }

 private:
  // The style the page's text was last drawn in (links left out: the stop link is last).
  const TTextStyle* lastTextStyle() const {
    const TPageModel& m = m_page.Model();
    for (auto it = m.items.rbegin(); it != m.items.rend(); ++it)
      if (it->kind == TItemKind::Word && it->style.link < 0) return &it->style;
    return nullptr;
  }
  TXPage& m_page;
  TOverlayView* m_view;
};

class TSeventiesRun final : public TLongRun {
 public:
  TSeventiesRun(const TPageRunEnv& env)
      : m_texts(env.bibliothek, env.options),
        m_host(env.page),
        m_style(TSeventiesSettings::from(env.options, Dirs().PageBase), m_texts, m_host, env.pump, &env.options) {}
  void run() override { m_style.run(); }
  void stop() override { m_style.stop(); }

 private:
  TSuperAlternation m_texts;
  TPageSeventiesHost m_host;
  TSeventies m_style;
};

}  // namespace

std::unique_ptr<TLongRun> makeTechnoRun(const TPageRunEnv& env) {
  // The has-pictures test comes before the loading page.
  if (TTechnoStyle::pictureFiles(env.options.text(TSuperValue::TechnoPhotoDir)).empty()) {
    showMessage(TTechnoStyle::kNoPictures);
    return nullptr;
  }
  return std::make_unique<TTechnoRun>(env);
}

std::unique_ptr<TLongRun> makeSeventiesRun(const TPageRunEnv& env) { return std::make_unique<TSeventiesRun>(env); }
