#pragma once

#include <QObject>

class QTextDocument;

// Lays a shown document out in slices of a few milliseconds. Qt lays out
// what is not yet in view on a 10 ms timer, in steps that double from 1,000
// characters up to at most 200,000 (Qt 6.4's QTextDocumentLayout), whose
// cost grows with the characters and their formats: tens to hundreds of
// milliseconds in which the window does not answer. In place of each of
// those steps the pacer lays out as many paragraphs as fit in its slice. It
// belongs to the document's layout and goes with it.
//
// It knows Qt's step by the timer's interval, which is Qt's own business: a
// test (tst_loading) fails when the pacer no longer takes any step, so that a
// Qt that changes them is noticed.
class LayoutPacer final : public QObject
{
    Q_OBJECT

public:
    // Paces the layout of `document`, which a view shows.
    static void pace(QTextDocument &document);
    // How many of Qt's layout steps the pacer of `document` has taken in
    // their place; 0 without a pacer.
    static int stepsTaken(const QTextDocument &document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit LayoutPacer(QTextDocument &document);
    bool isLayoutStep(QObject *layout, int timerId) const;
    bool layOutSlice();

    QTextDocument &m_document;
    int m_stepsTaken = 0;
};
