#include "QtSoundCue.h"

#include "DataFiles.h"
#include "DataPaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundCue::QtSoundCue(QObject *parent) : QObject(parent) {}

void QtSoundCue::play()
{
    const QString path = fosdat::data::nativePath(fosdat::data::SoundPath);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        playDefault();
        return;
    }
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect->status() == QSoundEffect::Error)
                playDefault();
        });
    }
    const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    if (m_effect->source() != url)
        m_effect->setSource(url);
    m_effect->stop();
    m_effect->play();
}

void QtSoundCue::playDefault()
{
    QApplication::beep();
}
