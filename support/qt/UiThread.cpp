#include "UiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

bool isUiThread() {
    QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

bool runOnUiThread(const std::function<void()>& work) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    if (QThread::currentThread() == application->thread()) {
        work();
        return true;
    }
    return QMetaObject::invokeMethod(application, work, Qt::BlockingQueuedConnection);
}
