#pragma once

#include <QSize>
#include <QTextDocument>
#include <QWidget>
#include <memory>

namespace Ui
{
class frnFind;
}

// The find dialog: a small always-on-top tool window that asks for a genus
// name. It says what to search; whoever owns the catalogue searches it.
// Closing it deletes it, so every opening starts afresh.
class FindDialog : public QWidget
{
    Q_OBJECT

public:
    // The whole window, frame and title bar included.
    static constexpr QSize OuterSize{320, 80};

    explicit FindDialog(QWidget *parent = nullptr);
    ~FindDialog() override;

    // Places the dialog, freshly created or minimised, at the screen's
    // top-left corner, shrinks it to OuterSize and shows it.
    void showAtCorner();

signals:
    // The search field's text and the options ticked, when the find button is pressed.
    void findRequested(const QString &text, QTextDocument::FindFlags flags);

protected:
    bool event(QEvent *event) override;

private slots:
    void requestFind();

private:
    void setUpToolbar();
    void fitFrame();

    std::unique_ptr<Ui::frnFind> ui;
};
