#pragma once

#include <QAction>

class TPelvarObjectAction;

// A window action standing for one action of the current folder.
class TDAction : public QAction {
    Q_OBJECT
  public:
    TDAction(TPelvarObjectAction* link, QObject* parent) : QAction(parent), Link(link) {}

    TPelvarObjectAction* Link;  // owned by the folder object
};
