#pragma once

#include "Survivorship.h"
#include "Taxa.h"

#include <QDialog>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QToolButton;

namespace fosdat::strata
{
class Bins;
class StageCounts;
} // namespace fosdat::strata

namespace fosdat::diversity
{

class DurationPlot;
class SurvivalPlot;

// What the dialog shows: the durations of the genera counted on `bins`, and
// the cohort of one of the bins.
struct SurvivorshipContent {
    std::shared_ptr<const strata::Bins> bins;
    std::shared_ptr<const strata::StageCounts> counts;        // what `survivorship` is made of
    std::shared_ptr<const strata::Survivorship> survivorship; // none before any counts
    int bin = -1;                                             // the cohort's; -1: none chosen
    strata::TaxonLevel level = strata::TaxonLevel::Genus;     // what was counted
};

// "Долговечность и выживание": the durations of the genera counted as a
// histogram, the living ones (their durations minimums) stacked in a
// lighter shade, of all of them or of the cohort alone; and the share of the
// cohort of the chosen interval still there in each later interval, against
// time. It says which table the user asked to write; whoever opened it
// writes the file. It is hidden with the window it belongs to.
class SurvivorshipDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SurvivorshipDialog(QWidget *parent = nullptr);

    void setContent(SurvivorshipContent content);
    const SurvivorshipContent &content() const { return m_content; }

signals:
    void durationsExportRequested();
    void survivalExportRequested();

private:
    void showDurations();

    SurvivorshipContent m_content;
    QLabel *m_caption;
    QCheckBox *m_cohortOnly;
    DurationPlot *m_durations;
    SurvivalPlot *m_survival;
    QToolButton *m_csv;
    QAction *m_exportDurations;
    QAction *m_exportSurvival;
};

} // namespace fosdat::diversity
