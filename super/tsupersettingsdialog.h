// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPushButton>

#include <cstdint>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;
class QTabWidget;
class TSuperOptions;
class TXPage;

// A field showing one colour; a click asks the colour dialog for another.
class TColorField : public QPushButton {
  Q_OBJECT
 public:
  explicit TColorField(QWidget* parent);
  std::uint32_t color() const { return m_color; }  // 0x00BBGGRR
  void setColor(std::uint32_t color);
 signals:
  void colorChosen();

 private:
  std::uint32_t m_color = 0;
};

// "ZEK Superlearning - Einstellungen": the superlearning options on six tabs. Controls are
// named (objectName) for tests and the driver.
class TSuperSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  enum Tab { Klassisch, Abgedreht, TechnoOptik, TechnoAnimation, DD, Audio };

  explicit TSuperSettingsDialog(TSuperOptions& options, QWidget* parent = nullptr);
  ~TSuperSettingsDialog() override;

  QTabWidget* tabs() const { return m_tabs; }
  TXPage* preview() const { return m_preview; }
  void loadControls();
  void redrawPreview();

  // The buttons' work, open for tests.
  void browseMusic();
  void browsePictures();
  void testMusic();
  bool applyAndClose();  // "&OK"; false when the dialog stays open
  void cancel();
  void reject() override;
  void reset();

 private:
  void buildKlassisch(QWidget* page);
  void buildAbgedreht(QWidget* page);
  void buildTechnoOptik(QWidget* page);
  void buildTechnoAnimation(QWidget* page);
  void buildDD(QWidget* page);
  void buildAudio(QWidget* page);
  void showFileCount();
  void stopTestMusic();
  static void selectFont(QListWidget* list, const std::string& font);
  static std::string selectedFont(QListWidget* list, const std::string& fallback);
  void updateFrameDelayLabel();
  bool moved(QSlider* slider) const;

  TSuperOptions& m_options;
  int m_openMode = 0;
  QTabWidget* m_tabs = nullptr;
  // klassisch
  QSlider* m_schritte = nullptr;
  QLabel* m_schritteLabel = nullptr;
  QListWidget* m_schrift = nullptr;
  QCheckBox* m_schwarzWeiss = nullptr;
  QCheckBox* m_ohneHintergrund = nullptr;
  // abgedreht
  QSlider* m_faktor = nullptr;
  QLabel* m_faktorLabel = nullptr;
  QSlider* m_textDelay = nullptr;
  QSlider* m_madness = nullptr;
  QLabel* m_madnessLabel = nullptr;
  TColorField* m_carsonBgr = nullptr;
  TColorField* m_carsonTxt = nullptr;
  // techno - optik
  QSlider* m_rand = nullptr;
  QLabel* m_randLabel = nullptr;
  QSlider* m_transparenz = nullptr;
  QLabel* m_transparenzLabel = nullptr;
  QListWidget* m_technoSchrift = nullptr;
  QComboBox* m_effekt = nullptr;
  TColorField* m_technoBgr = nullptr;
  TColorField* m_technoText = nullptr;
  TColorField* m_technoBmp = nullptr;
  TXPage* m_preview = nullptr;
  QLineEdit* m_photoDir = nullptr;
  // techno - animation
  QRadioButton* m_hardCut = nullptr;
  QRadioButton* m_fading = nullptr;
  QSlider* m_frameDelay = nullptr;
  QLabel* m_frameDelayLabel = nullptr;
  QSlider* m_speed = nullptr;
  QRadioButton* m_static = nullptr;
  QRadioButton* m_scrolling = nullptr;
  QComboBox* m_technoTextDelay = nullptr;
  // DD
  QSlider* m_ddSpeed = nullptr;
  QLabel* m_ddSpeedLabel = nullptr;
  QSlider* m_ddChar = nullptr;
  QLabel* m_ddCharLabel = nullptr;
  QComboBox* m_ddPage = nullptr;
  QCheckBox* m_ddAuto = nullptr;
  QComboBox* m_ddInterval = nullptr;
  // audio
  QCheckBox* m_speech = nullptr;
  QRadioButton* m_musicNone = nullptr;
  QRadioButton* m_musicCd = nullptr;
  QRadioButton* m_musicMp3 = nullptr;
  QLineEdit* m_mp3Dir = nullptr;
  QPushButton* m_test = nullptr;
  QLabel* m_info = nullptr;
  // Positions the sliders had after loading: a slider narrower than its stored range only
  // changes the value when the learner moved it.
  std::vector<std::pair<QSlider*, int>> m_loaded;
  bool m_loading = false;
};
