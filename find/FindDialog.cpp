#include "FindDialog.h"

#include "ui_FindDialog.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QWindow>

namespace
{

constexpr QSize ToolbarButtonSize{31, 30};
// The default font size of the program's windows; Qt Designer stores whole sizes only.
constexpr qreal DefaultPointSize = 8.25;
// The toolbar pictures are drawn on this light grey, which stands for transparent.
const QColor PictureGround(0xC0, 0xC0, 0xC0);

QIcon toolbarPicture(const QStringList &files)
{
    QIcon icon;
    for (const QString &file : files) {
        QPixmap pixmap(file);
        pixmap.setMask(pixmap.createMaskFromColor(PictureGround));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

FindDialog::FindDialog(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frnFind>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(ui->findText)}) {
        QFont font = widget->font();
        font.setPointSizeF(DefaultPointSize);
        widget->setFont(font);
    }
    // A blank icon, so that the application's icon is not shown in its place.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));

    ui->Check1->setBackgroundRole(QPalette::Base);
    ui->Check1->setForegroundRole(QPalette::Text);
    setUpToolbar();

    // findText, hidden, stays for its object name only: the find button requests the search.
    connect(ui->Button1, &QAction::triggered, this, &FindDialog::requestFind);
    connect(ui->Button2, &QAction::triggered, this, &QWidget::close);
    // Escape closes the dialog as its close button does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

FindDialog::~FindDialog() = default;

void FindDialog::setUpToolbar()
{
    ui->Button1->setIcon(
        toolbarPicture({QStringLiteral(":/find/find-24.png"), QStringLiteral(":/find/find-20.png"),
                        QStringLiteral(":/find/find-16.png")}));
    ui->Button2->setIcon(toolbarPicture({QStringLiteral(":/find/close.png")}));

    // The buttons keep their size wherever the style would put its margins,
    // and take part in the tab order after the check boxes.
    ui->Toolbar1->setStyleSheet(
        QStringLiteral("QToolBar { border: none; padding: 0px; spacing: 0px; }"));
    QWidget *previous = ui->Check2;
    for (QAction *action : ui->Toolbar1->actions()) {
        QWidget *button = ui->Toolbar1->widgetForAction(action);
        button->setFixedSize(ToolbarButtonSize);
        button->setFocusPolicy(Qt::TabFocus);
        setTabOrder(previous, button);
        previous = button;
    }
}

void FindDialog::showAtCorner()
{
    // A minimised dialog would stay out of reach: a tool window has no task
    // bar entry to bring it back from.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    const QScreen *screen = QGuiApplication::primaryScreen();
    move(screen ? screen->geometry().topLeft() : QPoint(0, 0));
    setFixedSize(OuterSize);
    ui->Text3->setFocus();
    show();
    fitFrame();
}

void FindDialog::requestFind()
{
    QTextDocument::FindFlags flags;
    if (ui->Check1->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (ui->Check2->isChecked())
        flags |= QTextDocument::FindWholeWords;
    emit findRequested(ui->Text3->text(), flags);
}

bool FindDialog::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        fitFrame();
        break;
    default:
        break;
    }
    return result;
}

// The window manager tells the frame's size only after it has framed the shown
// window, so the client area is fitted again whenever the window moves or
// changes size: the frame and the client together always make OuterSize.
void FindDialog::fitFrame()
{
    const QWindow *window = windowHandle();
    if (!window || !isVisible())
        return;
    const QMargins frame = window->frameMargins();
    const QSize client(OuterSize.width() - frame.left() - frame.right(),
                       OuterSize.height() - frame.top() - frame.bottom());
    if (size() != client)
        setFixedSize(client);
}
