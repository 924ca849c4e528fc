// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tokcancelrow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* okCancelRow(QDialog* dialog, const QString& okCaption) {
  auto* ok = new QPushButton(okCaption, dialog);
  auto* abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(abbrechen, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(abbrechen);
  return row;
}
