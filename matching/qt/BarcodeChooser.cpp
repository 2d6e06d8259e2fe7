#include "BarcodeChooser.h"

#include "ReviewTexts.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

const int kBarcodeRole = Qt::UserRole + 1;

// The find field hands Up, Down, Page Up and Page Down to the list, so that the photographer can
// type and pick without leaving the field.
class FindFieldKeys : public QObject {
  public:
    FindFieldKeys(QListView* list, QObject* parent) : QObject(parent), fList(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(fList, &copy);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

  private:
    QListView* fList;
};

} // namespace

BarcodeChooser::BarcodeChooser(const BarcodeList& list, const Barcode* preselected, const QString& title,
                               const QString& question, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("barcodeChooser"));
    setWindowTitle(title);
    auto* prompt = new QLabel(question);
    prompt->setWordWrap(true);
    fFind = new QLineEdit;
    fFind->setObjectName(QStringLiteral("barcodeFind"));
    fFind->setPlaceholderText(tr("Type a barcode"));
    fFind->setClearButtonEnabled(true);

    fBarcodes = new QStandardItemModel(this);
    QModelIndex preselectedRow;
    for (const auto& node : list) {
        QString text = QString::fromStdString(node->barcode());
        if (node->scanTime())
            text += QStringLiteral("    ") + ReviewTexts::timeOfDay(*node->scanTime());
        text += QStringLiteral("    ") + tr("%n photo(s)", nullptr, node->numberOfChildren());
        auto* item = new QStandardItem(text);
        item->setEditable(false);
        item->setData(QVariant::fromValue(static_cast<void*>(node.get())), kBarcodeRole);
        item->setData(QString::fromStdString(node->barcode()), Qt::UserRole + 2);
        fBarcodes->appendRow(item);
        if (node.get() == preselected)
            preselectedRow = item->index();
    }
    fFilter = new QSortFilterProxyModel(this);
    fFilter->setSourceModel(fBarcodes);
    fFilter->setFilterRole(Qt::UserRole + 2);
    fFilter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    fList = new QListView;
    fList->setObjectName(QStringLiteral("barcodeList"));
    fList->setModel(fFilter);
    fList->setUniformItemSizes(true);
    fList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QModelIndex first =
        preselectedRow.isValid() ? fFilter->mapFromSource(preselectedRow) : fFilter->index(0, 0);
    fList->setCurrentIndex(first);
    fList->scrollTo(first, QAbstractItemView::PositionAtCenter);
    fFind->installEventFilter(new FindFieldKeys(fList, this));
    connect(fFind, &QLineEdit::textChanged, this, [this](const QString& text) { narrow(text); });
    connect(fList, &QListView::activated, this, [this] { accept(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Choose"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chosenBarcode())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(fFind);
    layout->addWidget(fList, 1);
    layout->addWidget(buttons);
    resize(420, 460);
    fFind->setFocus();
}

void BarcodeChooser::narrow(const QString& text) {
    fFilter->setFilterFixedString(text.trimmed());
    // The barcode that starts with the text first, else the first that holds it.
    QModelIndex pick;
    for (int row = 0; row < fFilter->rowCount(); ++row) {
        const QModelIndex candidate = fFilter->index(row, 0);
        if (!pick.isValid())
            pick = candidate;
        if (candidate.data(Qt::UserRole + 2).toString().startsWith(text.trimmed(), Qt::CaseInsensitive)) {
            pick = candidate;
            break;
        }
    }
    fList->setCurrentIndex(pick);
    if (pick.isValid())
        fList->scrollTo(pick);
}

Barcode* BarcodeChooser::chosenBarcode() const {
    const QModelIndex current = fList->currentIndex();
    if (!current.isValid())
        return nullptr;
    return static_cast<Barcode*>(current.data(kBarcodeRole).value<void*>());
}
