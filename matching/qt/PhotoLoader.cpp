#include "PhotoLoader.h"

#include "PhotoPreview.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>

#include <algorithm>

namespace {

// Cache sizes in kilobytes: some 600 thumbnails of 120 pixels, a dozen previews of a large pane.
const int kThumbnailCacheKb = 24 * 1024;
const int kPreviewCacheKb = 48 * 1024;

int costOf(const QImage& image) {
    return std::max(1, int(image.sizeInBytes() / 1024));
}

// Two workers: enough to decode the next photo while the one shown is still decoding, and on a
// small laptop one core is left for the window.
int workerCount() {
    return std::clamp(QThread::idealThreadCount() - 1, 1, 2);
}

} // namespace

PhotoLoader::PhotoLoader(QObject* parent) : QObject(parent) {
    fPool.setMaxThreadCount(workerCount());
    fPool.setObjectName(QStringLiteral("PhotoLoader"));
    fThumbnails.setMaxCost(kThumbnailCacheKb);
    fPreviews.setMaxCost(kPreviewCacheKb);
}

PhotoLoader::~PhotoLoader() {
    {
        std::lock_guard<std::mutex> lock(fLock);
        fQueue.clear();
    }
    fPool.waitForDone();
}

QString PhotoLoader::keyOf(const QString& path, eKind kind) {
    return (kind == eKind_Thumbnail ? QStringLiteral("t:") : QStringLiteral("p:")) + path;
}

void PhotoLoader::setThumbnailSize(int longSide) {
    if (longSide == fThumbnailSize)
        return;
    fThumbnailSize = longSide;
    fThumbnails.clear();
}

QImage PhotoLoader::image(const QString& path, eKind kind) const {
    const QImage* found = kind == eKind_Thumbnail ? fThumbnails.object(path) : fPreviews.object(path);
    return found ? *found : QImage();
}

bool PhotoLoader::failed(const QString& path, eKind kind) const {
    return fFailed.contains(keyOf(path, kind));
}

void PhotoLoader::request(const QString& path, eKind kind, const QSize& box, bool urgent) {
    const QString key = keyOf(path, kind);
    if (fFailed.contains(key))
        return;
    if (kind == eKind_Thumbnail && fThumbnails.contains(path))
        return;
    if (kind == eKind_Preview && fPreviews.contains(path)) {
        // Decoded for a pane at least this large: good enough.
        const QSize decodedFor = fPreviewBox.value(path);
        if (decodedFor.width() >= box.width() && decodedFor.height() >= box.height())
            return;
    }
    const QSize wanted = kind == eKind_Thumbnail ? QSize(fThumbnailSize, fThumbnailSize) : box;
    {
        std::lock_guard<std::mutex> lock(fLock);
        if (fPending.contains(key)) {
            if (!urgent)
                return;
            // Asked for now: to the front of the queue, if it has not started.
            auto queued = std::find_if(fQueue.begin(), fQueue.end(), [&](const Request& request) {
                return request.kind == kind && request.path == path;
            });
            if (queued == fQueue.end())
                return;
            Request moved = *queued;
            fQueue.erase(queued);
            fQueue.push_front(moved);
            return;
        }
        fPending.insert(key);
        if (urgent)
            fQueue.push_front({path, kind, wanted});
        else
            fQueue.push_back({path, kind, wanted});
    }
    ++fUndelivered;
    fPool.start([this] { decodeNext(); });
}

void PhotoLoader::dropQueued() {
    std::lock_guard<std::mutex> lock(fLock);
    for (const Request& request : fQueue) {
        fPending.remove(keyOf(request.path, request.kind));
        --fUndelivered;
    }
    fQueue.clear();
}

void PhotoLoader::decodeNext() {
    Request request;
    {
        std::lock_guard<std::mutex> lock(fLock);
        if (fQueue.empty())
            return;
        request = fQueue.front();
        fQueue.pop_front();
    }
    const QImage decoded = request.kind == eKind_Thumbnail
                               ? loadPhotoThumbnail(request.path, request.box.width())
                               : loadPhotoPreview(request.path, request.box);
    QMetaObject::invokeMethod(
        this, [this, request, decoded] { deliver(request.path, request.kind, request.box, decoded); },
        Qt::QueuedConnection);
}

void PhotoLoader::deliver(const QString& path, eKind kind, const QSize& box, const QImage& image) {
    const QString key = keyOf(path, kind);
    {
        std::lock_guard<std::mutex> lock(fLock);
        fPending.remove(key);
    }
    --fUndelivered;
    if (image.isNull()) {
        fFailed.insert(key);
    } else if (kind == eKind_Thumbnail) {
        fThumbnails.insert(path, new QImage(image), costOf(image));
    } else {
        fPreviews.insert(path, new QImage(image), costOf(image));
        fPreviewBox.insert(path, box);
    }
    emit imageReady(path, kind);
}

void PhotoLoader::waitForIdle() {
    QElapsedTimer waited;
    waited.start();
    while (fUndelivered > 0 && waited.elapsed() < 60000) {
        fPool.waitForDone(10);
        QCoreApplication::sendPostedEvents(this);
    }
}
