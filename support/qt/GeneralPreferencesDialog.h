// The preferences dialog "GeneralPreferencesDialog": every setting a user may change, shown
// window-modal on the main window. OK and Apply save into the preference store, Cancel leaves
// it as it was, Factory Settings puts the factory values into the fields.
#pragma once

#include "DialogController.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

extern const char controllerNibFileName[]; // "GeneralPreferencesDialog"

class GeneralPreferencesDialog : public DialogController {
    Q_OBJECT
  public:
    explicit GeneralPreferencesDialog(QWidget* parent = nullptr);

    // Fills the fields from the preference getters.
    void loadFromStore();
    // Writes every field into the preference store.
    void saveToStore();
    // Fills the fields with the factory defaults; saved only by OK or Apply.
    void revertToInitialValues();

    // The two ways of lining the clocks up (doUseLastBarcodeAsSyncData false and true).
    QRadioButton* automaticAlignmentField() const { return fAutomaticAlignment; }
    QRadioButton* lastRecordAlignmentField() const { return fLastRecordAlignment; }
    QDoubleSpinBox* skewField() const { return fSkew; }
    // The sentences with an example under the two alignments and under the skew.
    QLabel* skewNote() const { return fSkewNote; }
    QLabel* automaticAlignmentNote() const { return fAutomaticAlignmentNote; }
    QLabel* lastRecordAlignmentNote() const { return fLastRecordAlignmentNote; }
    QLineEdit* dataFileNameField() const { return fDataFileName; }
    QCheckBox* promptForMissingField() const { return fPromptForMissing; }
    QCheckBox* manualPromptField() const { return fManualPrompt; }
    QCheckBox* allowModifyField() const { return fAllowModify; }
    QCheckBox* internalTestingField() const { return fInternalTesting; }
    QPushButton* ibApplyButton() const { return fApplyButton; }

  protected:
    void doOKHit() override;

  private:
    // The setting is in force once the window loads: the matched list always names the
    // neighbouring barcodes.
    void awakeFromNib();
    // Checks one of the two alignments; the skew field is used by the last-record one only.
    void setLastRecordAlignment(bool lastRecord);

    QRadioButton* fAutomaticAlignment = nullptr;
    QRadioButton* fLastRecordAlignment = nullptr;
    QDoubleSpinBox* fSkew = nullptr;
    QLabel* fSkewNote = nullptr;
    QLabel* fAutomaticAlignmentNote = nullptr;
    QLabel* fLastRecordAlignmentNote = nullptr;
    QLineEdit* fDataFileName = nullptr;
    QCheckBox* fPromptForMissing = nullptr;
    QCheckBox* fManualPrompt = nullptr;
    QCheckBox* fAllowModify = nullptr;
    QCheckBox* fInternalTesting = nullptr;
    QCheckBox* fThreeIDs = nullptr;
    QPushButton* fApplyButton = nullptr;
};

// openPreferences: the preferences dialog on mainWindow, or, while a worker runs, alert
// NSAlertWindow_9002 and no dialog (null). A dialog already open is raised and returned.
GeneralPreferencesDialog* openPreferencesDialog(QWidget* mainWindow);
