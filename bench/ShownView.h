#pragma once

#include "CatalogueView.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

namespace fosdat::bench
{

// A catalogue view of the size it has in the catalogue window, shown and
// exposed, so that loading it lays out and paints what the user would see.
class ShownView
{
public:
    ShownView();

    CatalogueView &box() { return *m_box; }

    // Reads the catalogue at `path` and shows it, as choosing its group does;
    // false when it cannot be read.
    bool load(const QString &path);

    // Lays out and paints the visible part, as the first frame after a load.
    void paintVisiblePart();
    // Lays out the whole document, as scrolling to its end would.
    void layOutEverything();
    // Whether the layout has reached the last block.
    bool laidOutToTheEnd() const;
    // Empties the view, so that the next load does not pay for freeing a large
    // document.
    void clear();

private:
    std::unique_ptr<CatalogueView> m_box;
};

// The one view the benchmarks share, created on first use. It must go before
// the application object does: releaseSharedView() at the end of main().
ShownView &sharedView();
void releaseSharedView();

// Waits until `window` can be painted, processing events; false after 5 s.
bool waitUntilExposed(QWidget &window);

} // namespace fosdat::bench
