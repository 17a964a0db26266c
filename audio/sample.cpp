// Samples: one OpenAL buffer each. A sample never deletes its buffer itself,
// since a source may still be playing it; it hands the name to `discarded`,
// which the device flushes.

#include "audio/device.h"

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

std::vector<ALuint> discarded;

// ---------------------------------------------------------------------------
// gxtkSample
// ---------------------------------------------------------------------------

gxtkSample::gxtkSample() {}

gxtkSample::gxtkSample(ALuint buffer) : buffer(buffer) {}

// Reclaimed by the collector: the buffer waits for the next flush like a
// discarded one.
gxtkSample::~gxtkSample() {
    Discard();
}

void gxtkSample::SetBuffer(ALuint buffer) {
    this->buffer = buffer;
}

int gxtkSample::Discard() {
    if (buffer != 0) {
        discarded.push_back(buffer);
        buffer = 0;
    }
    return 0;
}
