#pragma once

#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <memory>

class QPaintDevice;
class QPlainTextEdit;
class CatalogueView;

// Zooms the catalogue view and the reference panel together, in steps from
// 50 % to 300 %, for as long as the program runs. The view's document is
// laid out for a paint device of proportionally higher resolution, so that
// every size grows alike, those the RTF file sets included, while the
// document's formats, and so what is saved and searched, stay as they are.
// The panel, plain text in the widget's font, gets a larger font.
// Ctrl+wheel over either zooms both; the owner gives the keyboard commands.
class ViewZoom : public QObject
{
    Q_OBJECT

public:
    // The largest zoom: a document is laid out at up to this many times its size.
    static constexpr int LargestPercent = 300;

    ViewZoom(CatalogueView *view, QPlainTextEdit *panel);
    ~ViewZoom() override;

    int percent() const;

public slots:
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // Lays the view's document out at the zoom; for a document just shown.
    void applyToView();

signals:
    void zoomChanged(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setStep(qsizetype step);
    void applyToPanel();
    void releaseDocument();

    CatalogueView *m_view;
    QPlainTextEdit *m_panel;
    qreal m_panelPointSize;
    qsizetype m_step;
    int m_wheelAngle = 0; // wheel turned since the last step, in eighths of a degree
    std::unique_ptr<QPaintDevice> m_device;   // null at 100 %
    QPointer<QTextDocument> m_zoomedDocument; // laid out for m_device
};
