#include "Fosdat.h"

#include "Accessibility.h"
#include "CatalogueFile.h"
#include "CatalogueLoader.h"
#include "CataloguePrinter.h"
#include "CatalogueView.h"
#include "ComboEditGuard.h"
#include "CommandMenus.h"
#include "DataFiles.h"
#include "DataPaths.h"
#include "FocusRing.h"
#include "GroupTable.h"
#include "PanelEntryMarker.h"
#include "PdfExport.h"
#include "PrintPreview.h"
#include "ReadingMode.h"
#include "ReferenceCommands.h"
#include "ReferenceLinks.h"
#include "ReferenceListReader.h"
#include "RtfRecordDocument.h"
#include "RtfWriter.h"
#include "SaveFile.h"
#include "SoundCue.h"
#include "UserDialogs.h"
#include "ViewPlace.h"
#include "ViewZoom.h"
#include "ZoomIndicator.h"
#include "ui_Fosdat.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMetaMethod>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>

using namespace fosdat;

namespace
{

constexpr QSize ClientSize(826, 537);

const QColor LabelColor(Qt::black);
const QColor SloganColor(Qt::yellow);
const QColor LinkRestColor(0x00, 0x00, 0xC0); // dark blue
const QColor LinkHoverColor(Qt::red);

void setForeColor(QWidget *control, const QColor &color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    control->setPalette(palette);
}

// The window's fonts are sized to whole pixels at 96 dots per inch: 8.25,
// 9.75 and 15.75 points are 11, 13 and 21 pixels, so that the captions fit
// the labels' fixed sizes. Qt Designer stores whole point sizes only and
// would round them (9.75 to 10 points, 13.3 pixels), so the .ui file keeps
// each in a "pointSizeF" property. Parents come before their children, so a
// child's own size wins over the one it inherits.
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

const QString PlainSaveQuestion =
    QStringLiteral("Часть каталога показана без оформления: она будет сохранена без него, "
                   "как показана. Сохранить?");

QString helpText()
{
    return QStringLiteral(
        "Краткая справка\n"
        "1) Выберите группу организмов в выпадающем списке\n"
        "2) Нажмите кнопку ОК\n"
        "3) В окне слева появится список организмов в алфавитном порядке\n"
        "4) Рядом с названием расположен возраст, например K (Camp) - мел,кампанский ярус,\n"
        "а также цифры в скобках, обозначающие номер ссылки на литературу в соседнем окне");
}

QString aboutProgramText()
{
    return QStringLiteral("Программа: разработчики Fosdat, 2026\n"
                          "Email: fosdat@example.org\n"
                          "Web: https://fosdat.example.org");
}

QString aboutDataText()
{
    return QStringLiteral(
        "Полный каталог Тарвина: время существования 36000 родов морских животных Фанерозоя. "
        "1995 г. Уникальный источник информации для макроэволюционных исследований, "
        "послуживший основой для сотен статей и монографий. "
        "Скачено с сайта https://fosdat.example.org");
}

// A widget not shown yet gets its resize event only when it is first shown,
// and until then a scroll area's viewport keeps its default size of about
// 100 x 30 px: a document shown in the catalogue view before the window is
// shown would be laid out at that width, several times taller than it is.
// The view gets its resize event now: it sizes its viewport and lays the
// document out at the viewport's width. The resize events still to come,
// the view's and its viewport's, are then dropped: the viewport's would lay
// the catalogue out once more when the window shows. Qt (6.4) marks a
// widget whose resize event is still to come with WA_PendingResizeEvent and
// sends none once it is cleared; tst_startup's viewLaidOutOnceBeforeShown
// fails when that no longer holds.
void applySizeBeforeShown(QAbstractScrollArea *view)
{
    QResizeEvent resize(view->size(), QSize());
    QCoreApplication::sendEvent(view, &resize);
    view->setAttribute(Qt::WA_PendingResizeEvent, false);
    view->viewport()->setAttribute(Qt::WA_PendingResizeEvent, false);
}

} // namespace

