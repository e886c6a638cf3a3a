#include "CatalogueModel.h"

#include <QDir>
#include <QtConcurrent/QtConcurrentRun>

namespace fosdat::catalogue
{

CatalogueModel::CatalogueModel(qsizetype budget) : m_reader(budget)
{
    m_worker.setMaxThreadCount(1);
}

CatalogueModel::~CatalogueModel()
{
    m_worker.waitForDone();
}

CataloguesPtr CatalogueModel::refresh(const QString &base)
{
    const QMutexLocker locked(&m_lock);
    return m_reader.refresh(base);
}

EntriesPtr CatalogueModel::entries(const CataloguesPtr &texts)
{
    const QMutexLocker locked(&m_lock);
    if (!m_entries || m_entries->texts() != texts)
        m_entries = std::make_shared<const CatalogueEntries>(texts, timeScaleLocked().scale);
    return m_entries;
}

TimeScaleChoice CatalogueModel::timeScale()
{
    const QMutexLocker locked(&m_lock);
    return timeScaleLocked();
}

void CatalogueModel::forgetTimeScale()
{
    const QMutexLocker locked(&m_lock);
    m_scale.reset();
    m_entries.reset();
}

TimeScaleChoice CatalogueModel::timeScaleLocked()
{
    if (!m_scale)
        m_scale = chooseTimeScale();
    return *m_scale;
}

QFuture<EntriesPtr> CatalogueModel::readEntries()
{
    return QtConcurrent::run(&m_worker,
                             [this, base = QDir::currentPath()] { return entries(refresh(base)); });
}

} // namespace fosdat::catalogue
