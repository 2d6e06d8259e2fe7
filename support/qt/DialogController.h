// A dialog shown window-modal on another window (the main window), ended by buttons whose tag
// is the result: tag 1 runs doOKHit first.
#pragma once

#include <QDialog>

#include <functional>

class DialogController : public QDialog {
    Q_OBJECT
  public:
    explicit DialogController(QWidget* parent = nullptr);

    void setContextData(void* contextData) { fContextData = contextData; }
    void* contextData() const { return fContextData; }

    // Shows the dialog window-modal on window and returns at once; didEnd runs with the tag of
    // the button that ended it. The dialog deletes itself after that.
    void beginSheetModalForWindow(QWidget* window,
                                  std::function<void(int returnCode, void* contextData)> didEnd,
                                  void* contextData);

    // The action of every button that ends the dialog.
    void dismisserHit(int tag);

  protected:
    // Called for the button with tag 1 before the dialog ends.
    virtual void doOKHit() {}

  private:
    void* fContextData = nullptr;
};
