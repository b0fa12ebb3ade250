#pragma once

#include <QWidget>

#include "appcore/dsptree.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

// A window that edits one structure's body through a form suited to its
// kind. The store is read by Load and written by Save only; a body that does
// not read, or an edit that does not hold together, is named in a message
// and leaves the store as it was.
class TBodyEditorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TBodyEditorWindow(QWidget* parent = nullptr);

    void SetStructure(const QString& alias, const QString& name, int objectType);
    const QString& AliasName() const { return FAlias; }
    const QString& StructureName() const { return FName; }
    int ObjectType() const { return FObjectType; }

    // Reads and shows the body; a missing structure shows an empty one.
    // Raises EDSPError naming the structure when the body does not read.
    void Load();
    // Writes the body. False, after a message naming what is wrong, when the
    // edit does not hold together.
    bool Save();
    bool Modified() const { return FModified; }
    QPushButton* SaveButton() const { return FSave; }

  protected:
    // Shows a body (raises EDSPError when it is not one of the kind).
    virtual void ShowBody(const TDSPNode& root) = 0;
    // The body as edited (raises EDSPError listing what does not hold together).
    virtual TDSPNode CollectBody() const = 0;
    void SetModified(bool modified);
    QVBoxLayout* Content() const { return FContent; }
    void SetHeader(const QString& text);
    void closeEvent(QCloseEvent* event) override;

  private:
    QString FAlias;
    QString FName;
    int FObjectType = 0;
    bool FModified = false;
    QLabel* FHeader;
    QVBoxLayout* FContent;
    QPushButton* FSave;
    QPushButton* FClose;
};
