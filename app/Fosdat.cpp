#include "Fosdat.h"

#include "DataFiles.h"
#include "DataPaths.h"
#include "GroupTable.h"
#include "ResumeNext.h"
#include "SoundCue.h"
#include "UserDialogs.h"
#include "ui_Fosdat.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

Q_LOGGING_CATEGORY(lcSteps, "fosdat.steps", QtWarningMsg)

using namespace fosdat;

// The pictures are compiled into this static library, where nothing refers to
// them by symbol, so they are registered by hand, once.
static void registerPictures()
{
    Q_INIT_RESOURCE(fosdat);
}

namespace
{

constexpr QSize ClientSize(826, 537);

// Colours as the window definitions give them: 0x00BBGGRR.
constexpr quint32 Black = 0x000000;
constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 RestColour = 0xC00000;  // dark blue
constexpr quint32 HoverColour = 0x0000FF; // red

QColor fromBgr(quint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

void setForeColor(QWidget *control, quint32 bgr)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, fromBgr(bgr));
    control->setPalette(palette);
}

// Qt Designer stores whole point sizes only; the window's fonts use the
// quarter-point sizes of the classic dialog fonts (8.25, 9.75, 15.75), which
// the .ui file keeps in a "pointSizeF" property. Parents come before their
// children, so a child's own size wins over the one it inherits.
void applyPointSizes(QWidget *root)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : std::as_const(widgets)) {
        const QVariant size = widget->property("pointSizeF");
        if (!size.isValid())
            continue;
        QFont font = widget->font();
        font.setPointSizeF(size.toDouble());
        widget->setFont(font);
    }
}

const QString AppTitle = QStringLiteral("база данных Тарвина");

QString helpText()
{
    return QStringList{
        QStringLiteral("Краткая справка"),
        QStringLiteral("1) Выберите группу организмов в выпадающем списке"),
        QStringLiteral("2) Нажмите кнопку ОК"),
        QStringLiteral("3) В окне слева появится список организмов в алфавитном порядке"),
        QStringLiteral("4) Рядом с названием расположен возраст, например K (Camp) - "
                       "мел,кампанский ярус,"),
        QStringLiteral("а также цифры в скобках, обозначающие номер ссылки на литературу в "
                       "соседнем окне"),
    }
        .join(u"\r\n");
}

QString aboutProgramText()
{
    return QStringList{
        QStringLiteral("Программа: разработчики Fosdat, 2026"),
        QStringLiteral("Email: fosdat@example.org"),
        QStringLiteral("Web: https://fosdat.example.org"),
    }
        .join(u"\r\n");
}

QString aboutDataText()
{
    return QStringLiteral(
        "Полный каталог Тарвина: время существования 36000 родов морских животных Фанерозоя. "
        "1995 г. Уникальный источник информации для макроэволюционных исследований, "
        "послуживший основой для сотен статей и монографий. "
        "Скачено с сайта https://fosdat.example.org");
}

} // namespace

Fosdat::Fosdat(SoundCue &sound, UserDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Fosdat>()), m_sound(sound), m_dialogs(dialogs)
{
    [[maybe_unused]] static const bool picturesRegistered = (registerPictures(), true);
    ui->setupUi(this);
    setUpWindow();

    // Only a choice from the list loads a group: no completion while typing,
    // and Enter in the edit field chooses nothing.
    ui->Combo1->setCompleter(nullptr);
    ui->Combo1->setCurrentIndex(-1); // the edit field starts empty
    ui->Combo1->lineEdit()->installEventFilter(this);

    connect(ui->Command1, &QPushButton::clicked, this, &Fosdat::Command1_Click);
    connect(ui->Combo1, &QComboBox::activated, this, &Fosdat::Combo1_Click);
    connectMenus();
    routeMouseEvents();
}

Fosdat::~Fosdat() = default;

void Fosdat::Form_Load()
{
    resumeNext([&] { ui->Command1->click(); }, [&] { showReferenceList(data::Refs1Path); },
               [&] { ui->RichTextBox1->LoadFile(data::nativePath(GroupTable[0].catalogPath)); },
               // Selecting the first item sets the text to its caption and makes the
               // arrow keys go on from there; it raises no Combo1_Click.
               [&] { ui->Combo1->setCurrentIndex(0); }, [&] { Command1_Click(); });
}

void Fosdat::Command1_Click()
{
    const QString text = ui->Combo1->currentText();
    resumeNext(
        [&] { m_sound.play(); },
        [&] {
            for (const Group &group : GroupTable) {
                if (text == group.caption)
                    m_CatalogPath = group.catalogPath.toString();
            }
        },
        [&] { ui->RichTextBox1->LoadFile(data::nativePath(m_CatalogPath.value_or(QString()))); });
}

void Fosdat::Combo1_Click()
{
    ui->Command1->click();
}

// A fixed-size client area below the menu bar, controls at fixed places
// (the central widget has no layout), a minimise box but no maximise box,
// centred on the screen.
void Fosdat::setUpWindow()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/fosdat-16.png"));
    icon.addFile(QStringLiteral(":/icons/fosdat-32.png"));
    setWindowIcon(icon);
    applyPointSizes(this);

    for (QLabel *label : {ui->Label6, ui->Label1, ui->Label3})
        setForeColor(label, Black);
    setForeColor(ui->Label4, Yellow);
    for (QLabel *label : {ui->Label2, ui->Label7, ui->Label8, ui->Label15})
        setForeColor(label, RestColour);
    // The bracket lines are drawings only: the mouse passes through them.
    for (QFrame *line : {ui->Line1, ui->Line2, ui->Line3, ui->Line5, ui->Line6, ui->Line12})
        line->setAttribute(Qt::WA_TransparentForMouseEvents);

    const int menuHeight = menuBar()->heightForWidth(ClientSize.width());
    const QSize size(ClientSize.width(),
                     ClientSize.height() +
                         (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
    const QScreen *screen = this->screen();
    setGeometry(screen ? QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size,
                                             screen->availableGeometry())
                       : QRect(QPoint(), size));
}

