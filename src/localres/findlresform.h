#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "findlresrules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeWidget;
class TCommonListForm;
class TFindLResThread;

// The resource search window: looks for strings of one database whose ID or
// text contains a substring, in sections or given string IDs, on a worker
// thread; shows one row per string ID with its text in every language.
class TFindLresForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFindLresForm(QWidget* parent = nullptr);
    ~TFindLresForm() override;
    void Init(const QString& alias, const QStringList& sections, const QString& startPath,
              TCommonListForm* objForm, const QStringList& languages, const QStringList& stringIDs);

    void StartFind();
    void StopFind();
    bool Idle() const { return FIdle; }
    const TFoundRows& Found() const { return FFound; }
    QTreeWidget* ListViewLResFound() const { return FList; }
    QCheckBox* CheckBoxIDSubstr() const { return FIDCheck; }
    QCheckBox* CheckBoxTextSubstr() const { return FTextCheck; }
    QComboBox* ComboBoxIDSubstr() const { return FIDCombo; }
    QComboBox* ComboBoxTextSubstr() const { return FTextCombo; }
    QPlainTextEdit* MemoDetails() const { return FMemo; }
    QString StatusText() const;
    // Opens the edit dialog of the row's string (modal) and reads its texts again.
    void EditRow(int row);
    // Shows the row's string in an explorer window.
    void GoToResource(const QString& stringID);
    TCommonListForm* ObjForm() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void UpdateBoxes();
    void TakeBatch(TLResBatch& batch);
    void StopTimerTick();
    void ShowSelected();
    void AddRow(const TLResFound& found);

    QString FAlias;
    QStringList FSections, FStringIDs, FLanguages;
    QString FStartPath;
    QPointer<TCommonListForm> FObjForm;
    std::unique_ptr<TFindLResThread> FFindThread;
    TFoundRows FFound;
    bool FIdle = true;
    bool FCloseRequested = false;
    QString FMenuStringID;

    QCheckBox* FIDCheck;
    QComboBox* FIDCombo;
    QCheckBox* FTextCheck;
    QComboBox* FTextCombo;
    QPushButton* FFindButton;
    QPushButton* FStopButton;
    QLabel* FAnimation;
    QTreeWidget* FList;
    QPlainTextEdit* FMemo;
    QStatusBar* FStatus;
    QMenu* FPopup;
    QTimer* FStopTimer;
};
