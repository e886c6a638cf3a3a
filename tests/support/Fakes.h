#pragma once

#include "SoundCue.h"
#include "UserDialogs.h"

#include <QStringList>
#include <functional>
#include <optional>

// Counts cues; `snapshot`, when set, records what the window showed at each cue.
class RecordingSoundCue final : public SoundCue
{
public:
    void play() override
    {
        ++count;
        if (snapshot)
            atCue << snapshot();
    }

    int count = 0;
    std::function<QString()> snapshot;
    QStringList atCue;
};

// Records every message box and question, answers every save dialog with
// `answer` and every question with `confirmation`.
class RecordingDialogs final : public UserDialogs
{
public:
    struct Message {
        QString text;
        QString title;
        QMessageBox::Icon icon;
    };
    struct SaveRequest {
        QString title;
        QString proposed;
        QString filter;
    };

    void message(QWidget *, const QString &text, const QString &title,
                 QMessageBox::Icon icon) override
    {
        messages.push_back({text, title, icon});
    }

    std::optional<QString> saveFileName(QWidget *, const QString &title, const QString &proposed,
                                        const QString &filter) override
    {
        saveRequests.push_back({title, proposed, filter});
        return answer;
    }

    bool confirm(QWidget *, const QString &text, const QString &title) override
    {
        questions.push_back({text, title, QMessageBox::Question});
        return confirmation;
    }

    QList<Message> messages;
    QList<SaveRequest> saveRequests;
    std::optional<QString> answer;
    QList<Message> questions;
    bool confirmation = false;
};
