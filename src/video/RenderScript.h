#pragma once

#include <QString>

// What drives the bus while a video is rendered: it acts at the recording
// clock's time, between frames, and says when the video is complete.
class RenderScript
{
public:
    virtual ~RenderScript() = default;
    // At the video's start; the reason when the render cannot go on (a
    // route that cannot be set), otherwise empty.
    virtual QString start() = 0;
    // Does what is due at the clock's time.
    virtual void tick() = 0;
    virtual bool finished() const = 0;
    // How far the video has come, from 0 to 1.
    virtual double progress() const = 0;
};
