// Decodes photos for the review on worker threads and keeps the results: thumbnails for the strip
// and large previews for the pane. The user-interface thread asks (request) and is told when an
// image is ready (imageReady); it never waits for a decode. What the photographer looks at goes
// before what is fetched ahead, and a request that is no longer wanted is dropped before it starts.
#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <deque>
#include <mutex>

class PhotoLoader : public QObject {
    Q_OBJECT
  public:
    enum eKind { eKind_Thumbnail = 0, eKind_Preview = 1 };

    explicit PhotoLoader(QObject* parent = nullptr);
    // Waits for the decodes under way; those queued are dropped.
    ~PhotoLoader() override;
    PhotoLoader(const PhotoLoader&) = delete;
    PhotoLoader& operator=(const PhotoLoader&) = delete;

    // The longer side of thumbnails (the cache is emptied when it changes).
    void setThumbnailSize(int longSide);
    int thumbnailSize() const { return fThumbnailSize; }

    // The decoded image when it is ready, else a null image. A preview may have been decoded for a
    // smaller pane than the one shown now (request decodes it again).
    QImage image(const QString& path, eKind kind) const;
    // True when the photo could not be decoded (it cannot be shown).
    bool failed(const QString& path, eKind kind) const;
    // Queues a decode (a preview at the size of box) unless it is ready or on its way. Urgent
    // requests go before the others: what is shown now before what is fetched ahead.
    void request(const QString& path, eKind kind, const QSize& box, bool urgent);
    // Drops the queued requests that have not started.
    void dropQueued();
    // Waits until every decode under way and queued has ended and been delivered (tests, bench).
    void waitForIdle();

  signals:
    // The image of path is ready (or failed), on the user-interface thread.
    void imageReady(const QString& path, int kind);

  private:
    struct Request {
        QString path;
        eKind kind;
        QSize box;
    };
    static QString keyOf(const QString& path, eKind kind);
    // On a worker: decodes the first queued request, if any.
    void decodeNext();
    void deliver(const QString& path, eKind kind, const QSize& box, const QImage& image);

    int fThumbnailSize = 120;
    QThreadPool fPool;
    // Queued requests and the keys queued or being decoded; shared with the workers.
    std::mutex fLock;
    std::deque<Request> fQueue;
    QSet<QString> fPending;
    // User-interface thread only.
    QCache<QString, QImage> fThumbnails;
    QCache<QString, QImage> fPreviews;
    QHash<QString, QSize> fPreviewBox;
    QSet<QString> fFailed;
    int fUndelivered = 0;
};
