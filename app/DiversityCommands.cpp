#include "DiversityCommands.h"

#include "CatalogueSearch.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "SaveFile.h"
#include "TimeScale.h"
#include "UserDialogs.h"
#include "UserTimeScale.h"
#include "ViewMatches.h"
#include "WindowFront.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtConcurrent>

using namespace fosdat;
using namespace fosdat::diversity;
using namespace Qt::StringLiterals;

namespace
{

const QString WindowTitle = u"Разнообразие во времени"_s;
constexpr int ShownScaleErrors = 10;

struct ScaleChoice {
    std::shared_ptr<const strata::TimeScale> scale;
    QStringList errors; // "строка 3: ..."
};

// The shipped time scale, with the user's file over it when there is one.
ScaleChoice chooseTimeScale()
{
    const std::optional<data::UserTimeScale> user = data::readUserTimeScale();
    if (!user)
        return {std::make_shared<const strata::TimeScale>(strata::shippedTimeScale()), {}};
    if (!user->error.isEmpty())
        return {std::make_shared<const strata::TimeScale>(strata::shippedTimeScale()),
                {user->error}};
    strata::ScaleReading reading =
        strata::readTimeScale(strata::shippedTimeScaleText(), user->text);
    ScaleChoice choice{std::make_shared<const strata::TimeScale>(std::move(reading.scale)), {}};
    for (const strata::ScaleError &error : reading.errors)
        choice.errors << u"строка %1: %2"_s.arg(error.line).arg(error.message);
    return choice;
}

struct Reading {
    std::shared_ptr<const QStringList> texts;
    std::optional<GenusCatalogue> catalogue; // none when the texts are those read before
};

// In a worker: the entries of every text, unless they are the texts read before.
Reading readCatalogue(const QStringList &texts, std::shared_ptr<const QStringList> before,
                      std::shared_ptr<const strata::TimeScale> scale)
{
    if (before && *before == texts)
        return {before, std::nullopt};
    return {std::make_shared<const QStringList>(texts), readGenusCatalogue(texts, scale)};
}

struct ExportFormat {
    QString title;
    QString filter;
    QString suffix;
};

ExportFormat formatOf(DiversityExport kind)
{
    switch (kind) {
    case DiversityExport::StageTable:
        return {u"Экспорт таблицы ярусов"_s, u"CSV (*.csv)"_s, u"csv"_s};
    case DiversityExport::GenusList:
        return {u"Экспорт списка родов"_s, u"CSV (*.csv)"_s, u"csv"_s};
    case DiversityExport::Svg:
        return {u"Экспорт рисунка в SVG"_s, u"SVG (*.svg)"_s, u"svg"_s};
    case DiversityExport::Png:
        return {u"Экспорт рисунка в PNG"_s, u"PNG (*.png)"_s, u"png"_s};
    case DiversityExport::Pdf:
        return {u"Экспорт рисунка в PDF"_s, u"PDF (*.pdf)"_s, u"pdf"_s};
    }
    return {};
}

} // namespace

DiversityCommands::DiversityCommands(UserDialogs &dialogs, CatalogueSearch &search,
                                     std::function<Fosdat *()> catalogueWindow)
    : m_dialogs(dialogs), m_search(search), m_catalogueWindow(std::move(catalogueWindow))
{
}

DiversityCommands::~DiversityCommands()
{
    delete m_window;
}

void DiversityCommands::openWindow()
{
    if (!m_window) {
        ScaleChoice choice = chooseTimeScale();
        m_scale = std::move(choice.scale);
        m_scaleErrors = std::move(choice.errors);
        m_window = new DiversityWindow;
        connect(m_window, &DiversityWindow::genusOpened, this, &DiversityCommands::openGenus);
        connect(m_window, &DiversityWindow::exportRequested, this, &DiversityCommands::exportFile);
    }
    m_window->show();
    bringWindowToFront(*m_window);
    readEntries();
    reportScaleErrors();
}

void DiversityCommands::closeWindow()
{
    if (m_window)
        m_window->hide();
}

// The texts come from the search's worker, which reads changed files again;
// the entries are read from them in another. A reading asked for while one
// runs follows it.
void DiversityCommands::readEntries()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    m_search.texts()
        .then(QtFuture::Launch::Async,
              [before = m_texts, scale = m_scale](const QStringList &texts) {
                  return readCatalogue(texts, before, scale);
              })
        .then(this, [this](Reading reading) {
            m_reading = false;
            m_texts = reading.texts;
            if (reading.catalogue && m_window) {
                m_window->setCatalogue(std::move(*reading.catalogue));
                emit entriesRead();
            }
            if (std::exchange(m_readAgain, false))
                readEntries();
        });
}

// As a search result is opened: the group chosen as in the group list, then,
// once its catalogue is shown, the genus's name selected in its entry.
void DiversityCommands::openGenus(const GenusPlace &place)
{
    if (place.group < 0)
        return;
    Fosdat *window = m_catalogueWindow();
    CatalogueView *view = window->catalogueView();
    const CatalogueLoader::Ticket load = window->chooseGroup(place.group);
    const TextMatcher name(place.genus, QTextDocument::FindCaseSensitively);
    window->catalogueLoader().whenShown(
        load, view,
        [view, place, name] {
            ViewMatches::of(*view).selectInParagraph(name, place.paragraph, place.offset);
            view->bringToFront();
        },
        [view] { view->bringToFront(); });
}

void DiversityCommands::exportFile(DiversityExport kind)
{
    const ExportFormat format = formatOf(kind);
    const QString name = m_window->exportName(kind);
    const std::optional<QString> path = m_dialogs.exportFileName(
        m_window, format.title,
        m_exportFolder.isEmpty() ? name : QDir(m_exportFolder).filePath(name), format.filter,
        format.suffix);
    if (!path)
        return;
    m_exportFolder = QFileInfo(*path).path();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QByteArray bytes = m_window->exportBytes(kind);
    const data::SaveResult saved = bytes.isEmpty() ? data::SaveResult{false, u"нечего записать"_s}
                                                   : data::saveFile(*path, bytes);
    QGuiApplication::restoreOverrideCursor();
    if (!saved.ok) {
        m_dialogs.message(m_window,
                          u"Не удалось записать файл %1:\n%2"_s.arg(QDir::toNativeSeparators(*path),
                                                                    saved.errorString),
                          WindowTitle, QMessageBox::Critical);
    }
}

// Once: what of the user's time scale file was left out.
void DiversityCommands::reportScaleErrors()
{
    if (m_scaleErrors.isEmpty())
        return;
    QStringList shown = m_scaleErrors.mid(0, ShownScaleErrors);
    if (m_scaleErrors.size() > ShownScaleErrors)
        shown << u"и ещё %1"_s.arg(m_scaleErrors.size() - ShownScaleErrors);
    m_dialogs.message(m_window,
                      u"Файл шкалы времени %1 прочитан не весь; не учтено:\n%2"_s.arg(
                          QDir::toNativeSeparators(data::userTimeScalePath()), shown.join(u'\n')),
                      WindowTitle, QMessageBox::Warning);
    m_scaleErrors.clear();
}
