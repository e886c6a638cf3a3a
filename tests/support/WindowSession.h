#pragma once

#include "CatalogueView.h"
#include "Fosdat.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QPlainTextEdit>
#include <memory>

// A catalogue window in a scratch data set, filled as at start-up and shown,
// with fakes for the cue and the dialogs. The files are written before the
// window is made; the cues of the start-up are not counted.
struct WindowSession {
    DataTree data;
    RecordingSoundCue sound;
    RecordingDialogs dialogs;
    std::unique_ptr<Fosdat> window;

    explicit WindowSession(const QList<std::pair<QString, QByteArray>> &files)
    {
        for (const auto &[path, bytes] : files)
            data.write(path, bytes);
        window = std::make_unique<Fosdat>(sound, dialogs);
        window->loadStartupContent();
        window->show();
        window->activateWindow();
        sound.count = 0;
    }

    CatalogueView *view() const { return window->catalogueView(); }
    QPlainTextEdit *panel() const { return window->findChild<QPlainTextEdit *>("Text2"); }
};
