#pragma once

#include "Bins.h"
#include "CodeMappingDialog.h"
#include "DiversityFigure.h"
#include "EntryTextFilter.h"
#include "FigureExport.h"
#include "GenusCatalogue.h"
#include "StageCounts.h"
#include "Taxa.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QToolButton;
class QTreeView;

namespace fosdat::diversity
{

class DiversityPlot;
class GenusListModel;
class GroupChecklist;
class NotCountedModel;
class RangeChartWindow;
class StageTableModel;
class SurvivorshipDialog;
class TaxonTree;

enum class DiversityExport {
    StageTable,
    GenusList,
    Svg,
    Png,
    Pdf,
    RangeSvg, // of the range chart
    RangePng,
    RangePdf,
    Durations,    // of the genera counted, from "Долговечность и выживание"
    Survivorship, // of the cohort of the interval chosen
};

// The window "Разнообразие во времени": the genus entries it is given,
// filtered by group and by text, counted in the intervals chosen (the
// catalogue's own units by default, or the chart's stages, epochs, periods,
// 10 Myr) with the options chosen, the chosen measure plotted through time
// beside a table of every interval's counts; an interval chosen in either
// lists the genera behind its count, and the entries not counted are listed
// by reason. The counts are made anew at each
// change of a filter or an option. It says which genus to open and which
// export the user asked for; whoever owns the catalogues opens the genus and
// writes the file.
class DiversityWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DiversityWindow(QWidget *parent = nullptr);
    ~DiversityWindow() override;

    // The entries to count, replacing any before; filters and options stay.
    void setCatalogue(GenusCatalogue catalogue);
    // The generation of the catalogues' texts the entries counted were read
    // from; 0 before any came.
    quint64 generation() const;

    // The bytes of an export of what the window shows: the stage table or
    // the genus list as CSV, the figure as SVG, PNG or PDF, the durations of
    // the genera counted or the survivorship of the chosen interval's cohort
    // as CSV. Empty when there is nothing to export.
    QByteArray exportBytes(DiversityExport kind) const;
    // A name for its file, with its suffix.
    QString exportName(DiversityExport kind) const;

    DiversityPlot *plot() const { return m_plot; }
    // The selections kept to compare with the current one.
    int seriesCount() const { return int(m_series.size()); }
    // The range chart's window; null before a chart was asked for.
    RangeChartWindow *rangeChart() const { return m_rangeChart; }
    // The counts shown; null before the entries have come.
    const strata::StageCounts *counts() const { return m_counts.get(); }

signals:
    void genusOpened(const fosdat::diversity::GenusPlace &place);
    void exportRequested(fosdat::diversity::DiversityExport kind);
    // Unknown codes to be counted as known ones from now on.
    void codesMapped(const QList<fosdat::diversity::CodeMapping> &mappings);

private:
    void setUpControls();
    void setUpLayout();
    void setUpExports();
    void changeTextFilter();
    void recount();
    void showMeasure();
    void chooseStage(int stage);
    void showStage(const QModelIndex &current);
    void listGenera();
    void showNotCounted();
    void openEntry(int entry);
    void openGenus(int entry);
    void listTaxon(const QString &name);
    // What one selection of groups and text counts: the catalogue's genera
    // under its filter, or the families or orders made of the genera it
    // admits (with those genera, to make them again under other options).
    struct Selection {
        std::shared_ptr<const GenusCatalogue> counted;
        strata::EntryFilter filter;
        QList<strata::GenusEntry> admitted;
    };
    Selection select(strata::EntryFilter filter) const;
    void addSeries();
    void removeSeries(int series); // -1: all
    void showSeries();
    void listSeriesInMenu();
    QString selectionName(bool english) const;
    void chartRanges();
    void chartTaxon(const QString &name);
    void chart(const QList<int> &entries, const QString &source, const QString &sourceInEnglish);
    void openCharted(int entry);
    void mapUnknownCodes();
    void showSurvivorship();
    void updateSurvivorship();
    int measureIndex() const;
    strata::CountOptions options() const;
    strata::BinKind binKind() const;
    strata::TaxonLevel taxonLevel() const;
    // The figure's content; its texts in English for an export so labelled.
    FigureContent figureContent(bool english = false) const;
    QString title(bool english = false) const;
    QString totals(bool english = false) const;
    QString notReadWhole() const;
    QString describeStage(int stage) const;

    std::shared_ptr<const GenusCatalogue> m_catalogue;
    // What is counted: the catalogue's genera, or its families or orders.
    std::shared_ptr<const GenusCatalogue> m_counted;
    std::shared_ptr<const strata::Bins> m_bins; // of the counts
    std::shared_ptr<const strata::StageCounts> m_counts;
    // The same without living genera, and with the fewest and the most
    // entries counted: made only while shown.
    std::shared_ptr<const strata::StageCounts> m_extinct;
    std::shared_ptr<const strata::StageCounts> m_fewest;
    std::shared_ptr<const strata::StageCounts> m_most;
    QList<int> m_notCountedInPeriods; // by bin, for the figure
    EntryTextFilter m_textFilter;
    // A selection of groups and text kept to compare with the current one,
    // counted anew with it under every option.
    struct ComparedSeries {
        QString name;
        QString englishName;
        QList<bool> groups;
        EntryTextFilter text;
        std::shared_ptr<const strata::StageCounts> counts;
    };
    QList<ComparedSeries> m_series;
    QTimer m_recount; // many changes at once, one recount
    int m_stage = -1;
    strata::Count m_listed = strata::Count::Genera;
    bool m_notCountedShown = false; // the tab lists the counts shown

    QLineEdit *m_filterText;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QComboBox *m_binKind;
    QComboBox *m_level;
    QComboBox *m_measure;
    QCheckBox *m_logScale;
    QCheckBox *m_splitLiving;
    QCheckBox *m_showRange;
    QCheckBox *m_shareOfMaximum;
    QToolButton *m_seriesButton;
    QAction *m_addSeries;
    QSpinBox *m_oldestMa; // the time shown; 0: from the oldest counted genus
    QSpinBox *m_youngestMa;
    QCheckBox *m_countUncertain;
    QCheckBox *m_countPeriodOnly;
    QCheckBox *m_countLiving;
    QToolButton *m_exportButton;
    QPushButton *m_mapCodes;
    QAction *m_mapCodesItem;             // the same in the context menu of "Не учтено"
    FigureSize m_figureSize = PageWidth; // of the figures exported
    bool m_englishFigures = false;       // their labels in English
    QAction *m_exportGenera = nullptr;
    QPushButton *m_chartButton;
    RangeChartWindow *m_rangeChart = nullptr;
    std::shared_ptr<const GenusCatalogue> m_charted; // what the chart's bars are of
    GroupChecklist *m_groups;
    DiversityPlot *m_plot;
    QTabWidget *m_tabs;
    QTableView *m_stageTable;
    StageTableModel *m_stageModel;
    QTreeView *m_notCountedList;
    NotCountedModel *m_notCountedModel;
    TaxonTree *m_taxonTree;
    QLabel *m_genusCaption;
    QTreeView *m_genusList;
    GenusListModel *m_genusModel;
    QLabel *m_statusLine;
    // "Долговечность и выживание" of the interval chosen, by a button and the
    // table's context menu; the dialog follows the choice while open.
    QPushButton *m_survivorshipButton = nullptr;
    QAction *m_survivorshipItem = nullptr;
    QPointer<SurvivorshipDialog> m_survivorship;
};

} // namespace fosdat::diversity
