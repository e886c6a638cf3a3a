#include "CatalogueNavigator.h"

#include "CatalogueFile.h"
#include "CatalogueView.h"
#include "Fosdat.h"
#include "GroupTable.h"
#include "UserDialogs.h"
#include "ViewMatches.h"

#include <QTextBlock>

namespace
{

// The characters of a line that a message names at most.
constexpr int NamedLineLength = 120;

// Whether the place lies in the part of its catalogue that the view shows:
// the paragraphs before the closing line of a catalogue shown in part, the
// last of them perhaps only up to where it was cut.
bool isShown(const QTextDocument &document, const fosdat::SearchResultPlace &place)
{
    if (!isPartOfCatalogue(document))
        return true;
    const int lastShown = document.blockCount() - 2; // the closing line follows
    if (place.paragraph != lastShown)
        return place.paragraph < lastShown;
    QString shown = document.findBlockByNumber(lastShown).text();
    shown.remove(QChar::ObjectReplacementCharacter).remove(fosdat::TextMatcher::ZeroWidthSpace);
    return place.offset + place.length <= shown.size();
}

QString pastShownPartMessage(const fosdat::SearchResultPlace &place)
{
    QString line = QString(place.line).replace(QChar::LineSeparator, u' ').simplified();
    if (line.size() > NamedLineLength)
        line = line.left(NamedLineLength - 1) + QChar(0x2026);
    return QStringLiteral("Эта строка — за пределами показанной части каталога %1:\n«%2»\n"
                          "Каталог слишком велик, и окно показывает только его начало. Строку "
                          "можно скопировать из окна поиска (Ctrl+C) или записать в файл "
                          "(«Экспорт результатов...»).")
        .arg(fosdat::data::GroupTable[size_t(place.group)].caption.toString(), line);
}

} // namespace

void openInCatalogue(Fosdat &window, UserDialogs &dialogs, const fosdat::SearchResultPlace &place,
                     const fosdat::TextMatcher &matcher)
{
    if (place.group < 0)
        return;
    CatalogueView *view = window.catalogueView();
    const CatalogueLoader::Ticket load = window.chooseGroup(place.group);
    const auto select = [&window, &dialogs, view, place, matcher] {
        if (!isShown(*view->document(), place)) {
            view->bringToFront();
            dialogs.message(&window, pastShownPartMessage(place), MessageTitle,
                            QMessageBox::Information);
            return;
        }
        ViewMatches &matches = ViewMatches::of(*view);
        if (matches.selectInParagraph(matcher, place.paragraph, place.offset))
            matches.highlight(matcher);
        view->bringToFront();
    };
    window.catalogueLoader().whenShown(load, view, select, [view] { view->bringToFront(); });
}
