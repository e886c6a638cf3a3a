#pragma once

#include "CatalogueView.h"

#include <QObject>

// Keeps the text at the top of the catalogue view there while the view's
// width changes (the window resized, maximised or restored, the reading mode
// entered or left). Qt lays the text out again at the new width and keeps the
// scroll bar's value, a height in pixels, which then shows other text. The
// selection stays as it is.
class TopKeeper final : public QObject
{
    Q_OBJECT

public:
    explicit TopKeeper(CatalogueView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restore();

    CatalogueView *m_view;
    // The place to bring back, taken before the first of the resizes that
    // come together, in the catalogue it is in.
    CataloguePlace m_place;
    const fosdat::rtf::ContentRecord *m_catalogue = nullptr;
    bool m_pending = false;
};
