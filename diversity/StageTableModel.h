#pragma once

#include "Measures.h"

#include <QAbstractTableModel>
#include <memory>

namespace fosdat::strata
{
class Bins;
class StageCounts;
class TimeScale;
} // namespace fosdat::strata

namespace fosdat::diversity
{

// The intervals counted in (stages or other bins of the time scale), oldest
// first, with every measure of the counts: one row an interval, one column a
// measure after the interval's code, name, period and ages, then the measure
// chosen of every other selection compared.
class StageTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int FirstMeasureColumn = 5;

    using QAbstractTableModel::QAbstractTableModel;

    // New counts on equal bins change the cells only, so that the view
    // keeps its selection; other bins or a new scale reset the table.
    void setCounts(std::shared_ptr<const strata::TimeScale> scale,
                   std::shared_ptr<const strata::Bins> bins,
                   std::shared_ptr<const strata::StageCounts> counts);

    // Other selections' counts on the same bins, a column each after the
    // measures, showing `measure`; their names head them.
    struct Series {
        QString name;
        std::shared_ptr<const strata::StageCounts> counts;
    };
    void setSeries(QList<Series> series, int measure);

    // The measure a column shows, or null for the stage's own columns.
    static const Measure *measureOf(int column);
    static int columnOf(int measure) { return FirstMeasureColumn + measure; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant stageData(int stage, int column) const;

    std::shared_ptr<const strata::TimeScale> m_scale;
    std::shared_ptr<const strata::Bins> m_bins;
    std::shared_ptr<const strata::StageCounts> m_counts;
    QList<Series> m_series;
    int m_seriesMeasure = 0;
};

} // namespace fosdat::diversity
