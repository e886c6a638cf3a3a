#include "ViewPlace.h"

#include <QResizeEvent>

TopKeeper::TopKeeper(CatalogueView *view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
}

// The view's own resize comes before its contents are laid out anew at the
// new width, so the place is still that of the old layout; it is brought
// back once the resizes that came with it are done, before the view paints.
bool TopKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && !m_pending && m_view->isVisible()) {
        const auto *resize = static_cast<const QResizeEvent *>(event);
        if (resize->oldSize().width() != resize->size().width()) {
            m_place = m_view->topPlace();
            m_catalogue = &m_view->catalogue();
            m_pending = true;
            QMetaObject::invokeMethod(this, &TopKeeper::restore, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void TopKeeper::restore()
{
    m_pending = false;
    if (m_catalogue == &m_view->catalogue())
        m_view->showAtTop(m_place);
}
