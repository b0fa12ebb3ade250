#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
#include "listview.h"

// The shared list search form: an explorer binds it to its list (Ctrl+F shows
// it, F3 searches again) and it searches that list's rows.
class TFormLookUp : public QWidget {
    Q_OBJECT
  public:
    explicit TFormLookUp(QWidget* parent = nullptr);
    ~TFormLookUp() override;

    // The one form of the program, created on first use.
    static TFormLookUp& Shared();
    static bool SharedExists();
    static void DestroyShared();

    void SetListView(TPelvarListView* list);
    TPelvarListView* ListView() const { return FListView; }
    // Shows the form with the focus in the search text.
    void ShowForm();
    // Searches from the row after the focused one, wrapping round once; true
    // when a row was found and selected.
    bool Find();

    QLineEdit* edFind;
    QPushButton* btFind;
    QPushButton* btCancel;
    QCheckBox* cbFullName;
    QCheckBox* cbReg;
    QCheckBox* cbIncluded;
    QRadioButton* rbNames;
    QRadioButton* rbParent;
    QRadioButton* rbDescription;
    QCheckBox* cbRegExp;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CaptureOptions();
    int SearchRows(int from, int to) const;

    QPointer<TPelvarListView> FListView;
    bool FSyncingChecks = false;
    // Captured at each search.
    bool FCaseSensitive = false;
    bool FPartial = true;
    bool FAnywhere = true;
    bool FRegExp = false;
    int FMode = 1;  // 1 captions, 2 first sub-item, 3 second sub-item
};