void Fosdat::connectMenus()
{
    connect(ui->mnuSave, &QAction::triggered, this, &Fosdat::mnuSave_Click);
    connect(ui->mnuFind, &QAction::triggered, this, &Fosdat::mnuFind_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &Fosdat::mnuExit_Click);
    connect(ui->mnuSpravka, &QAction::triggered, this, &Fosdat::mnuSpravka_Click);
    connect(ui->mnuAbout1, &QAction::triggered, this, &Fosdat::mnuAbout1_Click);
    connect(ui->mnuAbout2, &QAction::triggered, this, &Fosdat::mnuAbout2_Click);
}

// Labels have no mouse-move or click signals; an event filter hands their
// events to the handlers. Image3 lies behind the other controls, so it sees
// the mouse only where nothing covers it.
void Fosdat::routeMouseEvents()
{
    m_mouseHandlers = {{
        {ui->Label2, &Fosdat::Label2_MouseMove, &Fosdat::Label2_Click},
        {ui->Label7, &Fosdat::Label7_MouseMove, &Fosdat::Label7_Click},
        {ui->Label8, &Fosdat::Label8_MouseMove, &Fosdat::Label8_Click},
        {ui->Label15, &Fosdat::Label15_MouseMove, &Fosdat::Label15_Click},
        {ui->Image3, &Fosdat::Image3_MouseMove, nullptr},
    }};
    for (const MouseHandlers &handlers : m_mouseHandlers) {
        handlers.control->setMouseTracking(true);
        handlers.control->installEventFilter(this);
    }
}

void Fosdat::showReferenceList(QStringView dataPath)
{
    // An unreadable list leaves RefsText as it was; the panel then shows that again.
    resumeNext([&] { m_RefsText = data::readAnsiTextFile(data::nativePath(dataPath)).value(); },
               [&] { ui->Text2->setPlainText(m_RefsText); });
}

void Fosdat::referenceLabelClick(QStringView dataPath)
{
    showReferenceList(dataPath);
    resumeNext([&] { m_sound.play(); });
}

void Fosdat::Label2_Click()
{
    referenceLabelClick(data::Refs1Path);
}

void Fosdat::Label7_Click()
{
    referenceLabelClick(data::Refs2Path);
}

void Fosdat::Label8_Click()
{
    referenceLabelClick(data::Refs3Path);
}

void Fosdat::Label15_Click()
{
    resumeNext([&] { m_sound.play(); }, [&] { emit findRequested(); });
}

void Fosdat::Label2_MouseMove()
{
    setForeColor(ui->Label2, HoverColour);
}

void Fosdat::Label7_MouseMove()
{
    setForeColor(ui->Label7, HoverColour);
}

void Fosdat::Label8_MouseMove()
{
    setForeColor(ui->Label8, HoverColour);
}

void Fosdat::Label15_MouseMove()
{
    setForeColor(ui->Label15, HoverColour);
}

// The only way back to the rest colour.
void Fosdat::Image3_MouseMove()
{
    for (QLabel *label : {ui->Label15, ui->Label2, ui->Label7, ui->Label8})
        setForeColor(label, RestColour);
}

// Writes the whole catalogue view as RTF to a file the user names, whatever
// its extension. A cancelled dialog writes nothing; a failed write leaves any
// earlier file of that name as it was and is reported.
void Fosdat::mnuSave_Click()
{
    const std::optional<QString> path = m_dialogs.saveFileName(
        this, QStringLiteral("Сохранить информацию"), m_saveFileName, QStringLiteral("*.txt"));
    if (!path)
        return;
    m_saveFileName = *path;
    const rtf::SaveResult saved = ui->RichTextBox1->SaveFile(*path);
    if (!saved.ok) {
        m_dialogs.message(this,
                          QStringLiteral("Не удалось сохранить файл %1:\r\n%2")
                              .arg(QDir::toNativeSeparators(*path), saved.errorString),
                          AppTitle, QMessageBox::Critical);
    }
}

void Fosdat::mnuFind_Click()
{
    resumeNext([&] { emit findRequested(); });
}

void Fosdat::mnuSpravka_Click()
{
    m_dialogs.message(this, helpText(), QStringLiteral("Краткая справка"),
                      QMessageBox::Information);
}

void Fosdat::mnuAbout1_Click()
{
    m_dialogs.message(this, aboutProgramText(), AppTitle, QMessageBox::NoIcon);
}

void Fosdat::mnuAbout2_Click()
{
    m_dialogs.message(this, aboutDataText(), AppTitle, QMessageBox::NoIcon);
}

void Fosdat::mnuExit_Click()
{
    emit exitRequested();
}

// A click is a left-button release inside the control that was pressed.
void Fosdat::dispatchMouseEvent(QObject *watched, QEvent *event)
{
    for (const MouseHandlers &handlers : m_mouseHandlers) {
        if (watched != handlers.control)
            continue;
        if (event->type() == QEvent::MouseMove) {
            (this->*handlers.mouseMove)();
        } else if (event->type() == QEvent::MouseButtonRelease && handlers.click) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton &&
                handlers.control->rect().contains(mouse->position().toPoint()))
                (this->*handlers.click)();
        }
        return;
    }
}

bool Fosdat::eventFilter(QObject *watched, QEvent *event)
{
    dispatchMouseEvent(watched, event);
    if (watched == ui->Combo1->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
