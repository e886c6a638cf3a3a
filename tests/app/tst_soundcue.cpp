// The real sound cue: the data set's click when it can be played, the
// desktop's alert sound when it cannot, and no word on stderr without sound.
#include "QtSoundCue.h"
#include "support/DataTree.h"
#include "support/Wave.h"

#include <QScopeGuard>
#include <QTest>

namespace
{

QStringList messages;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    messages << text;
}

} // namespace

class TestSoundCue : public QObject
{
    Q_OBJECT

private slots:
    // A machine without a sound server: the cue says nothing, a playable click
    // is silent and everything else still gives the default sound. First of
    // all, as the audio stack warns only on its first use in a process.
    void quietWithoutSoundServer_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<int>("expectedDefaults");
        QTest::newRow("click") << clickWave(1000) << 0;
        QTest::newRow("not a wave") << QByteArray("RIFF\x04\0\0\0WAVEjunkjunk", 20) << 2;
        QTest::newRow("missing") << QByteArray() << 2;
    }
    void quietWithoutSoundServer()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expectedDefaults);
        const QByteArray server = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:/nonexistent/fosdat-test/native");
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
        const auto restore = qScopeGuard([&] {
            qInstallMessageHandler(previous);
            server.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", server);
        });
        DataTree tree;
        if (!file.isEmpty())
            QVERIFY(tree.write("dat/sound/menu.wav", file));
        int defaults = 0;
        QtSoundCue cue([&] { ++defaults; });

        cue.play();
        cue.play();
        QTest::qWait(100);
        QCOMPARE(defaults, expectedDefaults);
        QCOMPARE(messages, QStringList());
    }

    void fallsBackToTheDefaultSound_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<bool>("directory");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("directory in its place") << QByteArray() << true;
        QTest::newRow("not a wave") << QByteArray("RIFF\x04\0\0\0WAVEjunkjunk", 20) << false;
        // A valid wave of 1.2 MB: a sound effect would hold all of it for the whole session.
        QTest::newRow("larger than a click") << clickWave(600'000) << false;
    }
    void fallsBackToTheDefaultSound()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, directory);
        DataTree tree;
        if (directory)
            QVERIFY(QDir().mkpath(tree.path("dat/sound/menu.wav")));
        else if (!file.isEmpty())
            QVERIFY(tree.write("dat/sound/menu.wav", file));
        int defaults = 0;
        QtSoundCue cue([&] { ++defaults; });

        cue.play();
        QTRY_COMPARE(defaults, 1);
        cue.play(); // every cue gives the default again
        QTRY_COMPARE(defaults, 2);
    }

    void playsTheClickWithoutFallback()
    {
        DataTree tree;
        QVERIFY(tree.write("dat/sound/menu.wav", clickWave(1000)));
        int defaults = 0;
        QtSoundCue cue([&] { ++defaults; });
        cue.play();
        cue.play(); // restarts, never queues
        QTest::qWait(300);
        QCOMPARE(defaults, 0);
    }
};

QTEST_MAIN(TestSoundCue)
#include "tst_soundcue.moc"
