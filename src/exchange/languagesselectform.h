#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// The languages whose texts go with an export: every one is offered and
// chosen; the user leaves chosen those wanted.
class TLanguagesSelectForm final : public QDialog {
    Q_OBJECT
  public:
    explicit TLanguagesSelectForm(const QStringList& languages, QWidget* parent = nullptr);
    // The chosen languages, in the list's order.
    QStringList Selected() const;

  private:
    QListWidget* FList;
};
