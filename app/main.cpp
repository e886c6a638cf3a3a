#include "Program.h"
#include "QtSoundCue.h"
#include "UserDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("база данных Тарвина"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.fosdat.Fosdat"));

    Program program(std::make_unique<QtSoundCue>(), std::make_unique<QtUserDialogs>());
    program.showCatalogueWindow();
    return QApplication::exec();
}
