#include "ReferenceCommands.h"

#include "ReferenceLinks.h"
#include "ReferenceParser.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>
#include <memory>

using namespace fosdat;

namespace
{

// The mention among `mentions` that the characters from `start` to `end`
// touch: at the caret (start == end) also the number the caret stands just
// after, in a selection the first number it holds a part of.
std::optional<data::ReferenceMention> touched(const QList<data::ReferenceMention> &mentions,
                                              qsizetype start, qsizetype end)
{
    for (const data::ReferenceMention &mention : mentions) {
        const qsizetype mentionEnd = mention.position + mention.length;
        if (start == end ? start >= mention.position && start <= mentionEnd
                         : start < mentionEnd && end > mention.position)
            return mention;
    }
    return std::nullopt;
}

} // namespace

ReferenceCommands::ReferenceCommands(QTextEdit *view, ReferenceLinks *links, QPlainTextEdit *panel)
    : QObject(view), m_view(view), m_links(links), m_panel(panel)
{
    // A menu asked for by the mouse comes to the viewport, one asked for by
    // the keyboard to the widget that has the focus.
    for (QObject *target :
         {static_cast<QObject *>(view), static_cast<QObject *>(view->viewport()),
          static_cast<QObject *>(panel), static_cast<QObject *>(panel->viewport())})
        target->installEventFilter(this);
}

std::optional<ReferenceCommands::Mention> ReferenceCommands::mentionAtCaret() const
{
    const QTextCursor cursor = m_view->textCursor();
    const QTextBlock block = m_view->document()->findBlock(cursor.selectionStart());
    if (!block.isValid())
        return std::nullopt;
    const qsizetype start = cursor.selectionStart() - block.position();
    const qsizetype end =
        std::min<qsizetype>(cursor.selectionEnd() - block.position(), block.length() - 1);
    const auto mention = touched(data::findReferenceNumbers(block.text()), start, end);
    if (!mention)
        return std::nullopt;
    QTextCursor digit(block);
    digit.setPosition(block.position() + int(mention->position));
    const QRect first = m_view->cursorRect(digit);
    digit.setPosition(block.position() + int(mention->position + mention->length));
    const QRect last = m_view->cursorRect(digit);
    return Mention{mention->number, QPoint((first.left() + last.left()) / 2, first.center().y())};
}

void ReferenceCommands::followAtCaret()
{
    m_view->ensureCursorVisible();
    if (const std::optional<Mention> mention = mentionAtCaret()) {
        follow(*mention);
        return;
    }
    const QRect caret = m_view->cursorRect();
    QToolTip::showText(m_view->viewport()->mapToGlobal(caret.bottomLeft()),
                       QStringLiteral("Курсор не на номере ссылки"), m_view->viewport(), caret);
}

// As a click on the number, then its tooltip, as hovering it shows it.
void ReferenceCommands::follow(const Mention &mention)
{
    m_links->follow(mention.number);
    QWidget *viewport = m_view->viewport();
    QHelpEvent help(QEvent::ToolTip, mention.point, viewport->mapToGlobal(mention.point));
    QCoreApplication::sendEvent(viewport, &help);
}

void ReferenceCommands::addCitingItem(QMenu &menu, int number)
{
    if (!m_citingAvailable || !m_citingAvailable())
        return;
    QAction *citing = menu.addAction(QStringLiteral("Роды, ссылающиеся на %1").arg(number));
    citing->setObjectName(QStringLiteral("mnuCitingGenera"));
    connect(citing, &QAction::triggered, this,
            [this, number] { emit citingGeneraRequested(number); });
}

bool ReferenceCommands::showViewMenu(const QContextMenuEvent &event, bool fromKeyboard)
{
    std::optional<Mention> mention;
    if (fromKeyboard)
        mention = mentionAtCaret();
    else if (const std::optional<int> number = m_links->numberAt(event.pos()))
        mention = Mention{*number, event.pos()};
    if (!mention)
        return false; // the view's own menu
    const std::unique_ptr<QMenu> menu(m_view->createStandardContextMenu());
    menu->addSeparator();
    QAction *show = menu->addAction(QStringLiteral("Показать ссылку %1").arg(mention->number));
    show->setObjectName(QStringLiteral("mnuShowReference"));
    connect(show, &QAction::triggered, this, [this, at = *mention] { follow(at); });
    addCitingItem(*menu, mention->number);
    menu->exec(event.globalPos());
    return true;
}

bool ReferenceCommands::showPanelMenu(const QContextMenuEvent &event, bool fromKeyboard)
{
    if (!m_citingAvailable || !m_citingAvailable())
        return false;
    const int position = fromKeyboard ? m_panel->textCursor().position()
                                      : m_panel->cursorForPosition(event.pos()).position();
    // The panel's text maps one to one onto its document's positions.
    const QList<data::ReferenceEntry> entries = data::splitReferenceList(m_panel->toPlainText());
    const auto entry = std::find_if(entries.begin(), entries.end(), [position](const auto &entry) {
        return position >= entry.position && position <= entry.position + entry.length;
    });
    if (entry == entries.end())
        return false;
    const std::unique_ptr<QMenu> menu(m_panel->createStandardContextMenu());
    menu->addSeparator();
    addCitingItem(*menu, entry->number);
    menu->exec(event.globalPos());
    return true;
}

bool ReferenceCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto &menuEvent = *static_cast<QContextMenuEvent *>(event);
    const bool fromKeyboard = menuEvent.reason() == QContextMenuEvent::Keyboard;
    if (watched == m_view || watched == m_view->viewport())
        return showViewMenu(menuEvent, fromKeyboard);
    return showPanelMenu(menuEvent, fromKeyboard);
}
