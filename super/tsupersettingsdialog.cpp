// SPDX-License-Identifier: GPL-3.0-or-later
#include "super/tsupersettingsdialog.h"

#include "media/mediacommand.h"
#include "page/txpage.h"
#include "platform/appstate.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "super/tsuperoptions.h"
#include "super/tsupersettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace ss = zek::supersettings;
using V = TSuperValue;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QLabel* label(QWidget* parent, const char* text, int x, int y, int w = 120, int h = 16) {
  auto* l = new QLabel(u(text), parent);
  l->setGeometry(x, y, w, h);
  return l;
}

QGroupBox* group(QWidget* parent, const char* title, int x, int y, int w, int h) {
  auto* g = new QGroupBox(u(title), parent);
  g->setGeometry(x, y, w, h);
  return g;
}

QSlider* slider(QWidget* parent, const char* name, int min, int max, int tick, int x, int y, int w) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setObjectName(name);
  s->setRange(min, max);
  if (tick > 0) {
    s->setTickInterval(tick);
    s->setTickPosition(QSlider::TicksBelow);
  }
  s->setGeometry(x, y, w, 24);
  return s;
}

// Controls are named for tests and the driver.
template <class W>
W* placed(W* w, const char* name, int x, int y, int width, int height) {
  if (name) w->setObjectName(name);
  w->setGeometry(x, y, width, height);
  return w;
}

QCheckBox* check(QWidget* parent, const char* text, const char* name, int x, int y, int w) {
  return placed(new QCheckBox(u(text), parent), name, x, y, w, 20);
}

QRadioButton* radio(QWidget* parent, const char* text, const char* name, int x, int y, int w) {
  return placed(new QRadioButton(u(text), parent), name, x, y, w, 20);
}

QPushButton* button(QWidget* parent, const char* text, const char* name, int x, int y) {
  return placed(new QPushButton(u(text), parent), name, x, y, 97, 25);
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int x, int y, int w) {
  return placed(new QLineEdit(parent), name, x, y, w, 24);
}

QComboBox* combo(QWidget* parent, const char* name, int x, int y, int w, std::initializer_list<const char*> items = {}) {
  auto* c = placed(new QComboBox(parent), name, x, y, w, 24);
  for (const char* item : items) c->addItem(u(item));
  return c;
}

TColorField* colorField(QWidget* parent, const char* name, int x, int y, int w) {
  return placed(new TColorField(parent), name, x, y, w, 22);
}

QListWidget* fontList(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* list = placed(new QListWidget(parent), name, x, y, w, h);
  QStringList families = QFontDatabase::families();
  // The names pages and options use stand in for installed look-alikes.
  for (const char* standIn : {"Arial", "Times New Roman", "Courier New", "Verdana"})
    if (!families.contains(u(standIn), Qt::CaseInsensitive)) families << u(standIn);
  families.sort(Qt::CaseInsensitive);
  list->addItems(families);
  return list;
}

// A caption beside a slider; the one without text shows the slider's value.
struct TCaption {
  const char* text;
  int x, y, w;
};
constexpr const char* kValue = nullptr;

// Places a slider's captions in their order and returns the value caption, if any.
QLabel* captions(QSlider* s, std::initializer_list<TCaption> list) {
  QLabel* value = nullptr;
  for (const TCaption& c : list) {
    QLabel* l = label(s->parentWidget(), c.text ? c.text : "", c.x, c.y, c.w);
    if (c.text) continue;
    l->setAlignment(Qt::AlignRight);
    QObject::connect(s, &QSlider::valueChanged, l, [l](int v) { l->setNum(v); });
    value = l;
  }
  return value;
}

// The folder of a file the learner picks, the dialog starting in the field's folder.
std::optional<std::string> pickFolder(const QLineEdit* field, const char* filter) {
  TFileDialogRequest r;
  r.filter = filter;
  const std::string current = zek::fromQString(field->text());
  r.directory = current.empty() ? Dirs().ProgramDir : current;
  const auto file = askFileName(r);
  if (!file) return std::nullopt;
  return zek::withTrailingSeparator(zek::directoryPart(*file));
}

}  // namespace

