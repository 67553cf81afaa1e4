#include "sound/AudioBackend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
// The browser's OpenAL has no extension header and no loopback device: the
// recorder's mix is a desktop feature.
#if !defined(__EMSCRIPTEN__)
#include <AL/alext.h>
#endif

#include <algorithm>
#include <cstring>

#include "sound/Mp3Decoder.h"

namespace {

// Counts the names of a list that ends with an empty name.
int countNames(const ALCchar* list) {
    int count = 0;
    for (const ALCchar* name = list; name && *name; name += std::strlen(name) + 1) ++count;
    return count;
}

}  // namespace

AudioBackend::~AudioBackend() {
    if (!context_) return;
    makeCurrent();
    for (Voice& v : voices) {
        alSourceStop(v.source);
        alDeleteSources(1, &v.source);
    }
    for (const auto& sound : sounds_) alDeleteBuffers(1, &sound->buffer);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

int AudioBackend::countOutputDevices() {
    if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT"))
        return countNames(alcGetString(nullptr, ALC_ALL_DEVICES_SPECIFIER));
    if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT"))
        return countNames(alcGetString(nullptr, ALC_DEVICE_SPECIFIER));
#if defined(__EMSCRIPTEN__)
    // The browser's OpenAL lists no devices but names a default one where the
    // page can play sound.
    const ALCchar* name = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    return name && *name ? 1 : 0;
#else
    return 0;
#endif
}

namespace {

// Opening the default device probes the system's audio drivers, which write
// their own complaints to standard error when there is no sound card. Without
// a device the program stays silent, so those lines are kept off the console.
ALCdevice* openDefaultDeviceQuietly() {
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    if (savedStderr >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
    ALCdevice* device = alcOpenDevice(nullptr);
    std::fflush(stderr);
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
    }
    if (devNull >= 0) close(devNull);
    return device;
}

}  // namespace

bool AudioBackend::init(int voiceCount) {
    if (device_ || voiceCount <= 0) return false;
    device_ = openDefaultDeviceQuietly();
    return device_ && openContext(nullptr, voiceCount);
}

bool AudioBackend::initLoopback(int voiceCount, int rate) {
#if defined(__EMSCRIPTEN__)
    (void)voiceCount;
    (void)rate;
    return false;
#else
    if (device_ || voiceCount <= 0 || rate <= 0 ||
        !alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    device_ = alcLoopbackOpenDeviceSOFT(nullptr);
    if (!device_) return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 rate,
                                 0};
    loopback_ = true;
    return openContext(attributes, voiceCount);
#endif
}

bool AudioBackend::openContext(const ALCint* attributes, int voiceCount) {
    context_ = alcCreateContext(device_, attributes);
    if (!context_) {
        alcCloseDevice(device_);
        device_ = nullptr;
        return false;
    }
    makeCurrent();
    alGetError();
    // As many voices as the device grants, up to the number asked for.
    for (int i = 0; i < voiceCount; ++i) {
        Voice v;
        alGenSources(1, &v.source);
        if (alGetError() != AL_NO_ERROR) break;
        // Centred and unattenuated: the sounds are not placed in the scene.
        alSourcei(v.source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(v.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        voices.push_back(v);
    }
    return true;
}

void AudioBackend::makeCurrent() const {
    if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
}

AudioSound* AudioBackend::load(const std::string& path) {
    if (!context_) return nullptr;
    DecodedSound pcm;
    if (!decodeMp3(path, pcm)) return nullptr;
    makeCurrent();
    alGetError();
    auto sound = std::make_unique<AudioSound>();
    alGenBuffers(1, &sound->buffer);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    alBufferData(sound->buffer, pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
                 pcm.samples.data(), ALsizei(pcm.samples.size() * sizeof(int16_t)),
                 ALsizei(pcm.rate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &sound->buffer);
        return nullptr;
    }
    sound->rate = pcm.rate;
    sound->channels = pcm.channels;
    sound->frames = long(pcm.frames());
    sounds_.push_back(std::move(sound));
    return sounds_.back().get();
}

int AudioBackend::freeVoice() const {
    for (size_t i = 0; i < voices.size(); ++i)
        if (!isPlaying(int(i))) return int(i);
    return -1;
}

int AudioBackend::oldestOneShotVoice() const {
    int oldest = -1;
    for (size_t i = 0; i < voices.size(); ++i)
        if (!voices[i].looping &&
            (oldest < 0 || voices[i].startOrder < voices[size_t(oldest)].startOrder))
            oldest = int(i);
    return oldest;
}

int AudioBackend::play(const AudioSound* sound, bool loop) {
    if (!context_ || !sound) return -1;
    makeCurrent();
    int index = freeVoice();
    if (index < 0) index = oldestOneShotVoice();
    if (index < 0) return -1;
    Voice& v = voices[size_t(index)];
    alSourceStop(v.source);
    alSourcei(v.source, AL_BUFFER, ALint(sound->buffer));
    alSourcei(v.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(v.source);
    v.sound = sound;
    v.looping = loop;
    v.startOrder = ++plays_;
    return index;
}

bool AudioBackend::isPlaying(int voice) const {
    if (!context_ || voice < 0 || size_t(voice) >= voices.size()) return false;
    makeCurrent();
    ALint state = AL_STOPPED;
    alGetSourcei(voices[size_t(voice)].source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING || state == AL_PAUSED;
}

int AudioBackend::playingVoices() const {
    int count = 0;
    for (size_t i = 0; i < voices.size(); ++i) count += isPlaying(int(i)) ? 1 : 0;
    return count;
}

void AudioBackend::release(AudioSound* sound) {
    const auto owned = std::find_if(sounds_.begin(), sounds_.end(),
                                    [&](const auto& s) { return s.get() == sound; });
    if (!sound || owned == sounds_.end()) return;
    makeCurrent();
    // A buffer still attached to a source cannot be deleted.
    for (Voice& v : voices) {
        if (v.sound != sound) continue;
        alSourceStop(v.source);
        alSourcei(v.source, AL_BUFFER, 0);
        v.sound = nullptr;
        v.looping = false;
    }
    alDeleteBuffers(1, &sound->buffer);
    sounds_.erase(owned);
}

std::vector<float> AudioBackend::render(int frames) {
    if (!loopback_ || !context_ || frames <= 0) return {};
    std::vector<float> mix(size_t(frames) * 2);
#if !defined(__EMSCRIPTEN__)
    alcRenderSamplesSOFT(device_, mix.data(), frames);
#endif
    return mix;
}
