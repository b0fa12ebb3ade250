#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QTimer;
class QToolButton;

// The version and control inspection window: while its button is down it
// names the control under the mouse pointer and that control's parent class.
class TVInfoForm2 : public QWidget {
    Q_OBJECT
  public:
    explicit TVInfoForm2(QWidget* parent = nullptr);

    // Creates the single window when there is none, shows it and brings it to front.
    static TVInfoForm2* ShowInfoForm();
    static TVInfoForm2* Instance();

    void SetAutoInfo(bool on);
    bool AutoInfo() const;
    // What one tick does for the mouse at a screen point.
    void InspectAt(const QPoint& globalPos);

    QToolButton* AutoInfoButton;
    QLineEdit* Edit1;
    QLineEdit* Edit2;

  private:
    QTimer* FTimer;
};
