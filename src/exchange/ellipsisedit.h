#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

// A line edit with a "..." button beside it that asks for a value (a file or
// a directory name) and puts the answer into the edit.
class TEllipsisEdit final : public QWidget {
    Q_OBJECT
  public:
    // `browse` gets the current text and returns the new one; empty keeps it.
    using TBrowse = std::function<QString(const QString& current)>;
    explicit TEllipsisEdit(TBrowse browse, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return FEdit; }
    QToolButton* Button() const { return FButton; }

  private:
    QLineEdit* FEdit;
    QToolButton* FButton;
};
