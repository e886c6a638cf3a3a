#include "LayoutPacer.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>
#include <algorithm>

namespace
{

// Qt's own steps come every 10 ms; a slice of 8 ms leaves the event loop
// free for the 10 ms between two of them.
constexpr int SliceMs = 8;
// The interval of the timer behind Qt's steps (Qt 6.4), which tells it from
// the layout's other timer (0 ms, reporting the document's new size).
constexpr int LayoutStepIntervalMs = 10;

bool isLaidOut(const QTextBlock &block)
{
    return block.layout()->lineCount() > 0;
}

// The first paragraph not laid out yet; the layout always covers a run of
// paragraphs from the start.
QTextBlock firstNotLaidOut(const QTextDocument &document)
{
    if (isLaidOut(document.lastBlock()))
        return {};
    int laidOut = 0, notLaidOut = document.blockCount() - 1;
    while (laidOut < notLaidOut) {
        const int middle = laidOut + (notLaidOut - laidOut) / 2;
        if (isLaidOut(document.findBlockByNumber(middle)))
            laidOut = middle + 1;
        else
            notLaidOut = middle;
    }
    return document.findBlockByNumber(notLaidOut);
}

} // namespace

void LayoutPacer::pace(QTextDocument &document)
{
    new LayoutPacer(document);
}

int LayoutPacer::stepsTaken(const QTextDocument &document)
{
    const auto *pacer =
        document.documentLayout()->findChild<LayoutPacer *>(QString(), Qt::FindDirectChildrenOnly);
    return pacer ? pacer->m_stepsTaken : 0;
}

LayoutPacer::LayoutPacer(QTextDocument &document)
    : QObject(document.documentLayout()), m_document(document)
{
    document.documentLayout()->installEventFilter(this);
}

bool LayoutPacer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Timer ||
        !isLayoutStep(watched, static_cast<QTimerEvent *>(event)->timerId()))
        return QObject::eventFilter(watched, event);
    ++m_stepsTaken;
    // Should a slice get nowhere, Qt's own step goes on instead.
    return layOutSlice();
}

bool LayoutPacer::isLayoutStep(QObject *layout, int timerId) const
{
    const QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread());
    if (!dispatcher)
        return false;
    const QList<QAbstractEventDispatcher::TimerInfo> timers = dispatcher->registeredTimers(layout);
    return std::any_of(timers.cbegin(), timers.cend(), [timerId](const auto &timer) {
        return timer.timerId == timerId && timer.interval == LayoutStepIntervalMs;
    });
}

// Asking for a paragraph's place lays the document out up to it, in steps
// of a few thousand characters: the size Qt's steps had when the view first
// laid out what it shows, which Qt's own steps would go on doubling.
bool LayoutPacer::layOutSlice()
{
    QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    QElapsedTimer clock;
    clock.start();
    bool advanced = false;
    while (clock.elapsed() < SliceMs) {
        const QTextBlock next = firstNotLaidOut(m_document);
        if (!next.isValid())
            return true;
        layout->blockBoundingRect(next);
        if (!isLaidOut(next))
            return advanced;
        advanced = true;
    }
    return true;
}
