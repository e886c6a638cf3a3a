#include "ShownWindow.h"

#include "ShownView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <sys/resource.h>

namespace fosdat::bench
{

ShownWindow::ShownWindow(const QString &dataSetDir) : m_window(m_cue, m_dialogs)
{
    QDir::setCurrent(dataSetDir);
    m_window.loadStartupContent();
    m_window.show();
    m_window.activateWindow();
    waitUntilExposed(m_window);
}

bool ShownWindow::choose(const QString &caption)
{
    auto *combo = child<QComboBox>(QStringLiteral("Combo1"));
    const int index = combo ? combo->findText(caption) : -1;
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

void ShownWindow::click(QWidget *control, std::optional<QPointF> point)
{
    const QPointF at = point.value_or(QRectF(control->rect()).center());
    const QPointF global = control->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(control, &press);
    QApplication::sendEvent(control, &release);
}

bool makeDataSetWith(const QString &sampleDir, const QString &file, const QString &replaced,
                     const QString &target)
{
    for (const QString &sub : {QStringLiteral("dat/BD"), QStringLiteral("dat/sound")}) {
        const QDir from(QDir(sampleDir).filePath(sub));
        if (!QDir().mkpath(QDir(target).filePath(sub)))
            return false;
        for (const QString &name : from.entryList(QDir::Files)) {
            const QString source =
                name == replaced ? QFileInfo(file).absoluteFilePath() : from.absoluteFilePath(name);
            if (!QFile::link(source, QDir(target).filePath(sub + u'/' + name)))
                return false;
        }
    }
    return true;
}

double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace fosdat::bench
