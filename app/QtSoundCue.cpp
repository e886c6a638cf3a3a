#include "QtSoundCue.h"

#include "DataFiles.h"
#include "DataPaths.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QWaveDecoder>
#include <pulse/context.h>
#include <pulse/mainloop.h>

namespace
{

// The click is a few kilobytes; a sound effect holds its whole file in
// memory for as long as it lives, so a larger file is not the click.
constexpr qint64 MaxSoundBytes = 1024 * 1024;

// Whether a sound server answers at all. Qt's audio stack (PulseAudio on this
// platform) makes the same connection attempt when it is first asked for a
// device and prints a warning when it fails at once; made here first, a
// machine without sound stays quiet. A server that is there is left to Qt.
// Logging rules cannot silence that warning: Qt Multimedia 6.4 writes it to
// the default category ("PulseAudioService: pa_context_connect() failed"),
// not to one of its qt.multimedia categories, and turning the default
// category's warnings off would hide every other warning of the program.
// tst_soundcue fails should the warning come through.
bool soundServerReachable()
{
    pa_mainloop *loop = pa_mainloop_new();
    if (!loop)
        return false;
    pa_context *context = pa_context_new(pa_mainloop_get_api(loop), "Fosdat");
    const bool reachable =
        context && pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) >= 0;
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return reachable;
}

// Whether the sound effect could decode the file: a wave file whose header
// names its sample format. Read by the same decoder the sound effect uses, so
// that without an audio device a broken file still gives the default sound.
bool isDecodableWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QWaveDecoder decoder(&file);
    bool formatKnown = false;
    QObject::connect(&decoder, &QWaveDecoder::formatKnown, [&formatKnown] { formatKnown = true; });
    // A file is read whole at once, so the header is parsed within open().
    decoder.open(QIODevice::ReadOnly);
    return formatKnown && decoder.audioFormat().isValid();
}

} // namespace

QtSoundCue::QtSoundCue(std::function<void()> playDefault, QObject *parent)
    : QObject(parent), m_playDefault(playDefault ? std::move(playDefault) : &QApplication::beep)
{
}

void QtSoundCue::play()
{
    const QString path = fosdat::data::nativePath(fosdat::data::SoundPath);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable() || file.size() > MaxSoundBytes) {
        m_playDefault();
        return;
    }
    if (hasAudioOutput()) {
        playClick(path);
        return;
    }
    // Nothing to play on: silent, as a click that plays would be.
    if (!isDecodableWave(path))
        m_playDefault();
}

bool QtSoundCue::hasAudioOutput()
{
    if (!m_audioOutput)
        m_audioOutput = soundServerReachable() && !QMediaDevices::defaultAudioOutput().isNull();
    return *m_audioOutput;
}

void QtSoundCue::playClick(const QString &path)
{
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect->status() == QSoundEffect::Error)
                m_playDefault();
        });
    }
    // The path stays relative to the current directory ("file:dat/sound/menu.wav"),
    // which the sound effect opens as such: made absolute, a folder name that
    // is not UTF-8 would be lost on the way.
    const QUrl url = QUrl::fromLocalFile(path);
    // A file that failed to decode is loaded again, so that each cue tries it afresh.
    if (m_effect->source() != url || m_effect->status() == QSoundEffect::Error) {
        m_effect->setSource(QUrl());
        m_effect->setSource(url);
    }
    m_effect->stop();
    m_effect->play();
}
