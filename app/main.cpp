#include "Program.h"
#include "QtSoundCue.h"
#include "Startup.h"
#include "UserDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    Program program(std::make_unique<QtSoundCue>(), std::make_unique<QtUserDialogs>());
    program.showCatalogueWindow();
    return QApplication::exec();
}
