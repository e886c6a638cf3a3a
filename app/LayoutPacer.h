#pragma once

#include <QObject>

class QTextDocument;

// Lays a shown document out in slices of a few milliseconds. Qt lays out
// what is not yet in view on a timer, in steps of at least 200,000
// characters, whose cost grows with the characters and their formats: tens
// to hundreds of milliseconds in which the window does not answer. In place
// of each of those steps the pacer lays out as many paragraphs as fit in its
// slice. It belongs to the document's layout and goes with it.
class LayoutPacer final : public QObject
{
    Q_OBJECT

public:
    // Paces the layout of `document`, which a view shows.
    static void pace(QTextDocument &document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit LayoutPacer(QTextDocument &document);
    bool isLayoutStep(QObject *layout, int timerId) const;
    bool layOutSlice();

    QTextDocument &m_document;
};
