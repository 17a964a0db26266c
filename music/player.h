// The tracker-style music player. A song is 64 patterns stored as the
// pixels of one image (64 frames of 64 by 64); five tracks (two drum kits,
// lead, accompaniment, bass) advance together one row per tick. The player
// loads its instrument samples and decodes the song image in small steps
// during rendering (decoding draws the image and reads the pixels back),
// then plays rows from the update, rearranging the song every few patterns
// from a reseeded random sequence and transposing the melodic tracks by a
// queue of chord letters.
//
// Sources: player.cpp (construction, init, stop and the two services),
// loader.cpp (loader steps and frame decoding), sequencer.cpp (playback
// tick, arrangement, chord patterns, random numbers), voices.cpp (one row
// of one track as audio device calls), pitch_tables.cpp (note and letter
// pitch factors).
//
// Nothing in the player starts playback. A caller that wants music sets
// songPath, instrumentNumbers slots 1 to 5, songSeed (and optionally
// chordQueue and tempo), sets loadStep to 1 and state to 2, and keeps
// calling p_Tz_Alive_R from rendering and p_Tz_Alive_U from updates.
#pragma once

#include "runtime/runtime.h"

class c_Image;
class c_Sound;

// ---------------------------------------------------------------------------
// Song layout
// ---------------------------------------------------------------------------

constexpr int kTzPatterns = 64;
constexpr int kTzTracksStored = 8;  // tracks held per pattern; trackCount of them play
constexpr int kTzRows = 64;
constexpr int kTzColumns = 8;                                       // values per cell
constexpr int kTzTrackValues = kTzRows * kTzColumns;                // 512
constexpr int kTzPatternValues = kTzTracksStored * kTzTrackValues;  // 4096
constexpr int kTzSongValues = kTzPatterns * kTzPatternValues + 1;   // plus one spare value
constexpr int kTzDecodedFrames = 63;                                // frame 63 is never decoded
constexpr int kTzFrameSize = 64;                                    // pixels a side

// Cell columns.
constexpr int kTzColNote = 0;
constexpr int kTzColVolume = 1;
constexpr int kTzColEffect = 2;
constexpr int kTzColParameter = 3;

// Effects the sequencer handles itself.
constexpr int kTzEffectBreak = 8;
constexpr int kTzEffectAlternate = 27;

// States.
constexpr int kTzStopped = 0;
constexpr int kTzPlaying = 2;

// Loader: steps 1 to kTzLastLoadStep, then idle (0).
constexpr int kTzLastLoadStep = 70;

// Per-object arrays.
constexpr int kTzSmallArray = 8;
constexpr int kTzKitSlots = 9;  // slots 1 to 8 used

class c_TzPlayer : public Object {
public:
    int channelBase = 0;
    Array<int> initValues;
    int loadStep = 0;
    Array<int> instrumentNumbers;
    Array<c_Sound *> drumKitA;
    Array<c_Sound *> drumKitB;
    Array<c_Sound *> instruments;
    String songPath;
    c_Image *songImage = nullptr;
    Array<int> songData;
    Array<int> lastPattern;
    int nextStepTime = 0;  // host clock milliseconds
    int state = kTzStopped;
    int trackCount = 5;
    Array<int> channels;
    Array<int> sounding;
    Array<int> trackPattern;
    int row = 0;
    int repeatsLeft = 0;
    Array<int> muted;
    Array<int> leadIn;
    Array<int> nextMuted;
    float chordFactor = 0.0f;
    String chordQueue;
    Array<float> trackRate;
    Array<float> trackEnvelope;
    float musicVolume = 0.5f;
    Array<float> trackVolume;
    int tempo = 95;  // a row lasts 8000 / tempo milliseconds
    int songSeed = 0;
    int sectionCount = 0;

    c_TzPlayer();
    c_TzPlayer *m_new();
    void mark() override;

    virtual int p_Tz_Init(int channelBase, int a, int b, int c, int d);
    virtual int p_Tz_LoadChunk();
    virtual int p_Tz_Alive_R();
    virtual int p_Tz_Stop(int reset);
    virtual float p_GetPitch_Alpha(int code);
    virtual float p_GetPitch(int note);
    virtual int p_Tz_PlayNote(int track, int note, int volume, int effect, int parameter);
    virtual int p_Rand(float lo, float hi);
    virtual String p_Tz_GetChord(int index);
    virtual int p_Tz_MusicPlay();
    virtual int p_Tz_Alive_U(int paused, int musicOn);

    // Index in songData of the first value of the cell (pattern, track,
    // row); -1 when any of them lies outside the song.
    static int CellIndex(int pattern, int track, int row);
    // Tracks the row loop visits: trackCount, kept within the per-track
    // arrays.
    int PlayedTracks() const;
    // True when the channel number is one the audio device has and the
    // voices may use (1 and above).
    static bool UsableChannel(int channel);

private:
    void DecodeFrame(int frame);
    void StartSection();
};

// The host clock in milliseconds (0 without a host).
int tz_Now();
