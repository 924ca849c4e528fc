// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

class TXDatabase;

// The result grid's rows: a view over the database's Hits (no item per cell). Columns
// "Nr.", "  Vokabel", "  Bedeutung(en)", "  Wortart"; with no hits one empty row.
// The row count is taken at refresh(), and every read checks it against the current
// hits, so a grid that has not been refreshed yet never reads past them.
class THitsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit THitsModel(const TXDatabase& db, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Takes the current hits: a reset when their number changed, else the cells repaint.
  void refresh();
  // New hits (a search or a browse step): always a reset, so no old selection stays.
  void reset();
  // One empty row, whatever the database holds (a half switch).
  void empty();
  int hitCount() const { return m_rows; }
  // Index into the half of a grid row; -1 for the empty row or a row that is gone.
  int entryOfRow(int row) const;

 private:
  const TXDatabase& m_db;
  int m_rows = 0;
};

// Draws the cells as the standard delegate does, but keeps each text's shaped line: the
// grid repaints whole on every browse keystroke, and shaping every cell again was most
// of the keystroke's time.
class THitsDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  // The shaped line of `text` in `font`, elided to `width` when it is wider.
  const QStaticText& line(const QString& text, const QFont& font, const QFontMetrics& metrics,
                          Qt::TextElideMode mode, int width) const;

  static constexpr qsizetype kMaxLines = 4096;
  mutable QFont m_font;
  mutable QHash<QString, QStaticText> m_lines;
};
