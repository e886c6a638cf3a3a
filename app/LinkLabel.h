#pragma once

#include <QLabel>

// A label that tells when the mouse moves over it.
class HoverLabel : public QLabel
{
    Q_OBJECT

public:
    explicit HoverLabel(QWidget *parent = nullptr);

signals:
    void hovered();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

// A label that acts as a link: a left-button press and release over it is a
// click. The second press of a double click is not a second click.
class LinkLabel : public HoverLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