Fosdat::Fosdat(SoundCue &sound, UserDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Fosdat>()), m_sound(sound), m_dialogs(dialogs)
{
    installAccessibleInterfaces();
    ui->setupUi(this);
    listShownChildrenOnly(*centralWidget());
    setUpWindow();
    applySizeBeforeShown(ui->RichTextBox1);
    m_loader = std::make_unique<CatalogueLoader>(*ui->RichTextBox1);
    setUpKeyboardAndReferences();

    for (const data::Group &group : data::GroupTable)
        ui->Combo1->addItem(group.caption.toString());
    // Only a choice from the list loads a group: no completion while typing,
    // and the edit field's Enter and loss of focus choose nothing.
    ui->Combo1->setCompleter(nullptr);
    ui->Combo1->setCurrentIndex(-1); // the edit field starts empty
    ComboEditGuard::guard(*ui->Combo1);

    // Command1, hidden, stays for its object name only: the list's choice is the OK action.
    connect(ui->Combo1, &QComboBox::activated, this, &Fosdat::loadChosenGroup);
    connect(ui->Label2, &LinkLabel::clicked, this, [this] { openReferenceList(0); });
    connect(ui->Label7, &LinkLabel::clicked, this, [this] { openReferenceList(1); });
    connect(ui->Label8, &LinkLabel::clicked, this, [this] { openReferenceList(2); });
    connect(ui->Label15, &LinkLabel::clicked, this, &Fosdat::openFindFromLink);
    for (LinkLabel *link : {ui->Label2, ui->Label7, ui->Label8, ui->Label15})
        connect(link, &LinkLabel::hovered, this, [this, link] { highlightLink(link); });
    // Image3 lies behind the links; the mouse reaches it only where nothing covers it.
    connect(ui->Image3, &HoverLabel::hovered, this, &Fosdat::restLinks);

    connect(ui->mnuSave, &QAction::triggered, this, [this] { whenWhole(&Fosdat::saveCatalogue); });
    connect(ui->mnuFind, &QAction::triggered, this, &Fosdat::findRequested);
    connect(ui->mnuFindAll, &QAction::triggered, this, &Fosdat::findAllRequested);
    connect(ui->mnuFindNext, &QAction::triggered, this, &Fosdat::findNextRequested);
    connect(ui->mnuFindPrevious, &QAction::triggered, this, &Fosdat::findPreviousRequested);
    connect(ui->mnuExit, &QAction::triggered, this, &Fosdat::exitRequested);
    connect(ui->mnuSpravka, &QAction::triggered, this, &Fosdat::showHelp);
    connect(ui->mnuAbout1, &QAction::triggered, this, &Fosdat::showAboutProgram);
    connect(ui->mnuAbout2, &QAction::triggered, this, &Fosdat::showAboutData);

    const CommandMenus menus = addCommandMenus(menuBar(), ui->mnuFile);
    for (int list = 0; list < int(menus.referenceLists.size()); ++list) {
        connect(menus.referenceLists[size_t(list)], &QAction::triggered, this,
                [this, list] { openReferenceList(list); });
    }
    connect(menus.diversity, &QAction::triggered, this, &Fosdat::diversityRequested);
    connect(menus.zoomIn, &QAction::triggered, m_zoom, &ViewZoom::zoomIn);
    connect(menus.zoomOut, &QAction::triggered, m_zoom, &ViewZoom::zoomOut);
    connect(menus.zoomReset, &QAction::triggered, m_zoom, &ViewZoom::resetZoom);
    connect(ui->RichTextBox1, &CatalogueView::documentShown, m_zoom, &ViewZoom::applyToView);
    connect(ui->RichTextBox1, &CatalogueView::partShown, m_zoom, &ViewZoom::applyToView);
    auto *links = new ReferenceLinks(ui->RichTextBox1);
    connect(links, &ReferenceLinks::referenceChosen, this, &Fosdat::showReference);
    setUpOutputCommands(menus, links);
}

Fosdat::~Fosdat() = default;

CatalogueView *Fosdat::catalogueView() const
{
    return ui->RichTextBox1;
}

CatalogueLoader::Ticket Fosdat::chooseGroup(int group)
{
    ui->Combo1->setCurrentIndex(group);
    loadChosenGroup();
    return m_loader->lastTicket();
}

