#include "DiversityCommands.h"

#include "CatalogueNavigator.h"
#include "CatalogueSearch.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "RangeChartWindow.h"
#include "SaveFile.h"
#include "UserDialogs.h"
#include "UserTimeScale.h"
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

// What the window is given from one generation of the catalogues.
struct Reading {
    std::optional<GenusCatalogue> catalogue; // none when it counts these already
    catalogue::TimeScaleChoice scale;
};

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
    case DiversityExport::RangeSvg:
        return {u"Экспорт диаграммы в SVG"_s, u"SVG (*.svg)"_s, u"svg"_s};
    case DiversityExport::RangePng:
        return {u"Экспорт диаграммы в PNG"_s, u"PNG (*.png)"_s, u"png"_s};
    case DiversityExport::RangePdf:
        return {u"Экспорт диаграммы в PDF"_s, u"PDF (*.pdf)"_s, u"pdf"_s};
    case DiversityExport::Durations:
        return {u"Экспорт длительностей родов"_s, u"CSV (*.csv)"_s, u"csv"_s};
    case DiversityExport::Survivorship:
        return {u"Экспорт выживания когорты"_s, u"CSV (*.csv)"_s, u"csv"_s};
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
        m_window = new DiversityWindow;
        connect(m_window, &DiversityWindow::genusOpened, this, &DiversityCommands::openGenus);
        connect(m_window, &DiversityWindow::exportRequested, this, &DiversityCommands::exportFile);
        connect(m_window, &DiversityWindow::codesMapped, this, &DiversityCommands::mapCodes);
    }
    m_window->show();
    bringWindowToFront(*m_window);
    readEntries();
}

void DiversityCommands::closeWindow()
{
    if (m_window)
        m_window->hide();
}

// In the model's worker, which reads the files: the entries of the
// catalogues as they are on disk now, and the index's texts of the same
// generation, unless the window counts those already. A reading asked for
// while one runs follows it.
void DiversityCommands::readEntries()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    CatalogueSearch &search = m_search;
    const quint64 shown = std::exchange(m_scaleChanged, false) ? 0 : m_window->generation();
    QtConcurrent::run(&search.model().worker(), [&search, shown, base = QDir::currentPath()] {
        const catalogue::CataloguesPtr texts = search.model().refresh(base);
        Reading reading{std::nullopt, search.model().timeScale()};
        if (texts->generation() != shown) {
            reading.catalogue =
                genusCatalogue(search.model().entries(texts), search.indexedBytes(texts));
        }
        return reading;
    }).then(this, [this](Reading reading) {
        m_reading = false;
        takeScaleErrors(reading.scale);
        if (reading.catalogue && m_window) {
            m_window->setCatalogue(std::move(*reading.catalogue));
            emit entriesRead();
        }
        reportScaleErrors();
        if (std::exchange(m_readAgain, false))
            readEntries();
    });
}

// The lines of the user's time scale file left out, once, in the window's words.
void DiversityCommands::takeScaleErrors(const catalogue::TimeScaleChoice &choice)
{
    if (std::exchange(m_scaleRead, true))
        return;
    if (!choice.fileError.isEmpty())
        m_scaleErrors << choice.fileError;
    for (const strata::ScaleError &error : choice.errors)
        m_scaleErrors << u"строка %1: %2"_s.arg(error.line).arg(error.message);
}

// As a search result is opened, the genus's name selected in its entry.
void DiversityCommands::openGenus(const GenusPlace &place)
{
    openInCatalogue(
        *m_catalogueWindow(),
        {place.group, place.paragraph, place.offset, int(place.genus.size()), place.genus},
        TextMatcher(place.genus, QTextDocument::FindCaseSensitively));
}

void DiversityCommands::exportFile(DiversityExport kind)
{
    const ExportFormat format = formatOf(kind);
    const QString name = m_window->exportName(kind);
    // Over the window the export was asked from.
    const bool chart = kind >= DiversityExport::RangeSvg && m_window->rangeChart();
    QWidget *over = chart ? static_cast<QWidget *>(m_window->rangeChart()) : m_window;
    const std::optional<QString> path = m_dialogs.exportFileName(
        over, format.title, m_exportFolder.isEmpty() ? name : QDir(m_exportFolder).filePath(name),
        format.filter, format.suffix);
    if (!path)
        return;
    m_exportFolder = QFileInfo(*path).path();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QByteArray bytes = m_window->exportBytes(kind);
    const data::SaveResult saved = bytes.isEmpty() ? data::SaveResult{false, u"нечего записать"_s}
                                                   : data::saveFile(*path, bytes);
    QGuiApplication::restoreOverrideCursor();
    if (!saved.ok) {
        m_dialogs.message(over,
                          u"Не удалось записать файл %1:\n%2"_s.arg(QDir::toNativeSeparators(*path),
                                                                    saved.errorString),
                          WindowTitle, QMessageBox::Critical);
    }
}

// Each code chosen becomes an alias line of the user's time scale file, added
// after what the file holds; the entries are then read again in the new scale.
// A file that cannot be read whole is not written over.
void DiversityCommands::mapCodes(const QList<diversity::CodeMapping> &mappings)
{
    const strata::TimeScale &scale = *m_search.model().timeScale().scale;
    QStringList lines;
    for (const diversity::CodeMapping &mapping : mappings) {
        const strata::Unit *known = scale.unit(mapping.known);
        const bool oneField = !mapping.code.contains(u',') && !mapping.code.contains(u'\n') &&
                              !mapping.code.contains(u'\r');
        if (known && oneField)
            lines << strata::aliasLine(scale, *known, mapping.code);
    }
    if (lines.isEmpty())
        return;
    const std::optional<data::UserTimeScale> user = data::readUserTimeScale();
    const QString path = data::userTimeScalePath();
    if (user && !user->error.isEmpty()) {
        m_dialogs.message(m_window,
                          u"Файл шкалы времени %1 не изменён: %2"_s.arg(
                              QDir::toNativeSeparators(path), user->error),
                          WindowTitle, QMessageBox::Critical);
        return;
    }
    QString text = user ? user->text : QString();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    text += u"# Сопоставлено в окне «Разнообразие во времени»\n"_s + lines.join(u'\n') + u'\n';
    QDir().mkpath(QFileInfo(path).path());
    const data::SaveResult saved = data::saveFile(path, text.toUtf8());
    if (!saved.ok) {
        m_dialogs.message(m_window,
                          u"Не удалось записать файл шкалы времени %1:\n%2"_s.arg(
                              QDir::toNativeSeparators(path), saved.errorString),
                          WindowTitle, QMessageBox::Critical);
        return;
    }
    m_search.model().forgetTimeScale();
    m_scaleRead = false;
    m_scaleChanged = true;
    readEntries();
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
