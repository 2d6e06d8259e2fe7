#include "DialogController.h"

DialogController::DialogController(QWidget* parent) : QDialog(parent) {}

void DialogController::beginSheetModalForWindow(QWidget* window,
                                                std::function<void(int returnCode, void* contextData)> didEnd,
                                                void* contextData) {
    setContextData(contextData);
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, this, [this, didEnd](int returnCode) {
        if (didEnd)
            didEnd(returnCode, fContextData);
    });
    open();
}

void DialogController::dismisserHit(int tag) {
    if (tag == 1)
        doOKHit();
    done(tag);
}