// The first group is read once, by the OK action: loading it before as well
// would read and lay out the same file twice for the same view.
void Fosdat::loadStartupContent()
{
    loadChosenGroup(); // the list is still empty: only the cue
    showReferenceList(0);
    // Selecting the first item sets the text to its caption and makes the
    // arrow keys go on from there; it chooses nothing by itself.
    ui->Combo1->setCurrentIndex(0);
    loadChosenGroup();
}

void Fosdat::loadChosenGroup()
{
    m_sound.play();
    const QString text = ui->Combo1->currentText();
    for (const data::Group &group : data::GroupTable) {
        if (text == group.caption)
            m_catalogPath = group.catalogPath.toString();
    }
    if (m_catalogPath) // before any match there is nothing to load
        loadCatalogue(*m_catalogPath);
}

void Fosdat::loadCatalogue(QStringView dataPath)
{
    m_loadingCaption.clear();
    for (const data::Group &group : data::GroupTable) {
        if (group.catalogPath == dataPath)
            m_loadingCaption = group.caption.toString();
    }
    m_loader->load(data::nativePath(dataPath));
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
        setForeColor(label, LabelColor);
    setForeColor(ui->Label4, SloganColor);
    restLinks();
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

// F1 opens the help as F9 does; the panel shows when it has the focus; the
// view and the panel zoom together; reference numbers in the view are links.
void Fosdat::setUpKeyboardAndReferences()
{
    ui->mnuSpravka->setShortcuts({QKeySequence(Qt::Key_F9), QKeySequence(Qt::Key_F1)});
    new FocusRing(ui->Text2);
    m_zoom = new ViewZoom(ui->RichTextBox1, ui->Text2);
    m_entryMarker = new PanelEntryMarker(ui->Text2);
}

// Printing and PDF export, the reference at the caret and the context menus
// of references, the zoom shown, and the catalogue over the whole window.
void Fosdat::setUpOutputCommands(const CommandMenus &menus, ReferenceLinks *links)
{
    connect(m_loader.get(), &CatalogueLoader::documentShown, this,
            [this] { m_shownCaption = m_loadingCaption; });
    connect(menus.print, &QAction::triggered, this, [this] { whenWhole(&Fosdat::printCatalogue); });
    connect(menus.exportPdf, &QAction::triggered, this, [this] { whenWhole(&Fosdat::exportPdf); });
    m_pdfExport = new PdfExport(this);
    connect(m_pdfExport, &PdfExport::finished, this, &Fosdat::reportPdfExport);
    m_printPreview = new PrintPreview(this);
    connect(m_printPreview, &PrintPreview::failed, this, &Fosdat::reportPrintFailure);

    auto *references = new ReferenceCommands(ui->RichTextBox1, links, ui->Text2);
    references->setCitingAvailable([this] {
        return isSignalConnected(QMetaMethod::fromSignal(&Fosdat::citingGeneraRequested));
    });
    connect(menus.referenceAtCaret, &QAction::triggered, references,
            &ReferenceCommands::followAtCaret);
    connect(references, &ReferenceCommands::citingGeneraRequested, this,
            &Fosdat::citingGeneraRequested);

    connect(m_zoom, &ViewZoom::zoomChanged, new ZoomIndicator(ui->RichTextBox1, menus.zoomLevel),
            &ZoomIndicator::showPercent);
    new TopKeeper(ui->RichTextBox1);
    m_readingMode = new ReadingMode({this,
                                     ui->RichTextBox1,
                                     ui->Text2,
                                     ui->Combo1,
                                     {ui->Label2, ui->Label7, ui->Label8},
                                     ui->Image3});
    connect(menus.readingMode, &QAction::toggled, m_readingMode, &ReadingMode::setOn);
}

void Fosdat::showReferenceList(int list)
{
    const QString path = data::nativePath(data::ReferenceListPaths.at(size_t(list)));
    if (std::optional<data::ReferenceListText> read = data::readReferenceList(path)) {
        m_refsText = std::move(read->text);
        if (read->cut)
            m_refsText.append(u'\n').append(PartShownNotice);
    }
    ui->Text2->setPlainText(m_refsText);
}

void Fosdat::openReferenceList(int list)
{
    showReferenceList(list);
    m_sound.play();
}

void Fosdat::showReference(int list, int number)
{
    openReferenceList(list);
    m_entryMarker->mark(number);
}

void Fosdat::openFindFromLink()
{
    m_sound.play();
    emit findRequested();
}

void Fosdat::highlightLink(QLabel *label)
{
    setForeColor(label, LinkHoverColor);
}

// A link turned red under the mouse stays red when the mouse leaves it; the
// four turn blue together when the mouse moves over the empty area behind
// them, the one place that leads back to every link, and when the window is
// set up.
void Fosdat::restLinks()
{
    for (QLabel *label : {ui->Label15, ui->Label2, ui->Label7, ui->Label8})
        setForeColor(label, LinkRestColor);
}

// Writes the whole catalogue the view shows as RTF to a file the user names,
// whatever its extension. A cancelled dialog writes nothing; a failed write
// leaves any earlier file of that name as it was and is reported. A catalogue
// that shows some of its text without its formatting asks first.
void Fosdat::saveCatalogue()
{
    const rtf::ContentRecord &shown = ui->RichTextBox1->catalogue();
    if (shown.counts.plainPast && !m_dialogs.confirm(this, PlainSaveQuestion, MessageTitle))
        return;
    const std::optional<QString> path = m_dialogs.saveFileName(
        this, QStringLiteral("Сохранить информацию"), m_saveFileName, QStringLiteral("*.txt"));
    if (!path)
        return;
    const data::SaveResult saved = data::saveFile(*path, rtf::write(*rtf::buildWhole(shown)));
    // The next dialog proposes the path of the last save that worked, or the
    // name chosen since in that save's folder: the dialog may not even list a
    // folder that a save failed in.
    m_saveFileName = saved.ok ? *path
                              : m_saveFileName.left(m_saveFileName.lastIndexOf(u'/') + 1) +
                                    QFileInfo(*path).fileName();
    if (!saved.ok) {
        m_dialogs.message(this,
                          QStringLiteral("Не удалось сохранить файл %1:\n%2")
                              .arg(QDir::toNativeSeparators(*path), saved.errorString),
                          MessageTitle, QMessageBox::Critical);
    }
}

void Fosdat::showHelp()
{
    m_dialogs.message(this, helpText(), QStringLiteral("Краткая справка"),
                      QMessageBox::Information);
}

void Fosdat::showAboutProgram()
{
    m_dialogs.message(this, aboutProgramText(), MessageTitle, QMessageBox::NoIcon);
}

void Fosdat::showAboutData()
{
    m_dialogs.message(this, aboutDataText(), MessageTitle, QMessageBox::NoIcon);
}

// Made from the catalogue the view shows, which stays as it is, on the
// worker that prints it: a document belongs to the thread it is made on, and
// making that of a large catalogue would keep the window from answering.
CatalogueSource Fosdat::wholeCatalogue() const
{
    return
        [catalogue = ui->RichTextBox1->sharedCatalogue()] { return rtf::buildWhole(*catalogue); };
}

void Fosdat::whenWhole(void (Fosdat::*output)())
{
    const auto run = [this, output] { (this->*output)(); };
    m_loader->whenLoaded(this, run, run);
}

void Fosdat::printCatalogue()
{
    m_printPreview->exec(wholeCatalogue(), m_shownCaption);
}

void Fosdat::exportPdf()
{
    const QString name = (m_shownCaption.isEmpty() ? QStringLiteral("каталог") : m_shownCaption) +
                         QStringLiteral(".pdf");
    const std::optional<QString> path = m_pdfFile.choose(m_dialogs, this, name);
    if (!path)
        return;
    m_pdfExport->start(wholeCatalogue(), m_shownCaption, *path);
}

void Fosdat::reportPrintFailure(const QString &error)
{
    m_dialogs.message(this, QStringLiteral("Не удалось напечатать каталог:\n%1").arg(error),
                      MessageTitle, QMessageBox::Critical);
}

void Fosdat::reportPdfExport(const QString &path, bool written, const QString &error)
{
    if (written || error.isEmpty())
        return; // written, or stopped by the user
    m_dialogs.message(this,
                      QStringLiteral("Не удалось записать PDF %1:\n%2")
                          .arg(QDir::toNativeSeparators(path), error),
                      MessageTitle, QMessageBox::Critical);
}
