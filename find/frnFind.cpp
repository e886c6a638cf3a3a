#include "frnFind.h"

#include "FindHost.h"
#include "RichTextBox.h"
#include "ui_frnFind.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

// Resources of a static library are linked in only when something names them.
static void initFindResources()
{
    Q_INIT_RESOURCE(find);
}

namespace
{

// The keys that tell the toolbar's buttons apart.
constexpr QLatin1String FindKey("find");
constexpr QLatin1String CloseKey("close");

constexpr QSize ToolbarButtonSize{31, 30};
// The toolbar pictures are drawn on this light grey, which stands for transparent.
constexpr QRgb PictureGround = 0xC0C0C0;

QIcon toolbarPicture(const QStringList &files)
{
    QIcon icon;
    for (const QString &file : files) {
        QPixmap pixmap(file);
        pixmap.setMask(pixmap.createMaskFromColor(QColor(PictureGround)));
        icon.addPixmap(pixmap);
    }
    return icon;
}

int checkValue(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

frnFind::frnFind(FindHost &host, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frnFind>()), m_host(host)
{
    initFindResources();
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // A blank icon, so that the application's icon is not shown in its place.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));

    ui->Check1->setBackgroundRole(QPalette::Base);
    ui->Check1->setForegroundRole(QPalette::Text);
    setUpToolbar();

    connect(ui->findText, &QPushButton::clicked, this, &frnFind::findText_Click);
    connect(ui->Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction *action) { Toolbar1_ButtonClick(action->data().toString()); });
}

frnFind::~frnFind() = default;

void frnFind::setUpToolbar()
{
    ui->Button1->setData(QString(FindKey));
    ui->Button1->setIcon(
        toolbarPicture({QStringLiteral(":/find/find-24.png"), QStringLiteral(":/find/find-20.png"),
                        QStringLiteral(":/find/find-16.png")}));
    ui->Button2->setData(QString(CloseKey));
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

void frnFind::Form_Load()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    move(screen ? screen->geometry().topLeft() : QPoint(0, 0));
    setFixedSize(OuterSize);
    ui->Text3->setFocus();
    show();
    fitFrame();
}

void frnFind::Toolbar1_ButtonClick(const QString &key)
{
    if (key == FindKey)
        ui->findText->click();
    else if (key == CloseKey)
        close();
}

void frnFind::findText_Click()
{
    const int options = RichTextBox::rtfWholeWord * checkValue(ui->Check2) +
                        RichTextBox::rtfMatchCase * checkValue(ui->Check1);
    const QString text = ui->Text3->text();
    RichTextBox *view = m_host.catalogueView();
    // From the very first character: a name that opens the catalogue is found too.
    const int position = view ? view->Find(text, 0, options) : -1;
    if (position >= 0)
        view->SetFocus();
    else
        m_host.showMessage(QStringLiteral("Строка не найдена!"),
                           QStringLiteral("База данных Тарвина"), QMessageBox::Critical);
}

bool frnFind::event(QEvent *event)
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
void frnFind::fitFrame()
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
