#pragma once

#include <QtGlobal>

// Where synthesised speech goes: 16-bit mono samples at the rate the output
// was made for, one utterance at a time. The player sends them to the
// loudspeaker; a recording places them in its sound.
class PcmOutput
{
public:
    virtual ~PcmOutput() = default;
    // Begins a new utterance, cutting off the one before: push() its
    // samples, then finish().
    virtual void start() = 0;
    virtual void push(const qint16 *samples, int count) = 0;
    virtual void finish() = 0;
    virtual void stop() = 0;
    // From start() until the last sample has sounded or stop().
    virtual bool isPlaying() const = 0;
};
