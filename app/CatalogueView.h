#pragma once

#include "RtfRecordDocument.h"
#include "TextSearch.h"

#include <QTextEdit>
#include <memory>

class QScrollBar;
class QTextBlock;

// A place in the catalogue: a paragraph, counted from the catalogue's first
// (0), and a character within it. It names the same text however the view
// lays the catalogue out, zoomed or at another width, and whichever part of
// the catalogue its document holds.
struct CataloguePlace {
    int paragraph = 0;
    int offset = 0;

    friend bool operator==(const CataloguePlace &, const CataloguePlace &) = default;
};

// The catalogue view: a read-only rich text view of one whole catalogue of
// any size. Its document holds a part of the catalogue, whole paragraphs with
// their formats, about a hundred screens at most, so that laying it out
// stays quick and within what Qt can lay out; the part moves along as the
// view scrolls near either end of it, and to wherever the view is sent.
// While the catalogue is larger than one part, a scroll bar of the view's
// own stands for the whole catalogue, a step of it for a paragraph.
//
// Positions in the catalogue are those of its text (rtf::ContentRecord):
// finding goes over the whole text, and a match is shown wherever it lies.
class CatalogueView : public QTextEdit
{
    Q_OBJECT

public:
    explicit CatalogueView(QWidget *parent = nullptr);
    ~CatalogueView() override;

    // Shows `catalogue` from its start in place of the one shown.
    void showCatalogue(std::shared_ptr<const fosdat::rtf::ContentRecord> catalogue);
    // Shows `beginning` (rtf::readRecordStart()) from its start, as the
    // beginning of a catalogue whose whole is still being read: it goes on,
    // and comes with no blank space below its end.
    void showBeginning(std::shared_ptr<const fosdat::rtf::ContentRecord> beginning);
    // The characters of text of a beginning that fills the view a few times.
    qsizetype beginningCharacters() const;
    // The whole of the catalogue whose beginning (rtf::readRecordStart()) is
    // shown takes the beginning's place: the text in sight, the cursor and
    // the selection stay. A catalogue that does not begin so is shown from
    // its start.
    void showRest(std::shared_ptr<const fosdat::rtf::ContentRecord> whole);
    // The catalogue shown; an empty one before the first.
    const fosdat::rtf::ContentRecord &catalogue() const { return *m_catalogue; }
    std::shared_ptr<const fosdat::rtf::ContentRecord> sharedCatalogue() const
    {
        return m_catalogue;
    }

    // The catalogue's paragraph that the document's first block holds.
    int firstParagraph() const { return m_part.part.first; }
    // The catalogue's text position of a position in the document, and the
    // document's position of a catalogue position in the part it holds.
    qsizetype cataloguePosition(int documentPosition) const;
    int documentPosition(qsizetype cataloguePosition) const;
    // Brings `paragraph` into the document, the part moved if need be; the
    // selection goes with the text it selects when that is in the new part.
    void holdParagraph(int paragraph);

    // The place of the text at the top left corner, and scrolling so that
    // the line holding `place` is the top line.
    CataloguePlace topPlace() const;
    void showAtTop(CataloguePlace place);

    // Selects the first match of `text` in the whole catalogue; false, with
    // the selection as it was, when there is none or `text` is empty.
    bool selectFirstMatch(const QString &text, QTextDocument::FindFlags flags);
    // Selects `match` (catalogue positions); brought into sight from
    // elsewhere, it is shown in the middle of the view, with the lines around it.
    void showMatch(const fosdat::TextMatch &match);
    // The selection, in catalogue positions.
    fosdat::TextMatch selection() const;

    // Gives the view the keyboard focus, its window restored, raised and active.
    void bringToFront();

    // The search over the catalogue's whole text, shared by whatever searches it.
    fosdat::TextSearch &textSearch() { return m_search; }

signals:
    // Another catalogue is shown.
    void documentShown();
    // The document now holds another part of the catalogue shown: for
    // whatever lays it out or marks it. The place in sight stays.
    void partShown();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Shows `part` in a new document, the cursor and the selection kept
    // where they lie in it when `keepsSelection`.
    void showPart(fosdat::rtf::ContentRecord::Part part, bool keepsSelection = true);
    fosdat::rtf::ContentRecord::Part partAround(int paragraph) const;
    void scrollTo(const QTextBlock &block, int top);
    void showFromStart(std::shared_ptr<const fosdat::rtf::ContentRecord> catalogue, bool beginning);
    void fitEndMargin(const fosdat::rtf::PartDocument &part) const;
    // Moves the part along when the view comes near one of its ends.
    void followScrolling();
    void movePartToSight();
    // The paragraph of the catalogue at a point of the viewport.
    int paragraphAt(QPoint point) const;
    void updateCatalogueBar();
    void placeCatalogueBar();
    void scrollCatalogueBar(int paragraph);

    std::shared_ptr<const fosdat::rtf::ContentRecord> m_catalogue;
    fosdat::rtf::PartDocument m_part;
    fosdat::TextSearch m_search;
    QScrollBar *m_catalogueBar; // shown while the catalogue is larger than a part
    bool m_beginning = false;   // the catalogue shown is a beginning
    bool m_moving = false;      // the part is being replaced
    bool m_followPending = false;
};
