// Answers the next message box that opens, as a person would: records what it showed and clicks
// the button with the given text (an empty text clicks the default button).
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QThread>
#include <QTimer>

struct ShownMessageBox {
    bool shown = false;
    bool onUiThread = false;
    QString objectName;
    QString title;
    QString message;
    QStringList buttons;
};

class MessageBoxAnswerer : public QObject {
  public:
    // Clicks buttonText in each of the next `count` message boxes.
    explicit MessageBoxAnswerer(const QString& buttonText = QString(), int count = 1)
        : fButtonText(buttonText), fRemaining(count) {
        connect(&fTimer, &QTimer::timeout, this, [this] { poll(); });
        fTimer.start(10);
    }

    const ShownMessageBox& last() const { return fLast; }
    int answered() const { return fAnswered; }

  private:
    void poll() {
        if (fRemaining <= 0)
            return;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            fLast.shown = true;
            fLast.onUiThread = box->thread() == QApplication::instance()->thread();
            fLast.objectName = box->objectName();
            fLast.title = box->text();
            fLast.message = box->informativeText();
            fLast.buttons.clear();
            QAbstractButton* target = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                fLast.buttons << button->text();
                if (button->text() == fButtonText)
                    target = button;
            }
            if (!target)
                target = box->defaultButton();
            --fRemaining;
            ++fAnswered;
            target->click();
            return;
        }
    }

    QTimer fTimer;
    QString fButtonText;
    int fRemaining;
    int fAnswered = 0;
    ShownMessageBox fLast;
};
