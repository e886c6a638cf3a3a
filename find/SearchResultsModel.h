#pragma once

#include "SearchResults.h"

#include <QAbstractListModel>

// The search window's results, one row per match, appended batch by batch
// while a search goes on.
class SearchResultsModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        CaptionRole = Qt::UserRole + 1, // the group's caption
        LineRole,                       // the paragraph that holds the match
        MatchStartRole,                 // where the match begins in it
        MatchLengthRole,
    };

    using QAbstractListModel::QAbstractListModel;

    void clear();
    void append(const fosdat::SearchResults &batch);
    fosdat::SearchResultPlace place(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Row {
        const fosdat::SearchResults *batch = nullptr;
        const fosdat::SearchMatch *match = nullptr;
    };
    Row rowAt(int row) const;

    QList<fosdat::SearchResults> m_batches;
    QList<int> m_firstRows; // the row of each batch's first match
    int m_rows = 0;
};
