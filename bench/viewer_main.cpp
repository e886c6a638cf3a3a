// The viewer for the start-up benchmark: the program as installed, except
// that with FOSDAT_EXIT_AFTER_FIRST_PAINT=N in the environment it ends N
// milliseconds after the catalogue window's first paint, so that a harness
// can time the start-up and read the peak memory of a viewer that has shown
// its catalogue.
#include "Program.h"
#include "QtSoundCue.h"
#include "Startup.h"
#include "UserDialogs.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace
{

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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    bool hooked = false;
    const int delayMs = qEnvironmentVariableIntValue("FOSDAT_EXIT_AFTER_FIRST_PAINT", &hooked);
    ExitAfterFirstPaint exitAfterFirstPaint(delayMs);
    if (hooked)
        app.installEventFilter(&exitAfterFirstPaint);
    Program program(std::make_unique<QtSoundCue>(), std::make_unique<QtUserDialogs>());
    program.showCatalogueWindow();
    return QApplication::exec();
}
