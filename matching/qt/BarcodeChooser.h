// A dialog that asks for one barcode of the review: a find field and the list of barcodes with
// their scan times and numbers of photos; typing narrows the list and picks its first barcode,
// Enter takes the one picked. For "Move to barcode..." and "this photo is this subject".
#pragma once

#include "Barcode.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;
class QStandardItemModel;

class BarcodeChooser : public QDialog {
    Q_OBJECT
  public:
    // The barcodes of list (kept alive by the caller while the dialog runs); preselected is picked
    // first (null: the first barcode).
    BarcodeChooser(const BarcodeList& list, const Barcode* preselected, const QString& title,
                   const QString& question, QWidget* parent = nullptr);

    // The barcode picked, or null.
    Barcode* chosenBarcode() const;
    QLineEdit* findField() const { return fFind; }
    QListView* listView() const { return fList; }

  private:
    void narrow(const QString& text);

    QLineEdit* fFind = nullptr;
    QListView* fList = nullptr;
    QStandardItemModel* fBarcodes = nullptr;
    QSortFilterProxyModel* fFilter = nullptr;
};
