#include "QtSoundCue.h"

#include "DataFiles.h"
#include "DataPaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundCue::QtSoundCue(std::function<void()> playDefault, QObject *parent)
    : QObject(parent), m_playDefault(playDefault ? std::move(playDefault) : &QApplication::beep)
{
}

void QtSoundCue::play()
{
    const QString path = fosdat::data::nativePath(fosdat::data::SoundPath);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        m_playDefault();
        return;
    }
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect->status() == QSoundEffect::Error)
                m_playDefault();
        });
    }
    const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    // A file that failed to decode is loaded again, so that each cue tries it afresh.
    if (m_effect->source() != url || m_effect->status() == QSoundEffect::Error) {
        m_effect->setSource(QUrl());
        m_effect->setSource(url);
    }
    m_effect->stop();
    m_effect->play();
}
