#include "PanelEntryMarker.h"

#include "ReferenceParser.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace
{

const QColor MarkColor(0xFF, 0xEE, 0x99); // pale yellow, dark text stays readable

} // namespace

PanelEntryMarker::PanelEntryMarker(QPlainTextEdit *panel) : QObject(panel), m_panel(panel)
{
    connect(panel, &QPlainTextEdit::textChanged, this, &PanelEntryMarker::clear);
}

bool PanelEntryMarker::mark(int number)
{
    clear();
    // The panel's text maps one to one onto its document's positions.
    const QString text = m_panel->toPlainText();
    for (const fosdat::data::ReferenceEntry &entry : fosdat::data::splitReferenceList(text)) {
        if (entry.number != number)
            continue;
        QTextCursor start(m_panel->document());
        start.setPosition(int(entry.position));
        // Coming from the end, making the entry visible puts it at the top,
        // or as high as the end of the list allows.
        QScrollBar *bar = m_panel->verticalScrollBar();
        bar->setValue(bar->maximum());
        m_panel->setTextCursor(start);
        m_panel->ensureCursorVisible();

        QTextEdit::ExtraSelection selection;
        selection.cursor = start;
        selection.cursor.setPosition(int(entry.position + entry.length), QTextCursor::KeepAnchor);
        selection.format.setBackground(MarkColor);
        m_panel->setExtraSelections({selection});
        return true;
    }
    return false;
}

void PanelEntryMarker::clear()
{
    if (!m_panel->extraSelections().isEmpty())
        m_panel->setExtraSelections({});
}
