// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/htxreader.h"
#include "page/tpagelayout.h"
#include "page/tpagemodel.h"
#include "page/tpagepainter.h"
#include "page/tpicturelist.h"
#include "page/tqttextmetrics.h"
#include "platform/tdrivecells.h"
#include "widgets/tdragaufgabenliste.h"
#include "widgets/tsatzbauliste.h"
#include "widgets/txbitmap.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QPainter;
class QScrollBar;
class TMosaic;
class TPageEdit;
class TXLabel;
class TXMultipleChoice;
class tXColorButton;
class THTMLStream;
class THintWindow;

// The page view: shows one htx page. The page is read into a TPageModel, laid out
// (tpagelayout.h), painted once into the off-screen Buffer and the visible part copied to the
// screen; hover and scrolling only copy pictures. It owns the page's widgets and timers.
class TXPage : public QWidget, public TDriveCells {
  Q_OBJECT
 public:
  explicit TXPage(QWidget* parent = nullptr);
  ~TXPage() override;

  // ---- published properties
  bool AutoJump() const { return m_autoJump; }
  void setAutoJump(bool on) { m_autoJump = on; }
  TBedingung& Bedingung() { return m_bedingung; }
  bool HTMLChild() const { return m_htmlChild; }
  void setHTMLChild(bool on) { m_htmlChild = on; }
  TColor ColorBGR() const { return m_colors.background; }
  void setColorBGR(TColor color);
  TColor ColorTXT() const { return m_colors.text; }
  void setColorTXT(TColor color) { m_colors.text = color; }
  const std::string& Sonderzeichen() const { return m_sonderzeichen; }
  void setSonderzeichen(const std::string& chars) { m_sonderzeichen = chars; }
  const std::string& XPath() const { return m_xpath; }
  void setXPath(const std::string& dir);
  const std::string& XFile() const { return m_xfile; }
  void setXFile(const std::string& name);
  QMenu* PopUpMenu() const { return m_popupMenu; }
  void setPopUpMenu(QMenu* menu) { m_popupMenu = menu; }
  // The page picture at scale 1. Whoever draws into it (the games) is shown that picture, also on
  // a high-density screen, until the next page is painted.
  TXBitmap& Buffer() {
    dropSharp();
    return m_buffer;
  }
  // The same page painted at the screen's pixel ratio (rounded up); scale 0 when the page is
  // shown from Buffer() alone (ratio 1, drag exercises, mosaic, games, a page too long).
  int SharpScale() const { return m_sharpScale; }
  const TXBitmap& SharpBuffer() const { return m_sharp; }
  const std::string& Title() const { return m_model.title; }

  // ---- events
  using Event = std::function<void(TXPage*)>;
  using TextEvent = std::function<void(TXPage*, const std::string&)>;
  Event OnClick, OnDblClick, OnTitleChange, OnFileChange;
  std::function<void(TXPage*, Qt::MouseButton, QPoint)> OnMouseDown;
  TextEvent OnAnkerChange, OnBadLink, OnCommand;
  std::function<void(TXPage*, const QRect&, const std::string&)> OnRightClick;
  // After a page's widgets were created and placed (the exercise and answer logic hooks in here).
  Event OnWidgetsCreated;

  // What clearing a page does to the sound alias "welle": by default it is closed quietly
  // through the media commands; nullptr does nothing (tools, tests).
  static void setSoundCloser(std::function<void()> closer);
  // What a page file's text goes through before it is read (the app fills in live figures);
  // nullptr leaves it as it is.
  static void setTextFilter(std::function<void(std::string&)> filter);

  // ---- operations
  void Clear();
  // Clears the page, reads the markup, lays out, scrolls to the top and paints.
  void ShowHTML(const std::string& markup);
  // The same for a trainer's markup stream (a carriage return and a terminator are appended).
  void ShowStream(THTMLStream* stream);
  void setCondition(const std::string& name, bool on);
  void LockMouse() { ++m_mouseLock; }
  void UnlockMouse() { m_mouseLock = m_mouseLock > 0 ? m_mouseLock - 1 : 0; }
  bool MouseLocked() const { return m_mouseLock > 0; }
  void ResetColors();
  // Shows `text` over the page for `ms` milliseconds; mouse input is ignored meanwhile.
  void ShowToast(const std::string& text, int ms);
  bool ToastRunning() const { return m_toastRunning; }
  // The note in the top right corner (a round's tally), empty when none shows.
  const std::string& NoteText() const { return m_labelText; }
  const std::string& LastToast() const { return m_lastToast; }
  // How long the result of a finished exercise page shows (tests shorten it).
  int doneToastMs = 2000;
  // Activates a link target: help ("?..."), aliases, commands ("§[...]"), notes ("@..."),
  // exercises ("EX", exercise links), "END", back ("-"), continue ("+"), pages and sounds.
  void Follow(const std::string& target, const QRect& area);

