#include "Startup.h"

#include "QtTextSupplement.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace
{

// Qt's own texts (the file dialog, the context menus of text fields, the
// standard buttons) in Russian, as every text of the program is, whatever the
// system's language. Without the translations installed they stay English,
// but for the few that the program supplies itself.
void loadQtTranslations()
{
    auto *translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    // Searched before the translation installed earlier.
    QCoreApplication::installTranslator(new QtTextSupplement(qApp));
}

} // namespace

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("база данных Тарвина"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.fosdat.Fosdat"));
    loadQtTranslations();
}
