#include <QTest>
class TestTimeScale : public QObject
{
    Q_OBJECT
};
QTEST_GUILESS_MAIN(TestTimeScale)
#include "tst_timescale.moc"