TColorField::TColorField(QWidget* parent) : QPushButton(parent) {
  setFlat(false);
  connect(this, &QPushButton::clicked, this, [this] {
    if (const auto c = askColor(m_color)) {
      setColor(*c);
      emit colorChosen();
    }
  });
}

void TColorField::setColor(std::uint32_t color) {
  m_color = color & 0xFFFFFFu;
  setStyleSheet(QString("background-color: %1; border: 1px solid #808080;").arg(QString::fromStdString(ss::htmlColor(m_color))));
}

TSuperSettingsDialog::TSuperSettingsDialog(TSuperOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options), m_openMode(options.modus()) {
  setWindowTitle(u("ZEK Superlearning - Einstellungen"));
  setFixedSize(433, 425);
  setModal(true);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName("tabs");
  m_tabs->setGeometry(8, 8, 417, 377);
  // All six tabs in one row within the dialog's width: a smaller font and narrow padding,
  // and no scroll arrows that would hide the last ones.
  QFont tabFont = m_tabs->tabBar()->font();
  tabFont.setPointSizeF(tabFont.pointSizeF() * 0.8);
  m_tabs->tabBar()->setFont(tabFont);
  m_tabs->tabBar()->setUsesScrollButtons(false);
  m_tabs->tabBar()->setExpanding(false);
  m_tabs->tabBar()->setStyleSheet(
      "QTabBar::tab { padding: 3px 5px; margin-right: 1px; border: 1px solid #a0a0a0; border-bottom: none;"
      " border-top-left-radius: 3px; border-top-right-radius: 3px; background: #e4e4e4; }"
      "QTabBar::tab:selected { background: #ffffff; }");
  const char* names[] = {"klassisch", "abgedreht", "techno - optik", "techno - animation", "DD", "audio"};
  for (const char* name : names) m_tabs->addTab(new QWidget, u(name));
  buildKlassisch(m_tabs->widget(Klassisch));
  buildAbgedreht(m_tabs->widget(Abgedreht));
  buildTechnoOptik(m_tabs->widget(TechnoOptik));
  buildTechnoAnimation(m_tabs->widget(TechnoAnimation));
  buildDD(m_tabs->widget(DD));
  buildAudio(m_tabs->widget(Audio));

  auto* zurueck = button(this, "&Zurücksetzen", nullptr, 8, 392);
  auto* ok = button(this, "&OK", nullptr, 224, 392);
  ok->setDefault(true);
  auto* abbrechen = button(this, "&Abbrechen", nullptr, 328, 392);
  connect(zurueck, &QPushButton::clicked, this, &TSuperSettingsDialog::reset);
  connect(ok, &QPushButton::clicked, this, [this] { applyAndClose(); });
  connect(abbrechen, &QPushButton::clicked, this, &TSuperSettingsDialog::cancel);
  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
    if (tab == TechnoOptik) redrawPreview();
  });

  loadControls();
  m_tabs->setCurrentIndex(m_options.modus() == 1 ? Abgedreht : Klassisch);
}

TSuperSettingsDialog::~TSuperSettingsDialog() = default;

void TSuperSettingsDialog::selectFont(QListWidget* list, const std::string& font) {
  const QString name = zek::toQString(font);
  auto found = list->findItems(name, Qt::MatchFixedString);
  if (found.isEmpty() && !name.isEmpty()) {
    list->addItem(name);
    found = list->findItems(name, Qt::MatchFixedString);
  }
  if (!found.isEmpty()) {
    list->setCurrentItem(found.front());
    list->scrollToItem(found.front());
  }
}

