#include "QtAlertPrompt.h"

#include "MessageLog.h"
#include "UiThread.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}

// The Mac-style alert texts use CR for a line break; the message box wants LF.
QString displayText(const std::string& text) {
    QString result = fromUtf8(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

int showMessageBox(QWidget* parent, const AlertPanelContent& content) {
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("alert_") + fromUtf8(content.key));
    box.setWindowTitle(QStringLiteral("VeskBarcode"));
    box.setIcon(content.alternateButton.empty() ? QMessageBox::Warning : QMessageBox::Question);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(content.title));
    box.setInformativeText(displayText(content.message));
    // The title reads as the question, the message as its explanation.
    if (auto* titleLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont font = titleLabel->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.1);
        titleLabel->setFont(font);
    }
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    QPushButton* defaultButton =
        box.addButton(content.defaultButton.empty() ? QCoreApplication::translate("QtAlertPrompt", "OK")
                                                    : fromUtf8(content.defaultButton),
                      QMessageBox::AcceptRole);
    QPushButton* alternateButton = nullptr;
    QPushButton* otherButton = nullptr;
    if (!content.alternateButton.empty())
        alternateButton = box.addButton(fromUtf8(content.alternateButton), QMessageBox::RejectRole);
    if (!content.otherButton.empty())
        otherButton = box.addButton(fromUtf8(content.otherButton), QMessageBox::DestructiveRole);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(alternateButton ? static_cast<QAbstractButton*>(alternateButton) : defaultButton);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == defaultButton)
        return 1;
    if (clicked && clicked == alternateButton)
        return 0;
    if (clicked && clicked == otherButton)
        return -1;
    return -2;
}

QtAlertPrompt* gInstalledPrompt = nullptr;

} // namespace

// A question asked while another dialog is up (the review's OK) belongs on top of that dialog;
// otherwise on the main window when it is shown.
QWidget* QtAlertPrompt::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QWidget* parent = fParentWindow.data();
    return parent && parent->isVisible() ? parent : nullptr;
}

QtAlertPrompt::QtAlertPrompt(QWidget* parentWindow) : fParentWindow(parentWindow) {}

void QtAlertPrompt::setParentWindow(QWidget* parentWindow) {
    runOnUiThread([&] { fParentWindow = parentWindow; });
}

int QtAlertPrompt::runAlert(const AlertPanelContent& content) {
    int result = -2;
    bool ran = runOnUiThread([&] { result = showMessageBox(dialogParent(), content); });
    if (!ran)
        MessageLog::LogMessage("myNSRunAlertPanel: no application to show the alert " + content.key);
    return result;
}

std::optional<std::string> QtAlertPrompt::chooseFile(const std::string& title, const std::string& folder) {
    std::optional<std::string> chosen;
    runOnUiThread([&] {
        QFileDialog dialog(dialogParent(), fromUtf8(title), QFile::decodeName(folder.c_str()));
        dialog.setObjectName(QStringLiteral("chooseBarcodeDataFile"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setLabelText(QFileDialog::Accept, QCoreApplication::translate("QtAlertPrompt", "Select"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        chosen = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    });
    return chosen;
}

QtAlertPrompt* installQtAlertPrompt(QWidget* parentWindow) {
    if (!gInstalledPrompt) {
        gInstalledPrompt = new QtAlertPrompt(parentWindow);
        setAlertPrompt(gInstalledPrompt);
        return gInstalledPrompt;
    }
    gInstalledPrompt->setParentWindow(parentWindow);
    return gInstalledPrompt;
}
