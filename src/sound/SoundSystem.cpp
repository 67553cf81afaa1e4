#include "sound/SoundSystem.h"

SoundSystem* soundSystem = nullptr;
int soundLoopbackRate = 0;

SoundSystem::SoundSystem(const std::string& soundDir, int loopbackRate)
    : system(new AudioBackend()) {
    const bool opened = loopbackRate > 0
                            ? system->initLoopback(kVoices, loopbackRate)
                            : AudioBackend::countOutputDevices() > 0 && system->init(kVoices);
    if (!opened) return;
    sounds = new SoundPair();
    sounds->music = system->load(soundDir + "dontYou.mp3");
    sounds->bulbSound = system->load(soundDir + "DyingLightBulb.mp3");
}

SoundSystem::~SoundSystem() {
    if (sounds) {
        system->release(sounds->music);
        system->release(sounds->bulbSound);
        delete sounds;
    }
    // Closing the backend ends its voices and lets go of the output device.
    delete system;
}

void SoundSystem::playMusic() {
    if (sounds) system->play(sounds->music, true);
}

void SoundSystem::playBulbSound() {
    if (sounds) system->play(sounds->bulbSound, false);
}
