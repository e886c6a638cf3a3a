#pragma once

#include "ReferenceLookup.h"
#include "ReferenceParser.h"

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <optional>

class QHelpEvent;
class QMouseEvent;
class QTextEdit;

// Makes the reference numbers of the catalogue view's genus entries act as
// links, without touching its document: over a number the mouse pointer is a
// hand and the tooltip shows that reference's text; a click on it asks to
// show the reference. Watches the view's viewport; owned by the view.
class ReferenceLinks : public QObject
{
    Q_OBJECT

public:
    explicit ReferenceLinks(QTextEdit *view);

    // The tooltip's text for the point of the viewport: the reference's
    // text, or a note that the lists do not hold it; empty off a number.
    QString toolTipAt(QPoint point);

    // The reference number drawn at the point of the viewport.
    std::optional<int> numberAt(QPoint point) const;
    // Shows reference `number` as a click on it does; false when no list holds it.
    bool follow(int number);

signals:
    // A click on a number that list `list` holds, or follow().
    void referenceChosen(int list, int number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A number under a point of the viewport, and where it is drawn there.
    struct Hit {
        fosdat::data::ReferenceMention mention;
        QRect rect;
    };
    std::optional<Hit> hitAt(QPoint point) const;
    QString toolTipText(int number);
    void showPointer(bool overNumber);
    bool showToolTip(const QHelpEvent &event);
    void press(const QMouseEvent &event);
    void release(const QMouseEvent &event);

    QTextEdit *m_view;
    QWidget *m_viewport; // watched; gets events still while the view is taken down
    fosdat::data::ReferenceLookup m_lists;
    std::optional<QCursor> m_restCursor; // set while the hand is shown
    std::optional<int> m_pressedNumber;
    QPoint m_pressPoint;
};
