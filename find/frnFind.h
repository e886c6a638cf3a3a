#pragma once

#include <QWidget>

class FindHost;

// The find dialog: a small always-on-top tool window that searches the
// catalogue view for a genus name.
class frnFind : public QWidget
{
    Q_OBJECT

public:
    explicit frnFind(FindHost &host, QWidget *parent = nullptr);

    // Places the freshly created dialog at the screen's top-left corner and shows it.
    void Form_Load();

private:
    FindHost &m_host;
};
