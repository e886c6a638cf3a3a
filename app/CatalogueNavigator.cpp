#include "CatalogueNavigator.h"

#include "CatalogueView.h"
#include "Fosdat.h"
#include "ViewMatches.h"

void openInCatalogue(Fosdat &window, const fosdat::SearchResultPlace &place,
                     const fosdat::TextMatcher &matcher)
{
    if (place.group < 0)
        return;
    CatalogueView *view = window.catalogueView();
    const CatalogueLoader::Ticket load = window.chooseGroup(place.group);
    const auto select = [view, place, matcher] {
        ViewMatches &matches = ViewMatches::of(*view);
        if (matches.selectInParagraph(matcher, place.paragraph, place.offset))
            matches.highlight(matcher);
        view->bringToFront();
    };
    window.catalogueLoader().whenShown(load, view, select, [view] { view->bringToFront(); });
}
