#pragma once

#include "CatalogueView.h"
#include "Fosdat.h"
#include "Program.h"
#include "SearchCommands.h"
#include "SearchWindow.h"
#include "support/Fakes.h"

#include <memory>

// The program on the current directory's data set, with fakes for the cue
// and the dialogs; start() makes its catalogue window, shown and active.
struct RunningProgram {
    RecordingSoundCue *sound = nullptr;
    RecordingDialogs *dialogs = nullptr;
    std::unique_ptr<Program> program;

    void start()
    {
        auto cue = std::make_unique<RecordingSoundCue>();
        auto recording = std::make_unique<RecordingDialogs>();
        sound = cue.get();
        dialogs = recording.get();
        program = std::make_unique<Program>(std::move(cue), std::move(recording));
        program->showCatalogueWindow()->activateWindow();
    }

    Fosdat *window() const { return program->catalogueWindow(); }
    CatalogueView *view() const { return window()->catalogueView(); }
    SearchWindow *search() const { return program->searchCommands().searchWindow(); }
};