  // ---- navigation and exercises
  // Full paths of the pages that links left, oldest first.
  const std::vector<std::string>& History() const { return m_history; }
  const std::string& ContinueTarget() const { return m_continueTarget; }
  // Exercises still to set; -1 before an exercise file gave a count.
  int ExerciseCounter() const { return m_exCounter; }
  std::size_t ExerciseCount() const { return m_exercises.size(); }
  // Indexes of the last shown exercises, oldest first (at most 20).
  const std::vector<int>& ShownExercises() const { return m_shownExercises; }
  // Clears the page and shows another exercise of the current exercise file.
  void NextExercise();
  // The random source of the exercise draw, 0 .. n-1 (tests replace it).
  std::function<int(int n)> exerciseRandom;
  // What the target "END" does; by default the event loop ends at once (tests replace it).
  static void setTerminator(std::function<void()> terminate);

  // ---- answer reactions, delivered after the answering widget's own event
  // A field was solved (right) or finally failed; `command` is its reaction.
  void PostFieldAnswer(const std::string& command, int attempts, bool right);
  // The multiple-choice grid was answered with the cell `chosen`.
  void PostChoiceAnswer(int chosen);
  bool ReactionPending() const { return !m_reactions.empty(); }
  // True when no input field is open and no drag item or sentence is left.
  bool ExerciseDone() const;
  // The picture a finished gap leaves in its place.
  const TXBitmap* FieldPicture(std::size_t field) const;

  // ---- state for the widgets, tools and tests
  const TPageModel& Model() const { return m_model; }
  const TPageLayout& Layout() const { return m_layout; }
  const TQtTextMetrics& Fonts() const { return m_fonts; }
  int ScrollY() const { return m_scrollY; }
  void ScrollTo(int y);
  bool ScrollBarShown() const;
  QScrollBar* ScrollBar() const { return m_scrollBar; }
  int ViewWidth() const;  // page width less the scroll bar when shown
  int ContentHeight() const { return m_layout.contentHeight; }
  int HoverLink() const { return m_hoverLink; }
  bool HintShown() const;
  std::string HintText() const;
  const std::vector<TPageEdit*>& Fields() const { return m_fields; }
  TXMultipleChoice* MultipleChoice() const { return m_multiple; }
  const std::vector<tXColorButton*>& Buttons() const { return m_buttons; }
  // The visible part as drawn on the screen.
  QImage VisibleImage();
  // The text a right click at a page position gives, and its rectangle; false over nothing.
  bool WordAt(QPoint pagePos, std::string& text, QRect& rect) const;
  // Feeds a mouse move at a widget position (also what a page load does to refresh hover).
  void HoverAt(QPoint pos);
  // Milliseconds of the hint delay and display (tests shorten them).
  int hintDelayMs = 500, hintShowMs = 2000;

  // ---- keyboard (txpagekeys.cpp)
  // The link that Tab gave the keyboard focus (Return follows it); -1 for none.
  int FocusLink() const { return m_focusLink; }
  // Steps the keyboard focus to the next (or previous) link or open field; false without any.
  bool StepFocus(bool forward);
  // Answers the choice grid with its cell `number` (1 for the first); false when no open grid
  // has that cell.
  bool ChooseByKey(int number);

