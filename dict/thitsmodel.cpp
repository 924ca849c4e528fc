#include "dict/thitsmodel.h"

#include "dict/database.h"
#include "platform/codec.h"

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
