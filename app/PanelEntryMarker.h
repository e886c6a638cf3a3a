#pragma once

#include <QObject>

class QPlainTextEdit;

// Marks one entry of the reference list shown in the reference panel: scrolls
// the panel so that the entry stands at its top and highlights it, until the
// panel is given another text. The panel's text itself is not changed.
class PanelEntryMarker : public QObject
{
    Q_OBJECT

public:
    explicit PanelEntryMarker(QPlainTextEdit *panel);

    // False, with nothing marked, when the shown list has no entry `number`.
    bool mark(int number);

private:
    void clear();

    QPlainTextEdit *m_panel;
};
