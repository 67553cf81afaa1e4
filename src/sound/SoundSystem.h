#pragma once
// The music and the dying bulb's sound, played through the audio backend.

#include <string>

#include "sound/AudioBackend.h"

// The program's two sounds; either is null if its file could not be loaded.
struct SoundPair {
    AudioSound* music = nullptr;
    AudioSound* bulbSound = nullptr;
};

class SoundSystem {
public:
    static constexpr int kVoices = 36;

    AudioBackend* system = nullptr;
    SoundPair* sounds = nullptr;  // null while there is no output device

    // Opens the output, opens "dontYou.mp3" from soundDir to be streamed and
    // loads "DyingLightBulb.mp3" whole. Without a device, or without a file,
    // that sound stays silent and nothing is printed; a file that is there
    // but cannot be decoded is named in one line on standard error. With loopbackRate > 0 nothing
    // is played: the mix is made in memory at that many frames a second, when system->render() asks
    // for it.
    explicit SoundSystem(const std::string& soundDir = "../sounds/", int loopbackRate = 0);
    virtual ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // The music, looped for ever.
    void playMusic();
    // The bulb once, on a voice of its own: calls in quick succession overlap.
    void playBulbSound();
};

// The application's sound system, made at start-up and deleted at shutdown.
extern SoundSystem* soundSystem;
// The loopback rate start-up gives the sound system: 0 plays to the output
// device; a recording sets its own rate, so its clock drives the mix.
extern int soundLoopbackRate;
