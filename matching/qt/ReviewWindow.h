// The review window: the match tree with every barcode expanded, a preview of the selected
// photo, and four buttons that end the review with a code (OK 1 after a confirmation, Cancel 0,
// Revert 2, Return to Vesk-X 3).
#pragma once

#include "Barcode.h"

#include <QDialog>
#include <QImage>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTreeView;
class ReviewModel;

class ReviewWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ReviewWindow(QWidget* parent = nullptr);

    // The folder the photo names are relative to; ends with "/".
    void setWorkingPathName(const std::string& workingPathName) { fWorkingPathName = workingPathName; }

    // Shows list with every barcode expanded; null shows an empty tree.
    void setBarcodeList(BarcodeList* list);
    ReviewModel* model() const { return fModel; }
    QTreeView* imageSortView() const { return fImageSortView; }

    // The photo of the selected row, loaded; null when a barcode or nothing is selected or the
    // file cannot be read.
    const QImage& selectedImage() const { return fSelectedImage; }
    void setSelectedImage(const std::optional<std::string>& path);

    // Grows the window by 550 x 330 with its top-right corner kept, within the screen.
    void growOnce();

    void ibOKHit();
    void ibCancelHit();
    void ibRevertHit();
    void ibReturnToVeskx();

  signals:
    void selectedImageChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void outlineViewSelectionDidChange();
    void showPreview();

    std::string fWorkingPathName;
    ReviewModel* fModel = nullptr;
    QTreeView* fImageSortView = nullptr;
    QLabel* fPreview = nullptr;
    QLabel* fPreviewName = nullptr;
    QImage fSelectedImage;
};
