#pragma once

#include "SearchResults.h"

#include <QAbstractListModel>
#include <array>

// The search window's results, one row per match, appended batch by batch
// while a search goes on. The rows of a better rank come first: a batch goes
// after the rows of its rank that came before it, so that each rank keeps the
// order of the groups and of their texts.
class SearchResultsModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        CaptionRole = Qt::UserRole + 1, // the group's caption
        LineRole,                       // the paragraph that holds the match
        MatchStartRole,                 // where the match begins in it
        MatchLengthRole,
        GenusEndRole, // where the genus that the line names ends in it; 0 for none
    };

    using QAbstractListModel::QAbstractListModel;

    void clear();
    void append(const fosdat::SearchResults &batch);
    fosdat::SearchResultPlace place(int row) const;
    fosdat::ResultLine resultLine(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Row {
        const fosdat::SearchResults *batch = nullptr;
        const fosdat::SearchMatch *match = nullptr;
    };
    // The rows of one rank.
    struct Section {
        QList<fosdat::SearchResults> batches;
        QList<int> firstRows; // the row of each batch's first match, within the section
        int rows = 0;
    };
    Row rowAt(int row) const;

    std::array<Section, fosdat::MatchRankCount> m_sections;
    int m_rows = 0;
};
