#pragma once

// The click that acknowledges a choice. play() returns at once; a new cue
// cuts off one still playing.
class SoundCue
{
public:
    virtual ~SoundCue() = default;
    virtual void play() = 0;
};
