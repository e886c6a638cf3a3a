#pragma once

#include "SoundCue.h"

#include <QObject>
#include <functional>
#include <optional>

class QSoundEffect;

// Plays the data set's click through Qt Multimedia. The file is looked up
// afresh on every cue; when it is missing, larger than a click can be or
// cannot be decoded the desktop's own alert sound is given instead. Without
// an audio device it is silent, and quiet: the audio stack is only asked for
// a device once a sound server is known to be there, since it reports a
// missing server as warnings on stderr.
class QtSoundCue final : public QObject, public SoundCue
{
    Q_OBJECT

public:
    // `playDefault` gives the fallback sound; the desktop's alert unless a test says otherwise.
    explicit QtSoundCue(std::function<void()> playDefault = {}, QObject *parent = nullptr);
    void play() override;

private:
    bool hasAudioOutput();
    void playClick(const QString &path);

    std::function<void()> m_playDefault;
    QSoundEffect *m_effect = nullptr;  // created on first use: it opens the audio stack
    std::optional<bool> m_audioOutput; // asked on the first cue that has a file to play
};
