#pragma once

#include <QSize>
#include <QWidget>
#include <memory>

namespace Ui
{
class frnFind;
}
class FindHost;

// The find dialog: a small always-on-top tool window that searches the
// catalogue view for a genus name. Closing it deletes it, so every opening
// starts afresh.
class frnFind : public QWidget
{
    Q_OBJECT

public:
    // The whole window, frame and title bar included, as the load leaves it.
    static constexpr QSize OuterSize{320, 80};

    explicit frnFind(FindHost &host, QWidget *parent = nullptr);
    ~frnFind() override;

    // Places the freshly created dialog at the screen's top-left corner,
    // shrinks it to OuterSize and shows it.
    void Form_Load();

    // Runs the toolbar command of the button with `key`: "find" presses the
    // hidden search button, "close" closes the dialog; other keys do nothing.
    void Toolbar1_ButtonClick(const QString &key);

protected:
    bool event(QEvent *event) override;

private:
    void findText_Click();
    void setUpToolbar();
    void fitFrame();

    std::unique_ptr<Ui::frnFind> ui;
    FindHost &m_host;
};
