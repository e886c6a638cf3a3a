#include "Startup.h"

#include "QtTextSupplement.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <csignal>

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

// A file size limit (`ulimit -f`) ends a process that writes past it with
// SIGXFSZ unless the signal is ignored; ignored, the write fails with EFBIG,
// which a save reports while the old file stays. It is ignored once, here,
// for the whole run: a signal's disposition is shared by every thread, so
// setting it only around a write would race with any other code's, and no
// part of the program wants a limit to end it.
void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("база данных Тарвина"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.fosdat.Fosdat"));
    loadQtTranslations();
    ignoreFileSizeSignal();
}