  // ---- drag blocks and sentence building (txpagedrag.cpp)
  // The random source of the block and part shuffles, 0 .. n-1 (tests replace it).
  std::function<int(int n)> dragRandom;
  // Pace of a glide back (100 steps) and of a solved sentence contracting (12 frames).
  int glideStepMs = 3, contractFrameMs = 40;
  const tDragAufgabenListe& DragList() const { return m_drag; }
  const tSatzbauListe& SentenceList() const { return m_satz; }
  bool Dragging() const { return m_dragging != TDragKind::None; }
  bool DragAnimating() const { return m_dragAnimating; }
  // The blocks and sentence parts on show, in view coordinates.
  std::vector<TDriveCell> driveCells() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void leaveEvent(QEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  class THost;
  friend class THost;
  enum class TDragKind { None, Block, Part };

  struct TReaction {
    enum Kind { LoadPage, Command, CheckDone, ChoiceToast } kind;
    std::string text;
    bool right = false;
    unsigned generation = 0;  // page the reaction belongs to
  };

  // False when the page ran over the reader's bounds: it was refused with a message.
  bool readAndShow(std::string_view text, const std::function<void()>& beforeRead = {});
  bool loadPage(const std::string& name);
  void loadExerciseFile(std::string_view text);
  void followExerciseLink(const std::string& target);
  void playSound(const std::string& target);
  void runCommand(const std::string& command);
  void postReaction(TReaction reaction);
  void deliverReaction();
  void wireField(TPageEdit* edit, std::size_t index, bool inFlow);
  void fieldFinished(std::size_t index, bool right);
  void markField(std::size_t index);
  // The line a finished exercise page shows: "Unglaublich!", "3 von 5 richtig", or at the
  // end of a round of exercises "Runde: 14 von 17 richtig".
  std::string exerciseResult();
  void hideNote();
  // The learning memory's tally of the round just ended, as a note (nothing with it off).
  void showRoundSummary();
  void showFieldPicture(std::size_t index);
  void wireChoice();
  void deferFollow(const std::string& target, const QRect& area);
  void layoutAndPaint();
  void buildMosaic();
  void createWidgets();
  void placeWidgets();
  void paintPage();
  void paintSharp();
  void dropSharp();
  void updateScrollBar();
  void setHover(int link);
  void switchImages(int link, bool highlighted);
  void showHint();
  void hideHint();
  void startAnimations();
  void animationStep(int picture);
  std::string firstBadLink() const;
  static int defaultDragRandom(int n);
  const TTextStyle* blockStyle() const;
  void drawCentred(TXBitmap& picture, const TTextStyle& style, const std::string& text, TColor fill);
  void buildExerciseLists();
  void drawExercises();
  void drawSentence(int sentence, int except);
  void floatAt(QPoint pagePos);
  void dropFloat();
  bool dragPress(QPoint pos);
  bool dragMove(QPoint pos);
  bool dragRelease(QPoint pos);
  void startDragAnimation(std::function<bool()> step, int intervalMs);
  void glideTo(QPoint target, std::function<void()> done);
  void contract(int sentence);
  void stopDragAnimation();
  void dragAnimationTick();
  void resetDrag();
  bool dragExercisesDone() const;
  std::string dragTextAt(QPoint pagePos) const;
  QRect toView(const TRect& r) const { return QRect(r.x, r.y - m_scrollY, r.w, r.h); }
  QPoint toPage(QPoint p) const { return QPoint(p.x(), p.y() + m_scrollY); }
  std::vector<int> followableLinks() const;
  void paintFocusFrame(QPainter& p) const;
  std::string targetOf(int link) const;  // name before "@", aliases resolved
  std::string hintOf(int link) const;    // name after "@"

  TPageModel m_model;
  TBedingung m_bedingung;
  std::unique_ptr<THost> m_host;
  std::unique_ptr<THtxReader> m_reader;
  TPageLayout m_layout;
  TQtTextMetrics m_fonts;
  TPictureList m_pictures;
  std::shared_ptr<const TPicture> m_background;
  std::unique_ptr<TMosaic> m_mosaic;
  std::unique_ptr<TPagePainter> m_painter;
  TXBitmap m_buffer;
  QImage m_bufferView;
  TXBitmap m_sharp;
  QImage m_sharpView;
  int m_sharpScale = 0;
  TPageColors m_colors;
  std::string m_xpath, m_xfile, m_sonderzeichen;
  bool m_autoJump = true, m_htmlChild = false;
  int m_mouseLock = 0;
  bool m_exerciseMode = false;
  bool m_readingGenerated = false;
  std::vector<std::string> m_history;
  std::vector<std::string> m_exercises;
  std::string m_exPrefix, m_exSuffix, m_continueTarget;
  int m_exCounter = -1;
  std::vector<int> m_shownExercises;
  std::vector<TReaction> m_reactions;
  unsigned m_generation = 0;
  static constexpr char kFieldRight = 1, kFieldWrong = 2;
  std::vector<char> m_fieldDone;  // per field: 0 open, kFieldRight, kFieldWrong
  bool m_resultCounted = false, m_exercisePage = false;
  int m_roundRight = 0, m_roundTotal = 0;
  std::string m_lastToast;
  bool m_choiceAnswered = false;
  QMenu* m_popupMenu = nullptr;
  QScrollBar* m_scrollBar = nullptr;
  int m_scrollY = 0;
  int m_hoverLink = -1;
  int m_focusLink = -1;
  QPoint m_lastMouse{-1, -1};
  QTimer m_hintDelay, m_hintClose, m_waitTimer, m_mosaicTimer;
  std::vector<std::unique_ptr<QTimer>> m_animTimers;
  std::vector<int> m_frames;  // per picture index
  THintWindow* m_hint = nullptr;
  std::string m_pendingHint;
  std::unique_ptr<TXLabel> m_label;
  std::string m_labelText;
  std::vector<TPageEdit*> m_fields;
  TXMultipleChoice* m_multiple = nullptr;
  std::vector<tXColorButton*> m_buttons;
  bool m_toastRunning = false;
  QImage m_toastFrame;
  tDragAufgabenListe m_drag;
  tSatzbauListe m_satz;
  std::vector<std::pair<QPoint, TXBitmap>> m_settled;  // matched blocks and solved sentences, as drawn
  bool m_listsBuilt = false, m_dragAnimating = false;
  TDragKind m_dragging = TDragKind::None;
  int m_dragIndex = -1;
  QPoint m_grab;
  const TXBitmap* m_floatPicture = nullptr;
  TXBitmap m_floatUnder;
  QRect m_floatRect;
  QTimer m_dragAnim;
  QElapsedTimer m_dragClock;
  std::function<bool()> m_dragAnimStep;
  unsigned m_animSerial = 0;
};
