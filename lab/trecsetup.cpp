// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/trecsetup.h"

#include "media/twaverec.h"
#include "platform/codec.h"
#include "platform/messages.h"
#include "voice/tstimme.h"
#include "voice/twortsprecher.h"

#include <algorithm>

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

constexpr int kRates[] = {11025, 22050, 44100};

template <std::size_t N>
std::array<QRadioButton*, N> makeGroup(QWidget* parent, const char* title, const char* name, QRect place,
                                       const std::array<const char*, N>& options) {
  auto* box = new QGroupBox(zek::toQString(title), parent);
  box->setObjectName(name);
  box->setGeometry(place);
  auto* group = new QButtonGroup(box);
  std::array<QRadioButton*, N> buttons{};
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(zek::toQString(options[i]), box);
    buttons[i]->setGeometry(12, 22 + static_cast<int>(i) * 24, place.width() - 20, 20);
    group->addButton(buttons[i], static_cast<int>(i));
  }
  return buttons;
}

template <std::size_t N>
int checkedIndex(const std::array<QRadioButton*, N>& buttons) {
  for (std::size_t i = 0; i < N; ++i) {
    if (buttons[i]->isChecked()) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace

TRecSetup::TRecSetup(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_rec(zek::ensureWaveRec()) {
  setWindowTitle(zek::toQString("Aufnahme-Einstellungen"));
  setFixedSize(313, 185);
  m_bits = makeGroup<2>(this, " Aufl\xF6sung ", "Aufl\xF6sung", {8, 16, 89, 89}, {"8 Bit", "16 Bit"});
  m_rates = makeGroup<3>(this, " Sample-Rate ", "Sample-Rate", {112, 16, 89, 121}, {"11 kHz", "22 kHz", "44 kHz"});
  m_channels = makeGroup<2>(this, " Aufnahme in ", "Aufnahme in", {216, 16, 89, 89}, {"Mono", "Stereo"});

  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setGeometry(112, 152, 89, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
  cancel->setGeometry(216, 152, 89, 25);
  connect(ok, &QPushButton::clicked, this, [this] { bOKClick(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  m_bits[m_rec.bits() == 16 ? 1 : 0]->setChecked(true);
  m_rates[m_rec.rate() == 22050 ? 1 : (m_rec.rate() == 44100 ? 2 : 0)]->setChecked(true);
  m_channels[m_rec.channels() == 2 ? 1 : 0]->setChecked(true);
  m_rec.newTake();

  // The voice sits left of the buttons, where the dialog has room.
  m_stimme = new QComboBox(this);
  m_stimme->setObjectName("Stimme");
  m_stimme->setGeometry(8, 152, 97, 25);
  m_stimme->setToolTip(zek::toQString("Stimme, die S\xE4tze und W\xF6rter spricht"));
  for (const TStimmeInfo& info : stimmen()) m_stimme->addItem(zek::toQString(info.name));
  const TStimmeArt gewaehlt = gewaehlteStimme();
  for (std::size_t i = 0; i < stimmen().size(); ++i) {
    if (stimmen()[i].art == gewaehlt) m_stimme->setCurrentIndex(static_cast<int>(i));
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
  }
}

int TRecSetup::run(QWidget* parent) {
  TRecSetup dialog(parent);
  return dialog.exec();
}

int TRecSetup::bitsIndex() const { return checkedIndex(m_bits); }
int TRecSetup::rateIndex() const { return checkedIndex(m_rates); }
int TRecSetup::channelsIndex() const { return checkedIndex(m_channels); }

void TRecSetup::bOKClick() {
  m_rec.setFormat(bitsIndex() == 1 ? 16 : 8, kRates[rateIndex()], channelsIndex() == 1 ? 2 : 1);
  m_rec.applyFormat();
  m_rec.saveSettings();
  const TStimmeArt neu = stimmen()[static_cast<std::size_t>(std::max(0, m_stimme->currentIndex()))].art;
  if (neu != gewaehlteStimme()) {
    setGewaehlteStimme(neu);
    zek::restartRuntimeWordSpeaker();
    showMessage("Die neue Stimme spricht ab jetzt neue W\xF6rter. Die S\xE4tze und W\xF6rter der Installation "
                "werden mit ihr neu gesprochen, wenn die Einrichtung das n\xE4" "chste Mal l\xE4uft.",
                mb::IconInformation);
  }
  accept();
}
