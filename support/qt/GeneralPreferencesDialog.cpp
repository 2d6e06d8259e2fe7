#include "GeneralPreferencesDialog.h"

#include "AlertPanel.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "RunningThread.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

const char controllerNibFileName[] = "GeneralPreferencesDialog";

namespace {

QPointer<GeneralPreferencesDialog> gOpenDialog;

bool isTrue(const std::string& text) {
    return text == "true" || text == "YES" || text == "yes" || text == "1";
}

// A smaller note under a choice that says what it does.
QLabel* explanation(const QString& text) {
    auto* note = new QLabel(text);
    note->setWordWrap(true);
    note->setIndent(24);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    note->setForegroundRole(QPalette::PlaceholderText);
    return note;
}

QCheckBox* addCheckBox(QVBoxLayout* layout, const QString& text, const QString& note) {
    auto* box = new QCheckBox(text);
    box->setToolTip(note);
    layout->addWidget(box);
    layout->addWidget(explanation(note));
    return box;
}

// The end handler of the dialog: it only writes to the log; the dialog saved what OK asked.
void printInfoAlertDidEnd(int returnCode, void*) {
    if (returnCode == 1) {
        MessageLog::LogMessage("printInfoAlertDidEnd with NSOKButton");
        return;
    }
    if (returnCode != 0)
        return;
    MessageLog::LogMessage("printInfoAlertDidEnd with NSCancelButton");
    MessageLog::LogMessage(myFormat("SkewTime returned: [%2.2f]",
                                    double(GeneralPreferencesController::getBarcodeMatchSkewSeconds())));
}

} // namespace

