#pragma once

#include <QPoint>

// Where a mouse drag of the list's rows stands. A left drag starts once the
// mouse has moved the system's drag distance from a press on a row; a right
// drag starts only after RightDragThreshold pixels, because a right click
// that moves a little must still open the popup menu on release.
class TListDragState {
  public:
    static constexpr int RightDragThreshold = 50;

    void PressLeft(const QPoint& pos, int row) {
        FLeftPressPos = pos;
        FLeftPressRow = row;
    }
    void PressRight(const QPoint& pos) {
        FRightArmed = true;
        FRightPressPos = pos;
    }
    // The row a left drag starts from when the mouse at pos is far enough
    // from the press (asked once per press), otherwise -1.
    int TakeLeftDragRow(const QPoint& pos, int startDistance) {
        if (FLeftPressRow < 0 || (pos - FLeftPressPos).manhattanLength() < startDistance) return -1;
        const int row = FLeftPressRow;
        FLeftPressRow = -1;
        return row;
    }
    bool RightArmed() const { return FRightArmed; }
    // True (and disarmed) when a right drag starts at pos.
    bool TakeRightDrag(const QPoint& pos) {
        if (!FRightArmed || (pos - FRightPressPos).manhattanLength() < RightDragThreshold)
            return false;
        FRightArmed = false;
        return true;
    }
    void ReleaseLeft() { FLeftPressRow = -1; }
    // True (and disarmed) when a right release started no drag: the popup opens.
    bool TakeRightRelease() {
        const bool armed = FRightArmed;
        FRightArmed = false;
        return armed;
    }
    void DisarmRight() { FRightArmed = false; }
    const QPoint& LeftPressPos() const { return FLeftPressPos; }
    const QPoint& RightPressPos() const { return FRightPressPos; }

  private:
    QPoint FLeftPressPos;
    int FLeftPressRow = -1;
    bool FRightArmed = false;
    QPoint FRightPressPos;
};
