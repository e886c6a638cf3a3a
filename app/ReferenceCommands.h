#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QContextMenuEvent;
class QMenu;
class QPlainTextEdit;
class QTextEdit;
class ReferenceLinks;

// The reference numbers of the catalogue view by keyboard and context menu:
// the number at the caret (or the first one in the selection) is followed as
// a click on it is, with its text in a tooltip at the caret; the context menu
// of a number in the view, or of an entry of the reference panel, offers the
// same and "Роды, ссылающиеся на N". Numbers are recognised as the links do.
class ReferenceCommands : public QObject
{
    Q_OBJECT

public:
    ReferenceCommands(QTextEdit *view, ReferenceLinks *links, QPlainTextEdit *panel);

    // Whether anything answers citingGeneraRequested(); the menu item that
    // emits it is left out while nothing does.
    void setCitingAvailable(std::function<bool()> available) { m_citingAvailable = available; }

public slots:
    // The number at the caret: its list shown, its entry at the top and
    // highlighted, its text at the caret; off a number a tooltip says so.
    void followAtCaret();

signals:
    void citingGeneraRequested(int number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A reference number in the view, and a point of the viewport on its digits.
    struct Mention {
        int number = 0;
        QPoint point;
    };
    std::optional<Mention> mentionAtCaret() const;
    bool showViewMenu(const QContextMenuEvent &event, bool fromKeyboard);
    bool showPanelMenu(const QContextMenuEvent &event, bool fromKeyboard);
    void follow(const Mention &mention);
    void addCitingItem(QMenu &menu, int number);
    void showNote(const QString &text, QPoint point);

    QTextEdit *m_view;
    ReferenceLinks *m_links;
    QPlainTextEdit *m_panel;
    std::function<bool()> m_citingAvailable;
};
