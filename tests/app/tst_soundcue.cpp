// The real sound cue: the data set's click when it can be played, the
// desktop's alert sound when it cannot, and no word on stderr without sound.
#include "QtSoundCue.h"
#include "support/DataTree.h"

#include <QDataStream>
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

    // A valid 16-bit mono click of `samples` samples at 22050 Hz.
    static QByteArray wave(quint32 samples)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        const quint32 dataBytes = samples * 2;
        out.writeRawData("RIFF", 4);
        out << quint32(36 + dataBytes);
        out.writeRawData("WAVEfmt ", 8);
        out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100)
            << quint16(2) << quint16(16);
        out.writeRawData("data", 4);
        out << dataBytes;
        for (quint32 i = 0; i < samples; ++i)
            out << qint16((i % 20) < 10 ? 8000 : -8000);
        return bytes;
    }

private slots:
    void fallsBackToTheDefaultSound_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<bool>("directory");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("directory in its place") << QByteArray() << true;
        QTest::newRow("not a wave") << QByteArray("RIFF\x04\0\0\0WAVEjunkjunk", 20) << false;
        // A valid wave of 1.2 MB: a sound effect would hold all of it for the whole session.
        QTest::newRow("larger than a click") << wave(600'000) << false;
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
        QVERIFY(tree.write("dat/sound/menu.wav", wave(1000)));
        int defaults = 0;
        QtSoundCue cue([&] { ++defaults; });
        cue.play();
        cue.play(); // restarts, never queues
        QTest::qWait(300);
        QCOMPARE(defaults, 0);
    }

    // A machine without a sound server: the cue says nothing, a playable click
    // is silent and everything else still gives the default sound.
    void quietWithoutSoundServer_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file at all
        QTest::addColumn<int>("expectedDefaults");
        QTest::newRow("click") << wave(1000) << 0;
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
};

QTEST_MAIN(TestSoundCue)
#include "tst_soundcue.moc"
