#include <QTest>
class TestRangeReader : public QObject
{
    Q_OBJECT
};
QTEST_GUILESS_MAIN(TestRangeReader)
#include "tst_rangereader.moc"
