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
    setWindowTitle(tr("VeskBarcode Preferences"));

    auto* matching = new QGroupBox(tr("Matching"));
    auto* matchingForm = new QFormLayout(matching);
    auto* alignmentLayout = new QVBoxLayout;
    fAutomaticAlignment = new QRadioButton(tr("Line up the camera and scanner clocks automatically"));
    fAutomaticAlignment->setObjectName(QStringLiteral("automaticAlignment"));
    alignmentLayout->addWidget(fAutomaticAlignment);
    fAutomaticAlignment->setToolTip(
        tr("VeskBarcode works out how far the camera clock is from the scanner's (minutes, hours or days, "
           "and a clock that runs fast or slow, for each camera body) from the scans and photos "
           "themselves, marks the photos whose place is in doubt and warns when it cannot line the clocks "
           "up with confidence."));
    fAutomaticAlignmentNote =
        explanation(tr("Recommended. VeskBarcode finds how far apart the two clocks are from the pauses "
                       "between subjects, and marks the photos whose place is in doubt. For example, a "
                       "camera set 13 minutes behind the scanner, or still on last season's time, needs "
                       "nothing from you."));
    alignmentLayout->addWidget(fAutomaticAlignmentNote);
    fLastRecordAlignment =
        new QRadioButton(tr("Take the last scan and the last photo as taken at the same moment"));
    fLastRecordAlignment->setObjectName(QString::fromLatin1(sPrefs_doUseLastBarcodeAsSyncData));
    alignmentLayout->addWidget(fLastRecordAlignment);
    fLastRecordAlignment->setToolTip(tr("The old way: right only when the shoot ended with the last "
                                        "subject's photos, taken the skew below after its scan."));
    fLastRecordAlignmentNote =
        explanation(tr("The old way. Right only when the shoot ended with the last subject's photos: test "
                       "shots after the last subject, or a last card scanned for someone who was absent, "
                       "shift every photo."));
    alignmentLayout->addWidget(fLastRecordAlignmentNote);
    auto* alignmentChoice = new QButtonGroup(this);
    alignmentChoice->addButton(fAutomaticAlignment);
    alignmentChoice->addButton(fLastRecordAlignment);
    matchingForm->addRow(alignmentLayout);
    fSkew = new QDoubleSpinBox;
    fSkew->setObjectName(QString::fromLatin1(sPrefs_barcodeMatchSkewSeconds));
    fSkew->setRange(0.0, 3600.0);
    fSkew->setDecimals(2);
    fSkew->setSingleStep(0.5);
    fSkew->setSuffix(tr(" s"));
    fSkew->setToolTip(tr("How long after the last scan of the shoot its last photo was taken."));
    matchingForm->addRow(tr("Clock skew between scan and photo:"), fSkew);
    fSkewNote = explanation(
        tr("Only for the old way: how long after the last scan of the shoot its last photo was taken. For "
           "example, the last card scanned at 15:42:10 and that subject's last photo taken at 15:42:40: "
           "enter 30 s. Too small puts each subject's first photos under the subject before; too large "
           "puts its last photos under the next one."));
    matchingForm->addRow(fSkewNote);
    // The skew belongs to the last-record alignment only.
    connect(fLastRecordAlignment, &QRadioButton::toggled, fSkew, &QWidget::setEnabled);
    connect(fLastRecordAlignment, &QRadioButton::toggled, fSkewNote, &QWidget::setEnabled);
    auto* matchingLayout = new QVBoxLayout;
    fAllowModify = addCheckBox(matchingLayout, tr("Let me review the matches before they go to Vesk-X"),
                               tr("Shows the review window, where photos can be moved between barcodes."));
    fAllowModify->setObjectName(QString::fromLatin1(sPrefs_doAllowUserToModifyData));
    fThreeIDs = new QCheckBox(tr("Name the previous and next barcode in the matched list (always on)"));
    fThreeIDs->setObjectName(QString::fromLatin1(sPrefs_doOutputThreeBarcodeIDs));
    fThreeIDs->setChecked(true);
    fThreeIDs->setEnabled(false);
    matchingLayout->addWidget(fThreeIDs);
    matchingForm->addRow(matchingLayout);

    auto* dataFile = new QGroupBox(tr("Barcode data file"));
    auto* dataForm = new QFormLayout(dataFile);
    fDataFileName = new QLineEdit;
    fDataFileName->setObjectName(QString::fromLatin1(sPrefs_defaultBarcodeDataFileName));
    fDataFileName->setToolTip(tr("Looked for in the job folder when BarcodeDataSource.txt is not there."));
    dataForm->addRow(tr("Other data file name:"), fDataFileName);
    auto* dataLayout = new QVBoxLayout;
    fPromptForMissing =
        addCheckBox(dataLayout, tr("Ask me for a data file when none is found"),
                    tr("Opens a file chooser instead of failing the job when the folder has no data file."));
    fPromptForMissing->setObjectName(QString::fromLatin1(sPrefs_doPromptForMissingBarcodeDataFile));
    fManualPrompt = addCheckBox(dataLayout, tr("Skip the scanner: match with a data file I choose"),
                                tr("The job does not connect to the scanner and goes straight to matching."));
    fManualPrompt->setObjectName(QString::fromLatin1(sPrefs_doManualPromptForBarcodeDataFile));
    dataForm->addRow(dataLayout);

    auto* testing = new QGroupBox(tr("Testing"));
    auto* testingLayout = new QVBoxLayout(testing);
    fInternalTesting = addCheckBox(
        testingLayout, tr("Internal testing mode"),
        tr("Asks before each download and never erases the scanner. For trying out the program."));
    fInternalTesting->setObjectName(QString::fromLatin1(sPrefs_doEnableInternalTesting));

    auto* buttons = new QDialogButtonBox;
    QPushButton* factory = buttons->addButton(tr("Factory Settings"), QDialogButtonBox::ResetRole);
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
        runPlainAlert(tr("Problem With awakeFromNib:").toStdString(),
                      tr("The preference store could not be opened; changes will not be kept.").toStdString(),
                      tr("OK").toStdString());
        return;
    }
    GeneralPreferencesController::getDoOutputThreeBarcodeIDs();
}

void GeneralPreferencesDialog::setLastRecordAlignment(bool lastRecord) {
    fLastRecordAlignment->setChecked(lastRecord);
    fAutomaticAlignment->setChecked(!lastRecord);
    fSkew->setEnabled(lastRecord);
    fSkewNote->setEnabled(lastRecord);
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
