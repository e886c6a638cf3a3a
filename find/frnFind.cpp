#include "frnFind.h"

#include "FindHost.h"

frnFind::frnFind(FindHost &host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("frnFind"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void frnFind::Form_Load()
{
    setGeometry(0, 0, 320, 80);
    show();
}
