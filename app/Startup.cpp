#include "Startup.h"

#include <QApplication>

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("база данных Тарвина"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.fosdat.Fosdat"));
}
