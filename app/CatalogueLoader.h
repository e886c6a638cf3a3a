#pragma once

#include <QObject>
#include <QString>
#include <QTextDocument>
#include <QTimer>
#include <memory>

class CatalogueView;
class LoadingIndicator;
struct BackgroundLoad;

// Loads catalogue files into the catalogue view. A file of the data set's
// ordinary size is read and shown at once, before load() returns. A larger
// one is read into a new document on a worker thread while the view goes on
// showing what it showed, with a busy indication over it; the document takes
// the view's place once it is complete. A newer load supersedes one still
// running: that one stops and its document is dropped.
class CatalogueLoader final : public QObject
{
    Q_OBJECT

public:
    // Files up to this size load at once. The data set's largest catalogue is
    // under 1 MB and shows in about 11 ms; reading a 2 MB file takes about
    // 0.1 s, the longest the window may stand still before it feels stuck.
    static constexpr qint64 DefaultBackgroundThreshold = 2 * 1024 * 1024;

    explicit CatalogueLoader(CatalogueView &view, QObject *parent = nullptr);
    ~CatalogueLoader() override;

    // Shows the catalogue at `path` in the view; a file that cannot be read
    // leaves the view as it is.
    void load(const QString &path);

    // Whether a background load is still running.
    bool isLoading() const { return m_job != nullptr; }

    void setBackgroundThreshold(qint64 bytes) { m_threshold = bytes; }

signals:
    // A loaded document has just taken the view's place.
    void documentShown();

private:
    void loadInBackground(const QString &path, qint64 size);
    void finish(const std::shared_ptr<BackgroundLoad> &job,
                std::unique_ptr<QTextDocument> document);
    void endBackgroundLoad();
    // Shows `document` in the view, its layout paced.
    void show(std::unique_ptr<QTextDocument> document);
    void supersede();
    void showProgress();

    CatalogueView &m_view;
    LoadingIndicator *m_indicator;
    std::shared_ptr<BackgroundLoad> m_job; // the background load still running, if any
    qint64 m_threshold = DefaultBackgroundThreshold;
    QTimer m_progressTimer;
};
