#pragma once

#include "SoundCue.h"

#include <QObject>
#include <functional>

class QSoundEffect;

// Plays the data set's click through Qt Multimedia. The file is looked up
// afresh on every cue; when it is missing or cannot be decoded the desktop's
// own alert sound is given instead. Without an audio device it is silent.
class QtSoundCue final : public QObject, public SoundCue
{
    Q_OBJECT

public:
    // `playDefault` gives the fallback sound; the desktop's alert unless a test says otherwise.
    explicit QtSoundCue(std::function<void()> playDefault = {}, QObject *parent = nullptr);
    void play() override;

private:
    std::function<void()> m_playDefault;
    QSoundEffect *m_effect = nullptr; // created on first use: it opens the audio stack
};