GeneralPreferencesDialog::GeneralPreferencesDialog(QWidget* parent) : DialogController(parent) {
    setObjectName(QString::fromLatin1(controllerNibFileName));
    setWindowTitle(QStringLiteral("VeskBarcode Preferences"));

    auto* matching = new QGroupBox(QStringLiteral("Matching"));
    auto* matchingForm = new QFormLayout(matching);
    auto* alignmentLayout = new QVBoxLayout;
    fAutomaticAlignment =
        new QRadioButton(QStringLiteral("Line up the camera and scanner clocks automatically"));
    fAutomaticAlignment->setObjectName(QStringLiteral("automaticAlignment"));
    alignmentLayout->addWidget(fAutomaticAlignment);
    fAutomaticAlignment->setToolTip(QStringLiteral(
        "VeskBarcode works out how far the camera clock is from the scanner's (minutes, hours or days, and a "
        "clock that runs fast or slow, for each camera body) from the scans and photos themselves, marks the "
        "photos whose place is in doubt and warns when it cannot line the clocks up with confidence."));
    alignmentLayout->addWidget(explanation(
        QStringLiteral("Recommended: works for any clock offset and marks the doubtful photos.")));
    fLastRecordAlignment =
        new QRadioButton(QStringLiteral("Take the last scan and the last photo as taken at the same moment"));
    fLastRecordAlignment->setObjectName(QString::fromLatin1(sPrefs_doUseLastBarcodeAsSyncData));
    alignmentLayout->addWidget(fLastRecordAlignment);
    fLastRecordAlignment->setToolTip(QStringLiteral(
        "The old way: right only when the last photo of the shoot was taken about as long after the last "
        "scan as the skew below says."));
    alignmentLayout->addWidget(
        explanation(QStringLiteral("The last photo counts as taken the skew below after "
                                   "the last scan.")));
    auto* alignmentChoice = new QButtonGroup(this);
    alignmentChoice->addButton(fAutomaticAlignment);
    alignmentChoice->addButton(fLastRecordAlignment);
    matchingForm->addRow(alignmentLayout);
    fSkew = new QDoubleSpinBox;
    fSkew->setObjectName(QString::fromLatin1(sPrefs_barcodeMatchSkewSeconds));
    fSkew->setRange(0.0, 3600.0);
    fSkew->setDecimals(2);
    fSkew->setSingleStep(0.5);
    fSkew->setSuffix(QStringLiteral(" s"));
    fSkew->setToolTip(QStringLiteral(
        "With the last scan and the last photo taken as the same moment: how long after a scan its "
        "subject's photos may be taken. A photo belongs to a scan when it was taken after the scan, less "
        "this many seconds. Make it about as long as your last subject's photos came after its scan."));
    matchingForm->addRow(QStringLiteral("Clock skew between scan and photo:"), fSkew);
    // The skew belongs to the last-record alignment only.
    connect(fLastRecordAlignment, &QRadioButton::toggled, fSkew, &QWidget::setEnabled);
    auto* matchingLayout = new QVBoxLayout;
    fAllowModify =
        addCheckBox(matchingLayout, QStringLiteral("Let me review the matches before they go to Vesk-X"),
                    QStringLiteral("Shows the review window, where photos can be moved between barcodes."));
    fAllowModify->setObjectName(QString::fromLatin1(sPrefs_doAllowUserToModifyData));
    fThreeIDs =
        new QCheckBox(QStringLiteral("Name the previous and next barcode in the matched list (always on)"));
    fThreeIDs->setObjectName(QString::fromLatin1(sPrefs_doOutputThreeBarcodeIDs));
    fThreeIDs->setChecked(true);
    fThreeIDs->setEnabled(false);
    matchingLayout->addWidget(fThreeIDs);
    matchingForm->addRow(matchingLayout);

    auto* dataFile = new QGroupBox(QStringLiteral("Barcode data file"));
    auto* dataForm = new QFormLayout(dataFile);
    fDataFileName = new QLineEdit;
    fDataFileName->setObjectName(QString::fromLatin1(sPrefs_defaultBarcodeDataFileName));
    fDataFileName->setToolTip(
        QStringLiteral("Looked for in the job folder when BarcodeDataSource.txt is not there."));
    dataForm->addRow(QStringLiteral("Other data file name:"), fDataFileName);
    auto* dataLayout = new QVBoxLayout;
    fPromptForMissing = addCheckBox(
        dataLayout, QStringLiteral("Ask me for a data file when none is found"),
        QStringLiteral("Opens a file chooser instead of failing the job when the folder has no data file."));
    fPromptForMissing->setObjectName(QString::fromLatin1(sPrefs_doPromptForMissingBarcodeDataFile));
    fManualPrompt =
        addCheckBox(dataLayout, QStringLiteral("Skip the scanner: match with a data file I choose"),
                    QStringLiteral("The job does not connect to the scanner and goes straight to matching."));
    fManualPrompt->setObjectName(QString::fromLatin1(sPrefs_doManualPromptForBarcodeDataFile));
    dataForm->addRow(dataLayout);

    auto* testing = new QGroupBox(QStringLiteral("Testing"));
    auto* testingLayout = new QVBoxLayout(testing);
    fInternalTesting = addCheckBox(
        testingLayout, QStringLiteral("Internal testing mode"),
        QStringLiteral(
            "Asks before each download and never erases the scanner. For trying out the program."));
    fInternalTesting->setObjectName(QString::fromLatin1(sPrefs_doEnableInternalTesting));

    auto* buttons = new QDialogButtonBox;
    QPushButton* factory =
        buttons->addButton(QStringLiteral("Factory Settings"), QDialogButtonBox::ResetRole);
    factory->setObjectName(QStringLiteral("revertToInitialValues"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    fApplyButton = buttons->addButton(QDialogButtonBox::Apply);
    fApplyButton->setObjectName(QStringLiteral("ibApplyButton"));
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(factory, &QPushButton::clicked, this, [this] { revertToInitialValues(); });
    connect(cancel, &QPushButton::clicked, this, [this] { dismisserHit(0); });
    connect(fApplyButton, &QPushButton::clicked, this, [this] { saveToStore(); });
    connect(ok, &QPushButton::clicked, this, [this] { dismisserHit(1); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(matching);
    layout->addWidget(dataFile);
    layout->addWidget(testing);
    layout->addWidget(buttons);

    awakeFromNib();
    loadFromStore();
    fAutomaticAlignment->setFocus();
}

void GeneralPreferencesDialog::awakeFromNib() {
    if (!preferenceStore()) {
        runPlainAlert("Problem With awakeFromNib:",
                      "The preference store could not be opened; changes will not be kept.", "OK");
        return;
    }
    GeneralPreferencesController::getDoOutputThreeBarcodeIDs();
}

void GeneralPreferencesDialog::setLastRecordAlignment(bool lastRecord) {
    fLastRecordAlignment->setChecked(lastRecord);
    fAutomaticAlignment->setChecked(!lastRecord);
    fSkew->setEnabled(lastRecord);
}

void GeneralPreferencesDialog::loadFromStore() {
    setLastRecordAlignment(GeneralPreferencesController::getDoUseLastBarcodeAsSyncData());
    fSkew->setValue(double(GeneralPreferencesController::getBarcodeMatchSkewSeconds()));
    std::optional<std::string> name = GeneralPreferencesController::getDefaultBarcodeDataFileName();
    fDataFileName->setText(name ? QString::fromStdString(*name) : QString());
    fPromptForMissing->setChecked(GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile() != 0);
    fManualPrompt->setChecked(GeneralPreferencesController::getDoManualPromptForBarcodeDataFile() != 0);
    fAllowModify->setChecked(GeneralPreferencesController::getDoAllowUserToModifyData());
    fInternalTesting->setChecked(GeneralPreferencesController::getDoEnableInternalTestingMode());
}

void GeneralPreferencesDialog::saveToStore() {
    PreferenceStore* store = preferenceStore();
    if (!store)
        return;
    store->setValue(sPrefs_doUseLastBarcodeAsSyncData, fLastRecordAlignment->isChecked() ? "true" : "false");
    store->setValue(sPrefs_barcodeMatchSkewSeconds, preferenceDecimalText(fSkew->value()));
    store->setValue(sPrefs_defaultBarcodeDataFileName, fDataFileName->text().trimmed().toStdString());
    store->setValue(sPrefs_doPromptForMissingBarcodeDataFile, fPromptForMissing->isChecked() ? "1" : "0");
    store->setValue(sPrefs_doManualPromptForBarcodeDataFile, fManualPrompt->isChecked() ? "1" : "0");
    store->setValue(sPrefs_doAllowUserToModifyData, fAllowModify->isChecked() ? "true" : "false");
    store->setValue(sPrefs_doEnableInternalTesting, fInternalTesting->isChecked() ? "true" : "false");
    myPrintfDebug(myFormat("Preferences saved: %s alignment, skew %.2f s",
                           fLastRecordAlignment->isChecked() ? "last-record" : "automatic", fSkew->value()));
}

void GeneralPreferencesDialog::revertToInitialValues() {
    std::map<std::string, std::string> defaults = GeneralPreferencesController::factoryDefaults();
    auto text = [&](const char* key) {
        auto found = defaults.find(key);
        return found == defaults.end() ? std::string() : found->second;
    };
    setLastRecordAlignment(isTrue(text(sPrefs_doUseLastBarcodeAsSyncData)));
    fSkew->setValue(parsePreferenceDecimal(text(sPrefs_barcodeMatchSkewSeconds)));
    fDataFileName->setText(QString::fromStdString(text(sPrefs_defaultBarcodeDataFileName)));
    fPromptForMissing->setChecked(isTrue(text(sPrefs_doPromptForMissingBarcodeDataFile)));
    fManualPrompt->setChecked(isTrue(text(sPrefs_doManualPromptForBarcodeDataFile)));
    fAllowModify->setChecked(isTrue(text(sPrefs_doAllowUserToModifyData)));
    fInternalTesting->setChecked(isTrue(text(sPrefs_doEnableInternalTesting)));
}

void GeneralPreferencesDialog::doOKHit() {
    saveToStore();
}

GeneralPreferencesDialog* openPreferencesDialog(QWidget* mainWindow) {
    if (isRunningThread()) {
        myPrintfDebug("A Thread is still Running");
        myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9002", nullptr, nullptr);
        return nullptr;
    }
    if (gOpenDialog) {
        gOpenDialog->raise();
        gOpenDialog->activateWindow();
        return gOpenDialog;
    }
    auto* dialog = new GeneralPreferencesDialog(mainWindow);
    gOpenDialog = dialog;
    dialog->beginSheetModalForWindow(mainWindow, printInfoAlertDidEnd, nullptr);
    return dialog;
}
