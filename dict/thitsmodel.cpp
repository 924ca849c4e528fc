// SPDX-License-Identifier: GPL-3.0-or-later
#include "dict/thitsmodel.h"

#include "dict/database.h"
#include "platform/codec.h"

#include <QApplication>
#include <QPainter>

THitsModel::THitsModel(const TXDatabase& db, QObject* parent) : QAbstractTableModel(parent), m_db(db) {}

int THitsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : std::max(m_rows, 1); }

int THitsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

int THitsModel::entryOfRow(int row) const {
  const auto& hits = m_db.Hits();
  if (row < 0 || row >= m_rows || row >= static_cast<int>(hits.size())) return -1;
  const int entry = hits[static_cast<std::size_t>(row)];
  return entry >= 0 && entry < m_db.Count() ? entry : -1;
}

QVariant THitsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const int entry = entryOfRow(index.row());
  if (entry < 0) return QString();
  switch (index.column()) {
    case 0: return QString::number(index.row() + 1);
    case 1: return zek::toQString(m_db.WordView(entry));
    case 2: return zek::toQString(m_db.MeaningView(entry));
    default: return zek::toQString(TXDatabase::KindShortName(m_db.GetKind(entry)));
  }
}

QVariant THitsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  static const char* const headers[] = {"Nr.", "  Vokabel", "  Bedeutung(en)", "  Wortart"};
  return section >= 0 && section < 4 ? QString::fromLatin1(headers[section]) : QVariant();
}

void THitsModel::refresh() {
  const int rows = static_cast<int>(m_db.Hits().size());
  if (rows != m_rows) {
    beginResetModel();
    m_rows = rows;
    endResetModel();
  } else if (rows > 0) {
    emit dataChanged(index(0, 0), index(rows - 1, 3));
  }
}

void THitsModel::reset() {
  beginResetModel();
  m_rows = static_cast<int>(m_db.Hits().size());
  endResetModel();
}

void THitsModel::empty() {
  beginResetModel();
  m_rows = 0;
  endResetModel();
}

const QStaticText& THitsDelegate::line(const QString& text, const QFont& font, const QFontMetrics& metrics,
                                       Qt::TextElideMode mode, int width) const {
  if (font != m_font || m_lines.size() >= kMaxLines) {
    m_lines.clear();
    m_font = font;
  }
  const auto prepared = [&](const QString& key, const auto& shown) -> const QStaticText& {
    auto it = m_lines.find(key);
    if (it == m_lines.end()) {
      QStaticText t(shown());
      t.setTextFormat(Qt::PlainText);
      t.prepare(QTransform(), font);
      it = m_lines.insert(key, t);
    }
    return *it;
  };
  const QStaticText& whole = prepared(text, [&] { return text; });
  if (whole.size().width() <= width) return whole;
  // The key of an elided line carries its width; a character no entry holds separates it.
  return prepared(text + QChar(0xFFFF) + QString::number(width), [&] { return metrics.elidedText(text, mode, width); });
}

void THitsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = opt.widget;
  const QStyle* style = widget ? widget->style() : QApplication::style();
  // The cells have neither icon nor check box, so the text has the whole cell (the style's
  // own text rectangle would shape the text once more only to measure it).
  const QRect textArea = opt.rect;
  const QString text = opt.text;
  // Background, selection and focus as the style draws them; the text follows.
  opt.text.clear();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
  if (text.isEmpty()) return;

  // The standard item's text margins, colours and alignment.
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect r = textArea.adjusted(margin, 0, -margin, 0);
  QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
  const QStaticText& shown = line(text, opt.font, opt.fontMetrics, opt.textElideMode, r.width());
  const QRect at = QStyle::alignedRect(opt.direction, opt.displayAlignment, shown.size().toSize(), r);
  painter->save();
  const bool selected = opt.state & QStyle::State_Selected;
  painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(opt.font);
  painter->setClipRect(r, Qt::IntersectClip);
  painter->drawStaticText(at.topLeft(), shown);
  painter->restore();
}
