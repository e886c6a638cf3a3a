#pragma once

#include "CatalogueLoader.h"
#include "CataloguePrinter.h"
#include "UserDialogs.h"

#include <QMainWindow>
#include <QStringView>
#include <memory>
#include <optional>

namespace Ui
{
class Fosdat;
}
class CatalogueView;
class PanelEntryMarker;
class PdfExport;
class PrintPreview;
class QLabel;
class ReadingMode;
class ReferenceLinks;
struct CommandMenus;
class SoundCue;
class ViewZoom;

// The catalogue window: group list, catalogue view, reference panel, link
// labels and menus. Requests that reach beyond the window (the find dialog,
// ending the program) leave it as signals.
class Fosdat : public QMainWindow
{
    Q_OBJECT

public:
    Fosdat(SoundCue &sound, UserDialogs &dialogs, QWidget *parent = nullptr);
    ~Fosdat() override;

    // Fills the window before it is first shown: first reference list, first group.
    void loadStartupContent();

    CatalogueView *catalogueView() const;
    // Chooses row `group` of the group list as the user does: its caption
    // shown, then the OK action. Gives the load it began.
    CatalogueLoader::Ticket chooseGroup(int group);
    CatalogueLoader &catalogueLoader() const { return *m_loader; }

    // The catalogue path the OK action last matched; unset before the first match.
    const std::optional<QString> &catalogPath() const { return m_catalogPath; }
    // The reference list last read into the reference panel.
    const QString &refsText() const { return m_refsText; }

signals:
    void findRequested();
    void findAllRequested();
    void findNextRequested();
    void findPreviousRequested();
    // "Разнообразие во времени..." (Ctrl+D).
    void diversityRequested();
    void exitRequested();
    // "Роды, ссылающиеся на N" in the context menu of a reference number;
    // the item shows only while something is connected here.
    void citingGeneraRequested(int number);

private slots:
    // The OK action: the cue, then the group list's text looked up in the
    // group table and that group's catalogue loaded.
    void loadChosenGroup();
    // A reference link label: its list shown, then the cue.
    void openReferenceList(int list);
    // A reference number in the catalogue: its list shown as by its link
    // label, with its entry at the top of the panel, highlighted.
    void showReference(int list, int number);
    // The find link label: the cue, then the find dialog.
    void openFindFromLink();
    void highlightLink(QLabel *label);
    void restLinks();
    void saveCatalogue();
    void showHelp();
    void showAboutProgram();
    void showAboutData();
    // The shown catalogue in Qt's print preview, from which it is printed.
    void printCatalogue();
    // The shown catalogue written as a PDF file that the user names.
    void exportPdf();
    // Says why an export failed.
    void reportPdfExport(const QString &path, bool written, const QString &error);
    // Says why printing failed.
    void reportPrintFailure(const QString &error);

private:
    void setUpWindow();
    void setUpKeyboardAndReferences();
    void setUpOutputCommands(const CommandMenus &menus, ReferenceLinks *links);
    // Replaces the view's document with the catalogue at `dataPath`; a file
    // that cannot be read leaves the view as it is.
    void loadCatalogue(QStringView dataPath);
    // Reads reference list `list` (0 to 2) into refsText and shows it in the
    // reference panel; an unreadable list leaves refsText as it was.
    void showReferenceList(int list);
    // The whole catalogue the view shows, for printing and the PDF export.
    CatalogueSource wholeCatalogue() const;
    // Runs `output` once the catalogue being read, if any, is in the view
    // whole (or its reading has failed): what is saved or printed is never
    // the beginning shown while the rest is read.
    void whenWhole(void (Fosdat::*output)());

    std::unique_ptr<Ui::Fosdat> ui;
    std::unique_ptr<CatalogueLoader> m_loader; // goes before the view it loads into
    SoundCue &m_sound;
    UserDialogs &m_dialogs;
    std::optional<QString> m_catalogPath;
    QString m_refsText;
    ViewZoom *m_zoom = nullptr;
    PanelEntryMarker *m_entryMarker = nullptr;
    ReadingMode *m_readingMode = nullptr;
    PdfExport *m_pdfExport = nullptr;
    PrintPreview *m_printPreview = nullptr;
    // The caption of the group whose catalogue the view shows, and of the
    // one being loaded: printed at the head of each page.
    QString m_shownCaption;
    QString m_loadingCaption;
    // The PDF file written, named in a dialog that proposes the folder of the last.
    ExportFileChooser m_pdfFile{QStringLiteral("Экспорт в PDF"), QStringLiteral("PDF (*.pdf)"),
                                QStringLiteral("pdf")};
    // The name the save dialog proposes: the path of the last save that
    // worked, or the name last chosen in that save's folder.
    QString m_saveFileName = QStringLiteral("text.txt");
};
