#include "MainWindow.h"

#include <QMenu>
#include <QMenuBar>

#include "ui_MainWindow.h"

#include "AlertPanel.h"
#include "ApplicationShell.h"
#include "JobChecklistView.h"
#include "MessageLog.h"
#include "MyApplicationDelegate.h"
#include "RunningThread.h"
#include "StatusDisplay.h"
#include "serialRS232Manager.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QThread>

// The window's images live in the shell library's resources, which a static library must load.
static void initShellResources() {
    Q_INIT_RESOURCE(VeskBarcode);
}

MainWindow::MainWindow(ApplicationShell& shell, QWidget* parent)
    : QMainWindow(parent), fUi(new Ui::MainWindow), fShell(shell) {
    initShellResources();
    fUi->setupUi(this);
    fUi->ibStatusView->hide();
    fUi->ibIndicator->hide();
    fUi->ibRescanPortIndicator->hide();
    fUi->ibSerialPortImage->hide();
    fUi->ibDisclosureButton1->setToolTip(tr("Click to CLOSE..."));
    connect(fUi->ibDisclosureButton1, &QToolButton::toggled, this, &MainWindow::ibToggleDisclosureButton1);
    connect(fUi->preferencesButton, &QPushButton::clicked, this, &MainWindow::openPreferences);
    fUi->ibSerialPortName->setToolTip(
        tr("The serial port of the scanner. Choose another one when the scanner is connected elsewhere; "
           "VeskBarcode remembers your choice."));
    // The checklist heads the window, above the status line.
    fChecklist = new JobChecklistView(fUi->centralwidget);
    fUi->mainLayout->insertWidget(0, fChecklist);
    enableButtonsFor(ChecklistSnapshot());
    // As tall as the contents with the message area open, so that folding it takes exactly its
    // height away.
    resize(width(), sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::setDelegate(MyApplicationDelegate* delegate) {
    fDelegate = delegate;
    if (!delegate)
        return;
    connect(fUi->buildImageListButton, &QPushButton::clicked, this,
            [delegate] { delegate->ibBuildTheImageListInAThread(); });
    connect(fUi->prepareButton, &QPushButton::clicked, this,
            [delegate] { delegate->ibPrepareForConnectionInAThread(); });
    connect(fUi->connectButton, &QPushButton::clicked, this,
            [delegate] { delegate->ibConnectToBarcodeDevice(); });
    connect(fUi->downloadButton, &QPushButton::clicked, this, [delegate] { delegate->ibDownloadData(); });
    connect(fUi->matchButton, &QPushButton::clicked, this,
            [delegate] { delegate->ibMatchBarcodeDataWithPhotos(); });
    connect(fUi->deleteButton, &QPushButton::clicked, this, [delegate] { delegate->ibDeleteData(); });
    connect(fUi->autoLocateButton, &QPushButton::clicked, this,
            [delegate] { delegate->ibDoAutoLocateAndDownload(); });
    connect(fUi->rescanButton, &QPushButton::clicked, this, [delegate] { delegate->ibRescanSerialPort(); });
    // Only the user's own choice counts (activated, not currentIndexChanged): filling the list
    // must not look like a choice.
    connect(fUi->ibSerialPortName, QOverload<int>::of(&QComboBox::activated), this,
            [this, delegate](int index) {
                QString path = fUi->ibSerialPortName->itemData(index).toString();
                if (!path.isEmpty())
                    delegate->ibChooseSerialPort(path.toStdString());
            });
    connect(fUi->quitButton, &QPushButton::clicked, this, [delegate] { delegate->ibQuitApplication(); });
}

void MainWindow::showChecklist(const ChecklistSnapshot& snapshot) {
    onUserInterfaceThread([this, snapshot] {
        fChecklist->showSnapshot(snapshot);
        enableButtonsFor(snapshot);
    });
}

void MainWindow::enableButtonsFor(const ChecklistSnapshot& snapshot) {
    auto state = [&snapshot](eJobStep step) { return snapshot.line(step).state; };
    bool running = false;
    for (int step = 0; step < eJobStep_Count; ++step)
        running = running || (step != eJobStep_HostConfirm && state(eJobStep(step)) == eStepState::Running);
    const QString busy = tr("A step of the job is running: wait until it has finished.");
    auto set = [&](QPushButton* button, bool enabled, const QString& why) {
        button->setEnabled(!running && enabled);
        button->setToolTip(running ? busy : enabled ? QString() : why);
    };
    set(fUi->buildImageListButton, true, QString());
    set(fUi->prepareButton, true, QString());
    set(fUi->connectButton, true, QString());
    set(fUi->autoLocateButton, true, QString());
    set(fUi->rescanButton, true, QString());
    set(fUi->downloadButton, state(eJobStep_Scanner) == eStepState::Done,
        tr("Connect to the scanner first: the download needs a scanner that has answered."));
    set(fUi->matchButton, state(eJobStep_Photos) == eStepState::Done,
        tr("List the photos first: the match needs the list of photos."));
    // The scanner holds the only copy of the scans until they are matched and Vesk-X has them.
    set(fUi->deleteButton, state(eJobStep_Match) == eStepState::Done,
        tr("The scanner is erased only after its scans have been matched and Vesk-X has confirmed the "
           "job."));
}

void MainWindow::onUserInterfaceThread(std::function<void()> work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void MainWindow::setErrorViewText(const std::string& text) {
    fUi->ibErrorView->setPlainText(QString::fromUtf8(text.data(), int(text.size())));
}

void MainWindow::scrollErrorViewToEnd() {
    QScrollBar* bar = fUi->ibErrorView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void MainWindow::setVersionText(const std::string& text) {
    fUi->ibVersion->setText(QString::fromStdString(text));
}

void MainWindow::setCopyrightText(const std::string& text) {
    fUi->ibCopyright->setText(QString::fromStdString(text));
}

void MainWindow::setMessageAreaOpen(bool open) {
    QSignalBlocker blocker(fUi->ibDisclosureButton1);
    fUi->ibDisclosureButton1->setChecked(open);
    fUi->ibDisclosureButton1->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    fUi->ibDisclosureButton1->setToolTip(open ? tr("Click to CLOSE...") : tr("Click to OPEN..."));
    fUi->ibErrorViewSuperView->setVisible(open);
}

void MainWindow::centreWindow() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void MainWindow::setWorkingFolderText(const std::string& folder) {
    QString shown = QString::fromUtf8(folder.data(), int(folder.size()));
    setWindowTitle(shown.isEmpty() ? QStringLiteral("VeskBarcode") : tr("VeskBarcode - %1").arg(shown));
}

void MainWindow::setRescanBusy(bool busy) {
    fUi->ibRescanPortIndicator->setVisible(busy);
}

void MainWindow::setStatusText(const std::string& text) {
    QString shown = QString::fromUtf8(text.data(), int(text.size()));
    onUserInterfaceThread([this, shown] {
        fUi->ibStatusView->setText(shown);
        fUi->ibStatusView->setVisible(!shown.isEmpty());
    });
}

void MainWindow::setBusy(bool busy) {
    onUserInterfaceThread([this, busy] { fUi->ibIndicator->setVisible(busy); });
}

void MainWindow::setScannerFields(const std::string& model, const std::string& serialNumber,
                                  const std::string& portPath) {
    QString modelText = QString::fromUtf8(model.data(), int(model.size()));
    QString serialText = QString::fromUtf8(serialNumber.data(), int(serialNumber.size()));
    QString portText = QString::fromUtf8(portPath.data(), int(portPath.size()));
    onUserInterfaceThread([this, modelText, serialText, portText] {
        fUi->ibBarcodeDeviceName->setText(modelText);
        // A long text (why the port did not open) is read whole in the tool tip.
        fUi->ibBarcodeDeviceName->setToolTip(modelText);
        fUi->ibBarcodeDeviceName->setCursorPosition(0);
        fUi->ibBarcodeDeviceSerialNumber->setText(serialText);
        showChosenPort(portText);
    });
    // The logo by the same rule as the port discovery's.
    if (portPath.empty())
        setSerialPortImage(std::string());
    else
        setSerialPortImage(serialRS232Manager::IsBluetoothPortPath(portPath.c_str()) ? kBluetoothLogoImage
                                                                                     : kUsbLogoImage);
}

void MainWindow::setSerialPortImage(const std::string& imageName) {
    QString name = QString::fromUtf8(imageName.data(), int(imageName.size()));
    onUserInterfaceThread([this, name] {
        if (name.isEmpty()) {
            fUi->ibSerialPortImage->clear();
            fUi->ibSerialPortImage->setVisible(false);
            return;
        }
        QPixmap logo;
        if (!logo.load(":/images/" + name))
            return; // a missing image leaves the logo as it was
        fUi->ibSerialPortImage->setPixmap(logo);
        fUi->ibSerialPortImage->setVisible(true);
    });
}

void MainWindow::setSerialPortChoices(const std::vector<SerialPortChoice>& ports,
                                      const std::string& currentPath) {
    QList<QPair<QString, QString>> items;
    for (const SerialPortChoice& port : ports)
        items.append({QString::fromStdString(port.path), QString::fromStdString(port.label)});
    QString current = QString::fromStdString(currentPath);
    onUserInterfaceThread([this, items, current] {
        QComboBox* chooser = fUi->ibSerialPortName;
        QSignalBlocker blocker(chooser);
        chooser->clear();
        for (const auto& item : items)
            chooser->addItem(item.second, item.first);
        showChosenPort(current.isEmpty() ? chooser->placeholderText() : current);
    });
}

void MainWindow::showChosenPort(const QString& path) {
    QComboBox* chooser = fUi->ibSerialPortName;
    QSignalBlocker blocker(chooser);
    int index = chooser->findData(path);
    if (index < 0) {
        chooser->setCurrentIndex(-1);
        chooser->setPlaceholderText(path);
        return;
    }
    chooser->setCurrentIndex(index);
}

void MainWindow::logFrame(const char* heading) {
    QRect frame = frameGeometry();
    myPrintfDebug(heading);
    myPrintfDebug(myFormat(
        "curSize.width=[%2.2f]\ncurSize.height=]%2.2f]\ncurOrigin.x=[%2.2f]\ncurOrigin.y=[%2.2f]\n\n",
        double(frame.width()), double(frame.height()), double(frame.x()), double(frame.y())));
}

void MainWindow::ibToggleDisclosureButton1(bool open) {
    logFrame("ibMainWindow Details....\n");
    QRect frame = geometry();
    fUi->ibDisclosureButton1->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    if (open) {
        fShell.playSound("Blow");
        fUi->ibDisclosureButton1->setToolTip(tr("Click to CLOSE..."));
        fUi->ibErrorViewSuperView->show();
        myPrintfDebug("ibErrorViewSuperView SHOW\n");
        logFrame("ibMainWindow Details....\n");
        frame.setHeight(frame.height() + kMessageAreaHeight);
    } else {
        fUi->ibDisclosureButton1->setToolTip(tr("Click to OPEN..."));
        fShell.playSound("Frog");
        fUi->ibErrorViewSuperView->hide();
        myPrintfDebug("ibErrorViewSuperView HIDE\n");
        logFrame("ibMainWindow Details....\n");
        frame.setHeight(frame.height() - kMessageAreaHeight);
    }
    // The top edge stays where it is; the bottom edge moves by the message area's height.
    centralWidget()->layout()->activate();
    layout()->activate();
    setGeometry(frame);
    scrollErrorViewToEnd();
}

void MainWindow::setDeveloperCommand(std::function<void()> command, std::function<bool()> shown) {
    fDeveloperCommand = std::move(command);
    fDeveloperMenuShown = std::move(shown);
    if (!fDeveloperMenu) {
        fDeveloperMenu = menuBar()->addMenu(tr("Developer"));
        QAction* action = fDeveloperMenu->addAction(tr("Read Magnetic-Stripe Test File..."));
        action->setObjectName("ibPickTestFolder");
        connect(action, &QAction::triggered, this, &MainWindow::ibPickTestFolder);
    }
    refreshDeveloperMenu();
}

void MainWindow::refreshDeveloperMenu() {
    if (!fDeveloperMenu)
        return;
    bool shown = fDeveloperMenuShown && fDeveloperMenuShown();
    fDeveloperMenu->menuAction()->setVisible(shown);
    menuBar()->setVisible(shown);
}

void MainWindow::ibPickTestFolder() {
    if (fDeveloperCommand)
        fDeveloperCommand();
}

void MainWindow::openPreferences() {
    if (fPreferencesAction) {
        fPreferencesAction();
        refreshDeveloperMenu();
        return;
    }
    if (isRunningThread()) {
        myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9002", nullptr, nullptr);
        return;
    }
    myPrintf("The preferences are not available yet\n");
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is quitting: the orderly end decides, and tells the host.
    if (!fDelegate || fDelegate->hasTerminated()) {
        event->accept();
        return;
    }
    event->ignore();
    fDelegate->ibQuitApplication();
}
