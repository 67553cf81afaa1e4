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

    // Opens the output and loads "dontYou.mp3" and "DyingLightBulb.mp3" from
    // soundDir. Without a device, or without a file, that sound stays
    // silent; nothing is printed.
    explicit SoundSystem(const std::string& soundDir = "../sounds/");
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
