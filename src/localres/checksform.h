#pragma once

#include <QList>
#include <QWidget>

#include "translationchecks.h"

class QTreeWidget;
class QLabel;

// The findings of the translation checks; a double-click opens the string.
class TTranslationChecksForm : public QWidget {
    Q_OBJECT
  public:
    TTranslationChecksForm(const QString& alias, const QList<TTranslationFinding>& findings,
                           QWidget* parent = nullptr);
    QTreeWidget* List() const { return FList; }
    void OpenRow(int row);

  private:
    QString FAlias;
    QList<TTranslationFinding> FFindings;
    QTreeWidget* FList;
};
