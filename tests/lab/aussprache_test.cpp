#include "lab/taussprache.h"
#include "lab/tstimmbild.h"
#include "lab/tsprachlabor.h"
#include "media/mediacommand.h"
#include "media/taudiobackend.h"
#include "media/tmediaservice.h"
#include "media/twaverec.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "tests/common/qtevents.h"
#include "tests/common/testutil.h"
#include "tests/lab/labfixture.h"
#include "voice/tspracherkennung.h"
#include "voice/tstimme.h"
#include "widgets/txcolorbutton.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace {

class Aussprache : public LabFixture {
 protected:
  Aussprache() : LabFixture("zek-aussprache") {}
  // The lab on topic 0 at the first sentence with at least `woerter` words, its model
  // sentence spoken as the set-up speaks it.
  std::unique_ptr<TSprachlabor> openAtLength(std::size_t woerter) {
    auto lab = std::make_unique<TSprachlabor>(0);
    const TSatzListe& saetze = lab->Themen()[0].saetze();
    int index = 0;
    while (satzWoerter(saetze[static_cast<std::size_t>(index)].englisch).size() < woerter) ++index;
    const TSatz& satz = saetze[static_cast<std::size_t>(index)];
    auto sprecher = TSprecher::fuer(TStimmeArt::Rms);
    schreibeSprachDatei(m_dir.path() / "wave/Labor" / zek::forwardSlashes(satz.datei), sprecher->sprich(satz.englisch));
    pick(*lab, index);
    lab->setZufall(nullptr);
    return lab;
  }
  // A take of two seconds on the null device: silence.
  void record(TSprachlabor& lab) {
    zek::test::click(lab.Aufnahme(), {20, 20});
    m_clock.advanceMs(2000);
    lab.TimerTick();
    zek::test::click(lab.Aufnahme(), {20, 20});
  }
  static bool waitIdle(TAussprache& a) {
    QElapsedTimer t;
    t.start();
    while (a.beschaeftigt() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    return !a.beschaeftigt();
  }
};

// Off by default; switched on it shows the button, which waits for a take of a long enough
// sentence; the switch is kept for the next opening.
TEST_F(Aussprache, TheCheckIsOptInAndWaitsForATake) {
  auto lab = openAtLength(3);
  lab->show();
  TAussprache* a = lab->Aussprache();
  EXPECT_FALSE(a->Menuepunkt()->isChecked());
  EXPECT_FALSE(a->Knopf()->isVisible());
  a->Menuepunkt()->trigger();
  EXPECT_TRUE(a->Knopf()->isVisible());
  EXPECT_FALSE(a->Knopf()->isEnabled());
  record(*lab);
  EXPECT_TRUE(a->Knopf()->isEnabled());
  ASSERT_TRUE(waitIdle(*a));
  EXPECT_TRUE(a->Bild()->isVisible());
  EXPECT_FALSE(a->Bild()->lerner().leer());
  lab->WeiterClick();  // another sentence: the take and its picture go
  EXPECT_FALSE(a->Bild()->isVisible());
  lab->close();
  lab.reset();

  auto again = openAtLength(1);
  EXPECT_TRUE(again->Aussprache()->Menuepunkt()->isChecked());
  record(*again);
  EXPECT_FALSE(again->Aussprache()->Knopf()->isEnabled());  // one- and two-word sentences are not checked
  again->close();
}

// On the null device the take is silence: never recognised, and said so in the lab's words.
TEST_F(Aussprache, SilenceIsNotRecognised) {
  if (!TSpracherkennung::modellDa()) GTEST_SKIP() << "pocketsphinx-en-us is not installed";
  auto lab = openAtLength(3);
  lab->show();
  TAussprache* a = lab->Aussprache();
  a->Menuepunkt()->trigger();
  record(*lab);
  zek::test::click(a->Knopf(), {20, 10});
  EXPECT_FALSE(a->Knopf()->isEnabled());  // one check at a time
  ASSERT_TRUE(waitIdle(*a));
  EXPECT_EQ(zek::fromQString(a->Meldung()->text()), kMeldungNichtErkannt);
  EXPECT_TRUE(a->Knopf()->isEnabled());
  EXPECT_FALSE(a->Bild()->modell().leer());
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) lab->grab().save(QString(dir) + "/lab-aussprache.png");
  lab->close();
}

// Closing while the worker is busy waits for it and leaves nothing behind.
TEST_F(Aussprache, ClosingDuringACheck) {
  auto lab = openAtLength(3);
  lab->show();
  lab->Aussprache()->Menuepunkt()->trigger();
  record(*lab);
  lab->Aussprache()->pruefen();
  lab->close();
  lab.reset();
  QApplication::processEvents();
}

TEST(StimmBild, DrawsBothVoicesOneAboveTheOther) {
  TSignal s;
  s.rate = 16000;
  for (int i = 0; i < 16000; ++i) s.samples.push_back(static_cast<float>(0.5 * std::sin(2 * M_PI * 150 * i / 16000.0)));
  const TStimmKurve k = stimmKurve(s);
  QImage bild(400, 200, QImage::Format_RGB32);
  bild.fill(Qt::white);
  {
    QPainter p(&bild);
    TStimmBild::zeichne(p, bild.rect(), k, TStimmKurve{});
  }
  // The model's row has its contour colour; the learner's empty row only its background.
  auto hatFarbe = [&](int y0, int y1, QRgb farbe) {
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < 400; ++x)
        if (bild.pixel(x, y) == farbe) return true;
    return false;
  };
  EXPECT_TRUE(hatFarbe(0, 99, qRgb(120, 200, 255)));
  EXPECT_FALSE(hatFarbe(100, 200, qRgb(120, 200, 255)));
  EXPECT_EQ(bild.pixel(200, 150), qRgb(20, 20, 28));
  if (const char* dir = std::getenv("ZEK_SHOT_DIR")) bild.save(QString(dir) + "/stimmbild.png");
}

}  // namespace
