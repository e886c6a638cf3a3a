#include "Program.h"

#include "Fosdat.h"
#include "RichTextBox.h"
#include "SoundCue.h"
#include "UserDialogs.h"
#include "frnFind.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

Program::Program(std::unique_ptr<SoundCue> sound, std::unique_ptr<UserDialogs> dialogs)
    : m_sound(std::move(sound)), m_dialogs(std::move(dialogs))
{
    // The program ends when both of its windows are closed; the find dialog
    // is a tool window, which Qt would not count, so the rule is kept here.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

Program::~Program()
{
    delete m_find;
    delete m_catalogue;
}

Fosdat *Program::showCatalogueWindow()
{
    if (!m_catalogue) {
        m_catalogue = new Fosdat(*m_sound, *m_dialogs);
        m_catalogue->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_catalogue, &Fosdat::findRequested, this, &Program::openFindDialog);
        connect(m_catalogue, &Fosdat::exitRequested, this, &Program::exit);
        connect(m_catalogue, &QObject::destroyed, this, &Program::windowGone, Qt::QueuedConnection);
        m_catalogue->Form_Load();
    }
    m_catalogue->show();
    return m_catalogue;
}

void Program::openFindDialog()
{
    if (!m_find) {
        m_find = new frnFind(*this);
        connect(m_find, &QObject::destroyed, this, &Program::windowGone, Qt::QueuedConnection);
        m_find->Form_Load();
    }
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

void Program::exit()
{
    delete m_find;
    delete m_catalogue;
    QCoreApplication::quit();
}

Fosdat *Program::catalogueWindow() const
{
    return m_catalogue;
}

frnFind *Program::findDialog() const
{
    return m_find;
}

RichTextBox *Program::catalogueView()
{
    Fosdat *window = showCatalogueWindow();
    return window->findChild<RichTextBox *>(QStringLiteral("RichTextBox1"));
}

void Program::showMessage(const QString &text, const QString &title, QMessageBox::Icon icon)
{
    m_dialogs->message(nullptr, text, title, icon);
}

void Program::windowGone()
{
    if (!m_catalogue && !m_find)
        QCoreApplication::quit();
}
