#pragma once

#include "SoundCue.h"

#include <QObject>

class QSoundEffect;

// Plays the data set's click through Qt Multimedia. The file is looked up
// afresh on every cue; when it is missing or cannot be decoded the desktop's
// own alert sound is given instead. Without an audio device it is silent.
class QtSoundCue final : public QObject, public SoundCue
{
    Q_OBJECT

public:
    explicit QtSoundCue(QObject *parent = nullptr);
    void play() override;

private:
    void playDefault();

    QSoundEffect *m_effect = nullptr; // created on first use: it opens the audio stack
};