std::string TSuperSettingsDialog::selectedFont(QListWidget* list, const std::string& fallback) {
  return list->currentItem() ? zek::fromQString(list->currentItem()->text()) : fallback;
}

void TSuperSettingsDialog::buildKlassisch(QWidget* page) {
  QGroupBox* g = group(page, " Überblendung ", 8, 8, 393, 84);
  m_schritte = slider(g, "schritte", 20, 500, 20, 60, 22, 270);
  m_schritteLabel = captions(m_schritte, {{"schnell", 10, 26, 50}, {"langsam", 336, 26, 52}, {kValue, 150, 56, 50},
                                          {"Schritte", 206, 56, 80}});

  g = group(page, " Schriftart ", 8, 100, 393, 170);
  m_schrift = fontList(g, "schrift", 10, 20, 373, 140);

  g = group(page, " Optionen ", 8, 278, 393, 64);
  m_schwarzWeiss = check(g, "Schwarz-Weiß", "schwarzWeiss", 10, 22, 170);
  m_ohneHintergrund = check(g, "ohne Hintergrund", "ohneHintergrund", 200, 22, 180);
}

void TSuperSettingsDialog::buildAbgedreht(QWidget* page) {
  QGroupBox* g = group(page, " Geschwindigkeit ", 8, 4, 393, 62);
  m_faktor = slider(g, "faktor", 50, 300, 50, 60, 18, 230);
  m_faktorLabel = captions(m_faktor, {{"schnell", 10, 22, 50}, {"langsam", 296, 22, 52}, {kValue, 300, 42, 30},
                                      {"Prozent", 334, 42, 54}});

  g = group(page, " Textverzögerung ", 8, 68, 393, 52);
  m_textDelay = slider(g, "textDelay", 0, 100, 20, 60, 18, 230);
  captions(m_textDelay, {{"keine", 10, 22, 50}, {"viel", 296, 22, 40}, {"Prozent", 334, 22, 54}});

  g = group(page, " Abgedrehtheit ", 8, 122, 393, 52);
  m_madness = slider(g, "madness", 1, 10, 1, 60, 18, 210);
  m_madnessLabel = captions(m_madness, {{"minimal", 6, 22, 54}, {"maximal", 276, 22, 54}, {kValue, 330, 22, 18},
                                        {"Stufe", 352, 22, 36}});

  g = group(page, " Farben ", 8, 176, 393, 52);
  label(g, "Hintergrund:", 10, 24, 80);
  m_carsonBgr = colorField(g, "carsonBgr", 96, 20, 60);
  label(g, "Schrift:", 200, 24, 60);
  m_carsonTxt = colorField(g, "carsonTxt", 260, 20, 60);

  QLabel* text = label(page,
                       "Dieser Modus richtet sich in erster Linie an Fortgeschrittene. Durch die (einstellbare) "
                       "typographische Verfremdung werden kognitive und assoziative Aspekte beim Lernen verstärkt, "
                       "wodurch die Vokabeln leichter und effizienter erfaßt werden.",
                       12, 234, 385, 110);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TSuperSettingsDialog::buildTechnoOptik(QWidget* page) {
  QGroupBox* g = group(page, "Rand: ", 8, 4, 200, 50);
  m_rand = slider(g, "technoRand", 0, 200, 0, 8, 20, 110);
  m_randLabel = captions(m_rand, {{kValue, 120, 24, 28}, {"Pixel", 152, 24, 44}});
  g = group(page, "Transparenz: ", 8, 56, 200, 54);
  m_transparenz = slider(g, "technoTransparenz", 0, 100, 50, 8, 20, 110);
  m_transparenzLabel = captions(m_transparenz, {{kValue, 120, 24, 28}, {"Prozent", 152, 24, 46}});
  g = group(page, "Effekt: ", 8, 112, 200, 52);
  m_effekt = combo(g, "technoEffekt", 8, 20, 184,
                   {"Normal", "Schwarz 1", "Schwarz 2", "Weiß 1", "Weiß 2", "Monochome ", "Monochrome Neg.", "Farbe",
                    "Farbe Neg."});
  g = group(page, "Farben", 8, 166, 200, 110);
  const struct {
    TColorField*& field;
    const char* caption;
    const char* name;
    const char* tip;
  } colors[] = {{m_technoBgr, "Hintergrund:", "technoBgr", "Nur relevant wenn Transparenz kleiner als 100%"},
                {m_technoText, "Schrift:", "technoText", nullptr},
                {m_technoBmp, "Bilder:", "technoBmp", "nur relevant in einem Farb-Modus"}};
  int y = 20;
  for (const auto& c : colors) {
    label(g, c.caption, 8, y + 4, 90);
    c.field = colorField(g, c.name, 110, y, 70);
    if (c.tip) c.field->setToolTip(u(c.tip));
    y += 28;
  }

  g = group(page, "Schrift: ", 216, 4, 185, 142);
  m_technoSchrift = fontList(g, "technoSchrift", 8, 20, 169, 114);
  g = group(page, "Vorschau:", 216, 148, 185, 128);
  m_preview = placed(new TXPage(g), "vorschau", 12, 20, 160, 100);
  m_preview->setFixedSize(160, 100);

  label(page, "Verzeichnis der Bilder:", 8, 284, 200);
  m_photoDir = lineEdit(page, "technoPhotoDir", 8, 304, 290);
  auto* browse = button(page, "Durchsuchen...", "browsePictures", 304, 304);
  connect(browse, &QPushButton::clicked, this, &TSuperSettingsDialog::browsePictures);

  // The value captions were connected first, so they show the new value before the redraw.
  const auto redraw = [this] {
    if (!m_loading) redrawPreview();
  };
  connect(m_rand, &QSlider::valueChanged, this, redraw);
  connect(m_transparenz, &QSlider::valueChanged, this, redraw);
  connect(m_effekt, &QComboBox::currentIndexChanged, this, redraw);
  connect(m_technoSchrift, &QListWidget::currentRowChanged, this, redraw);
  for (TColorField* f : {m_technoBgr, m_technoText, m_technoBmp}) connect(f, &TColorField::colorChosen, this, redraw);
  connect(m_photoDir, &QLineEdit::editingFinished, this, redraw);
}

void TSuperSettingsDialog::buildTechnoAnimation(QWidget* page) {
  QGroupBox* g = group(page, " Hintergrund ", 8, 4, 393, 236);
  m_hardCut = radio(g, "harter Schnitt", "hardCut", 10, 20, 200);
  m_frameDelay = slider(g, "technoFrameDelay", ss::kFrameDelayMinPos, ss::kFrameDelayMaxPos, 0, 28, 42, 270);
  m_frameDelayLabel = label(g, "", 306, 46, 80);
  QLabel* warn = label(g,
                       "Achtung: Harte, kurze Schnitte können bei empfindlichen Personen (Epileptikern) zu "
                       "gesundheitlichen Problemen führen! Benutzung auf eigene Verantwortung!!!",
                       28, 70, 355, 64);
  warn->setWordWrap(true);
  warn->setStyleSheet("color: #C00000;");
  m_fading = radio(g, "Überblendung", "fading", 10, 142, 200);
  m_speed = slider(g, "technoSpeed", -23, 25, 0, 28, 166, 355);
  label(g, "extrem langsam", 28, 196, 110);
  label(g, "langsam", 170, 196, 60)->setAlignment(Qt::AlignHCenter);
  label(g, "schnell", 300, 196, 83)->setAlignment(Qt::AlignRight);
  auto* bg = new QButtonGroup(this);
  bg->addButton(m_hardCut);
  bg->addButton(m_fading);

  g = group(page, "Schrift: ", 8, 246, 393, 96);
  m_static = radio(g, "statisch", "statisch", 10, 22, 120);
  m_scrolling = radio(g, "bewegt", "bewegt", 10, 48, 120);
  auto* sg = new QButtonGroup(this);
  sg->addButton(m_static);
  sg->addButton(m_scrolling);
  m_technoTextDelay = combo(g, "technoTextDelay", 200, 34, 100,
                            {"0,5", "1,0", "1,5", "2,0", "2,5", "3,0", "3,5", "4,0", "5,0", "6,0", "7,0", "8,0"});
  m_technoTextDelay->setEditable(true);

  connect(m_frameDelay, &QSlider::valueChanged, this, [this] {
    updateFrameDelayLabel();
    if (!m_loading) m_hardCut->setChecked(true);
  });
  connect(m_speed, &QSlider::valueChanged, this, [this] {
    if (!m_loading) m_fading->setChecked(true);
  });
}

void TSuperSettingsDialog::buildDD(QWidget* page) {
  QGroupBox* g = group(page, " Geschwindigkeit ", 8, 8, 393, 60);
  m_ddSpeed = slider(g, "ddSpeed", 10, 100, 10, 10, 22, 290);
  m_ddSpeedLabel = label(g, "", 310, 26, 76);
  connect(m_ddSpeed, &QSlider::valueChanged, this,
          [this](int v) { m_ddSpeedLabel->setText(zek::toQString(ss::ddSpeedLabel(v))); });
  g = group(page, " Textverzögerung ", 8, 76, 393, 60);
  m_ddChar = slider(g, "ddCharDelay", 10, 100, 10, 10, 22, 290);  // the stored delay is 10 ms at least
  m_ddCharLabel = label(g, "", 310, 26, 76);
  connect(m_ddChar, &QSlider::valueChanged, this, [this](int v) { m_ddCharLabel->setText(QString("%1 ms").arg(v)); });

  g = group(page, " Hintergrund: ", 8, 144, 393, 120);
  m_ddPage = combo(g, "ddPage", 10, 22, 373);
  m_ddAuto = check(g, "automatisch abwechseln:", "ddAuto", 10, 56, 250);
  label(g, "Intervall:", 30, 88, 70);
  m_ddInterval = combo(g, "ddInterval", 100, 84, 160);
  for (int s : ss::kIntervalSeconds) m_ddInterval->addItem(zek::toQString(ss::intervalText(s)));
  connect(m_ddAuto, &QCheckBox::toggled, this, [this](bool on) {
    m_ddInterval->setEnabled(on);
    if (on && m_ddInterval->currentIndex() < 0) m_ddInterval->setCurrentIndex(0);
  });
}

void TSuperSettingsDialog::buildAudio(QWidget* page) {
  m_speech = check(page, "Sprachausgabe (CD-ROM erforderlich)", "sprachausgabe", 16, 16, 370);
  QGroupBox* g = group(page, "Musik:", 8, 50, 393, 200);
  m_musicNone = radio(g, "Keine", "musikKeine", 10, 24, 120);
  m_musicCd = radio(g, "Audio-CD ", "musikCd", 10, 50, 120);
  m_musicMp3 = radio(g, "MP3", "musikMp3", 10, 76, 120);
  m_musicMp3->setChecked(true);
  label(g, "Verzeichnis:", 30, 108, 100);
  m_mp3Dir = lineEdit(g, "mp3Dir", 30, 128, 353);
  auto* browse = button(g, "Durchsuchen...", "browseMusic", 180, 160);
  m_test = button(g, "Testen", "testen", 286, 160);
  label(page, "Status:", 16, 264, 60);
  m_info = label(page, "", 80, 264, 320);
  m_info->setObjectName("status");
  connect(browse, &QPushButton::clicked, this, &TSuperSettingsDialog::browseMusic);
  connect(m_test, &QPushButton::clicked, this, &TSuperSettingsDialog::testMusic);
  connect(m_mp3Dir, &QLineEdit::textChanged, this, [this](const QString& t) { m_test->setEnabled(!t.isEmpty()); });
  // CD music and speech never run together: choosing one lets go of the other.
  connect(m_musicCd, &QRadioButton::toggled, this, [this](bool on) {
    if (on && !m_loading) m_speech->setChecked(false);
  });
  connect(m_speech, &QCheckBox::toggled, this, [this](bool on) {
    if (on && !m_loading && m_musicCd->isChecked()) m_musicNone->setChecked(true);
  });
}

void TSuperSettingsDialog::showFileCount() {
  m_info->setText(QString::number(m_options.mp3Files().size()) + u(" MP3-Dateien"));
}

void TSuperSettingsDialog::updateFrameDelayLabel() {
  m_frameDelayLabel->setText(zek::toQString(ss::frameDelayLabel(ss::frameDelayMs(m_frameDelay->value()))));
}

void TSuperSettingsDialog::loadControls() {
  m_loading = true;
  const TSuperOptions& o = m_options;
  m_mp3Dir->setText(zek::toQString(o.mp3Dir()));
  showFileCount();
  m_test->setText(u("Testen"));
  m_test->setEnabled(!m_mp3Dir->text().isEmpty());
  selectFont(m_schrift, o.text(V::Schrift));
  selectFont(m_technoSchrift, o.text(V::TechnoSchrift));
  const std::pair<QSlider*, V> plain[] = {{m_schritte, V::Schritte},       {m_faktor, V::Faktor},
                                          {m_textDelay, V::TextDelay},     {m_madness, V::Madness},
                                          {m_transparenz, V::TechnoTransparenz}, {m_rand, V::TechnoRand},
                                          {m_speed, V::TechnoSpeed}};
  for (const auto& [s, v] : plain) {
    s->setValue(o.value(v));
    emit s->valueChanged(s->value());  // the labels, also when the position did not change
  }
  m_frameDelay->setValue(ss::frameDelayPosition(o.value(V::TechnoFrameDelay)));
  updateFrameDelayLabel();
  const int musik = o.value(V::Musik);
  (musik == kMusikCd ? m_musicCd : musik == kMusikMp3 ? m_musicMp3 : m_musicNone)->setChecked(true);
  m_speech->setChecked(o.value(V::Sprachausgabe) != 0);
  m_speech->setEnabled(!Dirs().ContentRoot.empty());
  m_carsonBgr->setColor(o.value(V::CarsonBGRColor));
  m_carsonTxt->setColor(o.value(V::CarsonTXTColor));
  m_technoBgr->setColor(o.value(V::TechnoBGRColor));
  m_technoText->setColor(o.value(V::TechnoTextColor));
  m_technoBmp->setColor(o.value(V::TechnoBMPColor));
  m_effekt->setCurrentIndex(o.value(V::TechnoMode));
  (o.value(V::TechnoScrolling) ? m_scrolling : m_static)->setChecked(true);
  (o.value(V::TechnoFading) ? m_fading : m_hardCut)->setChecked(true);
  m_photoDir->setText(zek::toQString(o.text(V::TechnoPhotoDir)));

  const QString delay = zek::toQString(ss::textDelayText(o.value(V::TechnoTextDelay)));
  const int item = m_technoTextDelay->findText(delay);
  if (item >= 0) m_technoTextDelay->setCurrentIndex(item);
  else m_technoTextDelay->setEditText(delay);

  m_ddPage->clear();
  m_ddPage->addItem(u("<nach Zufallsprinzip>"));
  const std::string ddDir = Dirs().PageBase + "hzek/SuperDD/";
  int ddItem = 0;
  for (const std::string& name : o.textPages()) {
    m_ddPage->addItem(zek::toQString(name));
    const std::string file = ddDir + name + ".htx";
    if (file == o.text(V::DD) && zek::fileExists(file)) ddItem = m_ddPage->count() - 1;
  }
  m_ddPage->setCurrentIndex(ddItem);
  m_ddSpeed->setValue(o.value(V::DDTextDelay) / 100);
  emit m_ddSpeed->valueChanged(m_ddSpeed->value());
  m_ddChar->setValue(o.value(V::DDCharDelay));
  emit m_ddChar->valueChanged(m_ddChar->value());
  const int bgr = o.value(V::DDBGRDelay);
  const int interval = m_ddInterval->findText(zek::toQString(ss::intervalText(bgr)));
  // A stored interval the chooser does not offer shows the nearest one.
  m_ddInterval->setCurrentIndex(interval >= 0 ? interval : ss::nearestIntervalItem(bgr));
  m_ddAuto->setChecked(bgr != 0);
  m_ddInterval->setEnabled(bgr != 0);
  m_schwarzWeiss->setChecked(o.value(V::SchwarzWeiss) != 0);
  m_ohneHintergrund->setChecked(o.value(V::OhneHintergrund) != 0);

  m_loaded.clear();
  for (QSlider* s : {m_schritte, m_faktor, m_textDelay, m_madness, m_transparenz, m_rand, m_speed, m_frameDelay, m_ddSpeed,
                     m_ddChar})
    m_loaded.emplace_back(s, s->value());
  m_loading = false;
  redrawPreview();
}

bool TSuperSettingsDialog::moved(QSlider* slider) const {
  for (const auto& [s, pos] : m_loaded)
    if (s == slider) return s->value() != pos;
  return true;
}

void TSuperSettingsDialog::redrawPreview() {
  ss::TPreviewLook look;
  look.background = m_technoBgr->color();
  look.text = m_technoText->color();
  look.picture = m_technoBmp->color();
  look.mode = std::max(0, m_effekt->currentIndex());
  look.transparency = m_transparenz->value();
  look.border = m_rand->value();
  look.font = selectedFont(m_technoSchrift, m_options.text(V::TechnoSchrift));
  look.pictureDir = zek::fromQString(m_photoDir->text());
  if (!look.pictureDir.empty()) look.pictureDir = zek::withTrailingSeparator(look.pictureDir);
  const bool picture = !look.pictureDir.empty() && zek::fileExists(ss::previewPicture(look.pictureDir));
  m_preview->ShowHTML(ss::previewMarkup(look, picture));
}

void TSuperSettingsDialog::browseMusic() {
  const auto dir = pickFolder(m_mp3Dir, "MP3-Dateien|*.MP3");
  if (!dir) return;
  m_mp3Dir->setText(zek::toQString(*dir));
  m_options.setMp3Dir(*dir);
  m_mp3Dir->setText(zek::toQString(m_options.mp3Dir()));
  showFileCount();
}

void TSuperSettingsDialog::browsePictures() {
  const auto dir = pickFolder(m_photoDir, "Bilder (800 x 534 Pixel - JPG/BMP)|*.JPG;*.BMP");
  if (!dir) return;
  m_photoDir->setText(zek::toQString(*dir));
  redrawPreview();
}

void TSuperSettingsDialog::stopTestMusic() {
  sendMediaCommand("stop mp3", true);
  sendMediaCommand("close mp3", true);
}

void TSuperSettingsDialog::testMusic() {
  if (m_test->text() == u("Stop")) {
    m_test->setText(u("Testen"));
    showFileCount();
  }
  const std::string mode = sendMediaCommand("Status MP3 mode", true);
  if (mode.rfind("play", 0) == 0) {
    stopTestMusic();
    return;
  }
  // A piece that ended by itself leaves the alias open: a new open under it would fail.
  sendMediaCommand("close mp3", true);
  m_options.setMp3Dir(zek::fromQString(m_mp3Dir->text()));
  m_mp3Dir->setText(zek::toQString(m_options.mp3Dir()));
  if (m_options.mp3Files().empty()) {
    showFileCount();
    return;
  }
  const std::string& file = m_options.mp3Files()[std::size_t(m_options.nextMp3())];
  sendMediaCommand("open \"" + file + "\" type mpegvideo alias mp3", true);
  sendMediaCommand("play mp3", true);
  m_test->setText(u("Stop"));
  m_info->setText(u("Es sollte nun Musik zu hören sein."));
}

bool TSuperSettingsDialog::applyAndClose() {
  TSuperOptions& o = m_options;
  const std::string mp3Field = zek::fromQString(m_mp3Dir->text());
  o.setMp3Dir(mp3Field);
  o.setTechnoPhotoDir(zek::fromQString(m_photoDir->text()));
  if (!mp3Field.empty() && o.mp3Dir().empty()) return false;
  stopTestMusic();

  o.setText(V::Schrift, selectedFont(m_schrift, o.text(V::Schrift)));
  const auto take = [&](QSlider* s, V v, int value) {
    if (moved(s)) o.setValue(v, value);
  };
  take(m_schritte, V::Schritte, m_schritte->value());
  if (m_openMode == 0 || m_openMode == 1) o.setModus(m_openMode);
  const int musik = m_musicCd->isChecked()                                ? kMusikCd
                    : m_musicMp3->isChecked() && !o.mp3Files().empty() ? kMusikMp3
                                                                         : kMusikNone;
  o.setMusik(musik);
  o.setSprachausgabe(m_speech->isChecked() ? 1 : 0);
  o.setValue(V::SchwarzWeiss, m_schwarzWeiss->isChecked());
  o.setValue(V::OhneHintergrund, m_ohneHintergrund->isChecked());
  take(m_faktor, V::Faktor, m_faktor->value());
  take(m_textDelay, V::TextDelay, m_textDelay->value());
  take(m_madness, V::Madness, m_madness->value());
  o.setValue(V::CarsonBGRColor, int(m_carsonBgr->color()));
  o.setValue(V::CarsonTXTColor, int(m_carsonTxt->color()));
  take(m_transparenz, V::TechnoTransparenz, m_transparenz->value());
  take(m_rand, V::TechnoRand, m_rand->value());
  o.setValue(V::TechnoMode, std::max(0, m_effekt->currentIndex()));
  o.setValue(V::TechnoBGRColor, int(m_technoBgr->color()));
  o.setValue(V::TechnoTextColor, int(m_technoText->color()));
  o.setValue(V::TechnoBMPColor, int(m_technoBmp->color()));
  o.setText(V::TechnoSchrift, selectedFont(m_technoSchrift, o.text(V::TechnoSchrift)));
  o.setValue(V::TechnoTextDelay, ss::textDelayMs(zek::fromQString(m_technoTextDelay->currentText())));
  o.setValue(V::TechnoScrolling, m_scrolling->isChecked());
  o.setValue(V::TechnoFading, m_fading->isChecked());
  take(m_frameDelay, V::TechnoFrameDelay, ss::frameDelayMs(m_frameDelay->value()));
  take(m_speed, V::TechnoSpeed, m_speed->value());
  const int page = m_ddPage->currentIndex();
  o.setText(V::DD, page <= 0 ? std::string() : Dirs().PageBase + "hzek/SuperDD/" + zek::fromQString(m_ddPage->currentText()) + ".htx");
  take(m_ddSpeed, V::DDTextDelay, m_ddSpeed->value() * 100);
  take(m_ddChar, V::DDCharDelay, m_ddChar->value());
  o.setValue(V::DDBGRDelay, m_ddAuto->isChecked() ? ss::intervalSeconds(zek::fromQString(m_ddInterval->currentText())) : 0);
  accept();
  return true;
}

void TSuperSettingsDialog::cancel() { reject(); }

void TSuperSettingsDialog::reject() {
  // Escape and the title bar's close end here too: test music never outlives the dialog.
  stopTestMusic();
  QDialog::reject();
}

void TSuperSettingsDialog::reset() {
  m_options.setDefaults();
  loadControls();
}
