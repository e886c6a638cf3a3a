#pragma once

#include <QCursor>
#include <QObject>

class QAbstractScrollArea;
class QProgressBar;

// Shows over a view that something is being loaded into it: a wait cursor
// over its contents and a thin progress bar along the bottom edge of its
// contents. The view stays usable meanwhile.
class LoadingIndicator final : public QObject
{
    Q_OBJECT

public:
    explicit LoadingIndicator(QAbstractScrollArea &view);

    // Shows the indication, the bar empty.
    void start();
    // `fraction` of the work is done, from 0 to 1.
    void setProgress(double fraction);
    // Hides the indication and gives the view its own cursor back.
    void stop();

    bool isActive() const { return m_active; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeBar();

    QAbstractScrollArea &m_view;
    QProgressBar *m_bar; // a child of the view, above its contents
    QCursor m_viewCursor;
    bool m_active = false;
};
