#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <optional>

class QMainWindow;
class QWidget;

// "Каталог во всё окно": the catalogue view fills the window and follows its
// size, with the group list and the reference links in a strip above it and
// the reference panel beside it; everything else of the window is hidden.
// While the mode is on the window can be resized and maximised, down to a
// size where no control covers another. Leaving it puts every control, the
// window's flags, its geometry and its smallest size back as they were.
class ReadingMode : public QObject
{
    Q_OBJECT

public:
    // The controls that stay; every other child of the window's central
    // widget is hidden while the mode is on, but `linkBackground`, which
    // lies behind the links.
    struct Controls {
        QMainWindow *window = nullptr;
        QWidget *view = nullptr;
        QWidget *panel = nullptr;
        QWidget *groupList = nullptr;
        QList<QWidget *> links;
        QWidget *linkBackground = nullptr;
    };

    explicit ReadingMode(const Controls &controls);
    ~ReadingMode() override;

    bool isOn() const { return m_saved.has_value(); }

public slots:
    void setOn(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Saved {
        QRect windowGeometry;
        QSize minimumSize;
        QList<std::pair<QWidget *, QRect>> geometries;
        QList<QWidget *> hidden;
    };

    void enter();
    void leave();
    void arrange();
    int arrangeStrip(int width);
    QSize smallestWindowSize();
    // Gives the window a maximise button, or takes it away.
    void setMaximizable(bool maximizable);

    Controls m_controls;
    std::optional<Saved> m_saved;
};
