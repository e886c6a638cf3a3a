#pragma once

#include <QLabel>
#include <QTimer>

class QAbstractScrollArea;
class QAction;

// Shows the zoom level while it changes: for a moment in a label over the top
// of the catalogue view, and for good in the text of a menu item
// ("Масштаб 150 %").
class ZoomIndicator : public QLabel
{
    Q_OBJECT

public:
    // How long the label stays after the last change.
    static constexpr int ShownMs = 1200;

    ZoomIndicator(QAbstractScrollArea *view, QAction *menuItem);

    static QString menuText(int percent);

public slots:
    void showPercent(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QAbstractScrollArea *m_view;
    QAction *m_menuItem;
    QTimer m_hideTimer;
};
