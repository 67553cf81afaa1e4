#include "sound/SoundSystem.h"

#include <unistd.h>

#include <cstdio>

SoundSystem* soundSystem = nullptr;
int soundLoopbackRate = 0;

namespace {

// A missing sound file is silent, as the design has it; one that is there
// but cannot be played is named, or the user would not know why it is quiet.
AudioSound* reportUndecodable(AudioSound* sound, const std::string& path) {
    if (!sound && access(path.c_str(), F_OK) == 0)
        std::fprintf(stderr, "Sound file cannot be played (not MP3 audio): %s\n", path.c_str());
    return sound;
}

}  // namespace

SoundSystem::SoundSystem(const std::string& soundDir, int loopbackRate)
    : system(new AudioBackend()) {
    const bool opened = loopbackRate > 0
                            ? system->initLoopback(kVoices, loopbackRate)
                            : AudioBackend::countOutputDevices() > 0 && system->init(kVoices);
    if (!opened) return;
    sounds = new SoundPair();
    // The music may be long: it is streamed, so start-up reads only its start.
    sounds->music =
        reportUndecodable(system->openStream(soundDir + "dontYou.mp3"), soundDir + "dontYou.mp3");
    sounds->bulbSound = reportUndecodable(system->load(soundDir + "DyingLightBulb.mp3"),
                                          soundDir + "DyingLightBulb.mp3");
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
