#include "Program.h"
#include "QtSoundCue.h"
#include "UserDialogs.h"

#include <QApplication>

#ifdef FOSDAT_FIRST_PAINT_HOOK
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace
{

// Benchmark builds only: with FOSDAT_EXIT_AFTER_FIRST_PAINT=N in the
// environment the process ends N milliseconds after the catalogue window's
// first paint, so that a harness can time the start-up and read the peak
// memory of a viewer that has shown its catalogue.
class ExitAfterFirstPaint final : public QObject
{
public:
    explicit ExitAfterFirstPaint(int delayMs) : m_delayMs(delayMs) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == u"Fosdat") {
            qApp->removeEventFilter(this);
            // A timer runs only after the frame being painted has been flushed.
            QTimer::singleShot(m_delayMs, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    int m_delayMs;
};

} // namespace
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("база данных Тарвина"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.fosdat.Fosdat"));

#ifdef FOSDAT_FIRST_PAINT_HOOK
    bool hooked = false;
    const int delayMs = qEnvironmentVariableIntValue("FOSDAT_EXIT_AFTER_FIRST_PAINT", &hooked);
    ExitAfterFirstPaint exitAfterFirstPaint(delayMs);
    if (hooked)
        app.installEventFilter(&exitAfterFirstPaint);
#endif

    Program program(std::make_unique<QtSoundCue>(), std::make_unique<QtUserDialogs>());
    program.showCatalogueWindow();
    return QApplication::exec();
}
