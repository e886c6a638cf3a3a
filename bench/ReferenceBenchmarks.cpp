// Reference numbers in the catalogue view: the tooltip on hovering one, and
// a click that shows its reference in the panel, on the largest catalogue.
#include "BenchCommon.h"
#include "CatalogueView.h"
#include "GroupTable.h"
#include "ReferenceParser.h"
#include "ShownWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>

namespace fosdat::bench
{

namespace
{

// The catalogue window showing `input`, scrolled to its top or its end.
class ShownCatalogue
{
public:
    ShownCatalogue(const QString &sampleDir, const Input &input, bool atEnd);

    bool ready() const { return m_numbers.size() == 2; }
    CatalogueView &view() { return *m_shown.window().catalogueView(); }
    // Two reference numbers on the screen, from different lists, in viewport coordinates.
    QPoint number(int i) const { return m_numbers[i]; }
    QPlainTextEdit &panel() { return *m_shown.child<QPlainTextEdit>(QStringLiteral("Text2")); }

private:
    void findNumbers();

    ShownWindow m_shown;
    QList<QPoint> m_numbers;
};

ShownCatalogue::ShownCatalogue(const QString &sampleDir, const Input &input, bool atEnd)
    : m_shown(sampleDir)
{
    for (size_t group = 0; group < data::GroupTable.size(); ++group) {
        if (data::GroupTable[group].catalogPath.endsWith(u'\\' + input.name))
            m_shown.window().chooseGroup(int(group));
    }
    // Laid out to the end, as it is once the user has had it in front of them for a moment.
    view().document()->documentLayout()->documentSize();
    QApplication::processEvents();
    if (atEnd)
        view().verticalScrollBar()->setValue(view().verticalScrollBar()->maximum());
    view().viewport()->grab();
    findNumbers();
}

// The first number on the screen and the first of another list after it.
void ShownCatalogue::findNumbers()
{
    const QRect screen = view().viewport()->rect();
    std::optional<int> firstList;
    for (QTextBlock block = view().document()->begin(); block.isValid(); block = block.next()) {
        for (const data::ReferenceMention &mention : data::findReferenceNumbers(block.text())) {
            QTextCursor start(block);
            start.setPosition(block.position() + int(mention.position));
            QTextCursor end(start);
            end.setPosition(start.position() + int(mention.length));
            const QRect left = view().cursorRect(start), right = view().cursorRect(end);
            if (left.top() > screen.bottom())
                return;
            const int list = (mention.number - 1) / 400; // as the data set divides them
            if (!screen.contains(left) || right.top() != left.top() ||
                (firstList && list == *firstList))
                continue;
            firstList = list;
            m_numbers.append(QPoint((left.left() + right.left()) / 2, left.center().y()));
            if (m_numbers.size() == 2)
                return;
        }
    }
}

// The mouse moving onto a number until its tooltip is painted: the pointer
// turns into a hand, the tooltip event finds the number and its reference.
void referenceToolTip(benchmark::State &state, const QString &sampleDir, const Input &input,
                      bool atEnd)
{
    ShownCatalogue shown(sampleDir, input, atEnd);
    if (!shown.ready()) {
        state.SkipWithError("no two reference numbers on the screen");
        return;
    }
    QWidget *viewport = shown.view().viewport();
    int i = 0;
    for (auto _ : state) {
        const QPoint at = shown.number(i);
        const QPoint global = viewport->mapToGlobal(at);
        QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QHelpEvent help(QEvent::ToolTip, at, global);
        QApplication::sendEvent(viewport, &help);
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->inherits("QTipLabel"))
                window->grab();
        }
        i = 1 - i;
    }
    if (!QToolTip::isVisible())
        state.SkipWithError("no tooltip shown");
    QToolTip::hideText();
    recordInput(state, input);
}

// A click on a number until the panel is painted with its list, the entry
// at the top and highlighted; each click shows the other list.
void referenceClick(benchmark::State &state, const QString &sampleDir, const Input &input)
{
    ShownCatalogue shown(sampleDir, input, false);
    if (!shown.ready()) {
        state.SkipWithError("no two reference numbers on the screen");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        ShownWindow::click(shown.view().viewport(), shown.number(i));
        shown.panel().viewport()->grab();
        i = 1 - i;
    }
    if (shown.panel().extraSelections().isEmpty())
        state.SkipWithError("no entry highlighted");
    recordInput(state, input);
}

} // namespace

void registerReferenceBenchmarks(const Inputs &inputs)
{
    const Input &largest = inputs.largest;
    const QString dir = inputs.sampleDir;
    add(QStringLiteral("ReferenceToolTip/") + largest.name,
        [dir, largest](benchmark::State &state) { referenceToolTip(state, dir, largest, false); });
    add(QStringLiteral("ReferenceToolTipAtEnd/") + largest.name,
        [dir, largest](benchmark::State &state) { referenceToolTip(state, dir, largest, true); });
    add(QStringLiteral("ReferenceClick/") + largest.name,
        [dir, largest](benchmark::State &state) { referenceClick(state, dir, largest); });
}

} // namespace fosdat::bench
