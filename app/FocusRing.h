#pragma once

#include <QFocusFrame>

// A ring in the highlight colour drawn over the edge of a widget while it has
// the keyboard focus, for widgets whose style shows no focus of their own.
// It covers only the widget's frame and margin, so nothing moves, and lets the
// mouse through. As a focus frame, it is no part of the accessibility tree.
class FocusRing : public QFocusFrame
{
    Q_OBJECT

public:
    // Watches `target` and draws on it; owned by it.
    explicit FocusRing(QWidget *target);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_target;
};
