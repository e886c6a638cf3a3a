#include "LoadingIndicator.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QProgressBar>

namespace
{

constexpr int BarHeight = 5;
constexpr int BarSteps = 1000;

} // namespace

LoadingIndicator::LoadingIndicator(QAbstractScrollArea &view)
    : QObject(&view), m_view(view), m_bar(new QProgressBar(&view))
{
    m_bar->setObjectName(QStringLiteral("loadingProgress"));
    m_bar->setAccessibleName(QStringLiteral("Загрузка каталога"));
    m_bar->setRange(0, BarSteps);
    m_bar->setTextVisible(false);
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->hide();
    // The contents area moves when the view's scroll bars come and go.
    m_view.viewport()->installEventFilter(this);
}

void LoadingIndicator::start()
{
    if (!m_active) {
        m_viewCursor = m_view.viewport()->cursor();
        m_view.viewport()->setCursor(Qt::WaitCursor);
        m_active = true;
    }
    m_bar->setValue(0);
    placeBar();
    m_bar->show();
    m_bar->raise();
}

void LoadingIndicator::setProgress(double fraction)
{
    m_bar->setValue(int(qBound(0.0, fraction, 1.0) * BarSteps));
}

void LoadingIndicator::stop()
{
    if (!m_active)
        return;
    m_active = false;
    m_bar->hide();
    m_view.viewport()->setCursor(m_viewCursor);
}

bool LoadingIndicator::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        placeBar();
    return QObject::eventFilter(watched, event);
}

void LoadingIndicator::placeBar()
{
    const QRect contents = m_view.viewport()->geometry();
    m_bar->setGeometry(contents.left(), contents.bottom() + 1 - BarHeight, contents.width(),
                       BarHeight);
}
