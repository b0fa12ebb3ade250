#pragma once

// A window that may refuse to let the program end (unsaved work): closing the
// main window asks every such window in turn.
class TCloseQueryForm {
  public:
    virtual ~TCloseQueryForm() = default;
    virtual bool CloseQuery() = 0;
};
