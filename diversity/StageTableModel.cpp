#include "StageTableModel.h"

#include "Bins.h"
#include "StageCounts.h"
#include "TimeScale.h"

#include <QColor>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

void StageTableModel::setCounts(std::shared_ptr<const strata::TimeScale> scale,
                                std::shared_ptr<const strata::Bins> bins,
                                std::shared_ptr<const strata::StageCounts> counts)
{
    const bool sameBins = m_bins && bins && m_bins->bins() == bins->bins();
    if (scale != m_scale || !sameBins || !m_counts || !counts ||
        counts->stageCount() != m_counts->stageCount()) {
        beginResetModel();
        m_scale = std::move(scale);
        m_bins = std::move(bins);
        m_counts = std::move(counts);
        endResetModel();
        return;
    }
    m_bins = std::move(bins);
    m_counts = std::move(counts);
    if (rowCount() > 0)
        emit dataChanged(index(0, FirstMeasureColumn), index(rowCount() - 1, columnCount() - 1));
}

const Measure *StageTableModel::measureOf(int column)
{
    const int measure = column - FirstMeasureColumn;
    return measure >= 0 && measure < measures().size() ? &measures()[measure] : nullptr;
}

int StageTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_scale || !m_bins || !m_counts ? 0 : m_counts->stageCount();
}

int StageTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FirstMeasureColumn + int(measures().size() + m_series.size());
}

QVariant StageTableModel::stageData(int stage, int column) const
{
    const strata::Bin &bin = m_bins->bins().at(stage);
    switch (column) {
    case 0:
        return bin.code;
    case 1:
        return bin.name;
    case 2:
        return strata::joinedNames(m_scale->stages().at(bin.first).period,
                                   m_scale->stages().at(bin.last).period);
    case 3:
        return formatAge(bin.base);
    case 4:
        return formatAge(bin.top);
    }
    if (const Measure *measure = measureOf(column))
        return measureText(*measure, *m_counts, stage);
    const Series &series = m_series.at(column - FirstMeasureColumn - measures().size());
    return stage < series.counts->stageCount()
               ? measureText(measures()[m_seriesMeasure], *series.counts, stage)
               : QVariant();
}

// Columns added or taken at the end, so that the view keeps its current
// cell; the rest told of their new values.
void StageTableModel::setSeries(QList<Series> series, int measure)
{
    const int first = FirstMeasureColumn + int(measures().size());
    const int before = int(m_series.size());
    const int after = int(series.size());
    m_seriesMeasure = measure;
    if (after > before) {
        beginInsertColumns({}, first + before, first + after - 1);
        m_series = std::move(series);
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns({}, first + after, first + before - 1);
        m_series = std::move(series);
        endRemoveColumns();
    } else {
        m_series = std::move(series);
    }
    if (after > 0 && rowCount() > 0) {
        emit headerDataChanged(Qt::Horizontal, first, first + after - 1);
        emit dataChanged(index(0, first), index(rowCount() - 1, first + after - 1));
    }
}

QVariant StageTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return stageData(index.row(), index.column());
    const Measure *measure = measureOf(index.column());
    const bool youngestLast = index.row() == rowCount() - 1 && measure &&
                              measure->count == strata::Count::LastAppearances;
    if (role == Qt::ToolTipRole && youngestLast)
        return youngestLastAppearancesNote();
    if (role == Qt::BackgroundRole && youngestLast)
        return QColor(0xff, 0xf0, 0xc0);
    if (role == Qt::TextAlignmentRole && index.column() >= 3)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant StageTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const QStringList own{u"Интервал"_s, u"Название"_s, u"Период"_s, u"Низ, млн лет"_s,
                                 u"Верх, млн лет"_s};
    const Measure *measure = measureOf(section);
    const qsizetype series = section - FirstMeasureColumn - measures().size();
    if (series >= 0 && series < m_series.size()) {
        if (role == Qt::DisplayRole)
            return m_series[series].name;
        if (role == Qt::ToolTipRole)
            return u"%1: %2"_s.arg(measures()[m_seriesMeasure].name, m_series[series].name);
        return {};
    }
    if (role == Qt::DisplayRole)
        return measure ? measure->name : own.value(section);
    if (role == Qt::ToolTipRole && measure)
        return measure->description;
    return {};
}

} // namespace fosdat::diversity
