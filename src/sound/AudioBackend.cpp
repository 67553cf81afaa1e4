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
#include <chrono>
#include <cstring>

#include "sound/Mp3Decoder.h"
#include "sound/Mp3Stream.h"

namespace {

// Counts the names of a list that ends with an empty name.
int countNames(const ALCchar* list) {
    int count = 0;
    for (const ALCchar* name = list; name && *name; name += std::strlen(name) + 1) ++count;
    return count;
}

// How often the refilling thread looks at the streams: far less than one
// buffer's length, so a stream never runs dry while the process runs.
constexpr std::chrono::milliseconds kRefillEvery(20);

void deleteBuffers(const AudioSound& sound) {
    if (sound.stream)
        alDeleteBuffers(AudioSound::kStreamBuffers, sound.streamBuffers.data());
    else
        alDeleteBuffers(1, &sound.buffer);
}

}  // namespace

AudioSound::AudioSound() = default;
AudioSound::~AudioSound() = default;

AudioBackend::~AudioBackend() {
    if (refiller_.joinable()) {
        {
            std::lock_guard<std::mutex> held(lock_);
            stopping_ = true;
        }
        wake_.notify_all();
        refiller_.join();
    }
    if (!context_) return;
    makeCurrent();
    for (Voice& v : voices) {
        alSourceStop(v.source);
        alSourcei(v.source, AL_BUFFER, 0);
        alDeleteSources(1, &v.source);
    }
    for (const auto& sound : sounds_) deleteBuffers(*sound);
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
    std::lock_guard<std::mutex> held(lock_);
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

AudioSound* AudioBackend::openStream(const std::string& path) {
    std::lock_guard<std::mutex> held(lock_);
    if (!context_) return nullptr;
    auto sound = std::make_unique<AudioSound>();
    sound->stream = std::make_unique<Mp3Stream>();
    if (!sound->stream->open(path)) return nullptr;
    makeCurrent();
    alGetError();
    alGenBuffers(AudioSound::kStreamBuffers, sound->streamBuffers.data());
    if (alGetError() != AL_NO_ERROR) return nullptr;
    sound->rate = sound->stream->rate;
    sound->channels = sound->stream->channels;
    sound->frames = sound->stream->frames;
    sounds_.push_back(std::move(sound));
#if !defined(__EMSCRIPTEN__)
    if (!loopback_ && !refiller_.joinable())
        refiller_ = std::thread([this] { refillUntilStopped(); });
#endif
    return sounds_.back().get();
}

int AudioBackend::freeVoice() const {
    for (size_t i = 0; i < voices.size(); ++i)
        if (!playingNow(int(i))) return int(i);
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
    std::lock_guard<std::mutex> held(lock_);
    if (!context_ || !sound) return -1;
    makeCurrent();
    // A stream has one reading position, so it plays on one voice at a time.
    if (sound->stream)
        for (Voice& v : voices)
            if (v.sound == sound) stopVoice(v);
    int index = freeVoice();
    if (index < 0) index = oldestOneShotVoice();
    if (index < 0) return -1;
    Voice& v = voices[size_t(index)];
    stopVoice(v);
    v.sound = sound;
    v.looping = loop;
    v.startOrder = ++plays_;
    if (sound->stream) {
        alSourcei(v.source, AL_LOOPING, AL_FALSE);  // the stream loops itself
        startStream(v);
    } else {
        alSourcei(v.source, AL_BUFFER, ALint(sound->buffer));
        alSourcei(v.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    }
    alSourcePlay(v.source);
    return index;
}

void AudioBackend::stopVoice(Voice& v) {
    alSourceStop(v.source);
    alSourcei(v.source, AL_BUFFER, 0);  // also takes a stream's buffers off its queue
    v.sound = nullptr;
    v.looping = false;
    v.streaming = false;
}

void AudioBackend::startStream(Voice& v) {
    v.streaming = v.sound->stream->rewind();
    for (unsigned buffer : v.sound->streamBuffers)
        if (v.streaming && fillStreamBuffer(v, buffer)) alSourceQueueBuffers(v.source, 1, &buffer);
}

bool AudioBackend::fillStreamBuffer(Voice& v, unsigned buffer) {
    Mp3Stream& stream = *v.sound->stream;
    std::vector<int16_t> pcm(size_t(AudioSound::kStreamBufferFrames) * size_t(stream.channels));
    const size_t frames = stream.read(pcm.data(), AudioSound::kStreamBufferFrames, v.looping);
    if (frames < size_t(AudioSound::kStreamBufferFrames)) v.streaming = false;
    if (frames == 0) return false;
    alBufferData(buffer, stream.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm.data(),
                 ALsizei(frames * size_t(stream.channels) * sizeof(int16_t)), ALsizei(stream.rate));
    return true;
}

void AudioBackend::refillStreams() {
    for (Voice& v : voices) {
        if (!v.sound || !v.sound->stream) continue;
        ALint played = 0;
        alGetSourcei(v.source, AL_BUFFERS_PROCESSED, &played);
        for (; played > 0; --played) {
            unsigned buffer = 0;
            alSourceUnqueueBuffers(v.source, 1, &buffer);
            if (v.streaming && fillStreamBuffer(v, buffer))
                alSourceQueueBuffers(v.source, 1, &buffer);
        }
        // A voice whose queue ran dry (the process was starved or stopped)
        // stops by itself; it goes on where it stopped.
        ALint state = AL_STOPPED, queued = 0;
        alGetSourcei(v.source, AL_SOURCE_STATE, &state);
        alGetSourcei(v.source, AL_BUFFERS_QUEUED, &queued);
        if (state == AL_STOPPED && queued > 0) alSourcePlay(v.source);
    }
}

void AudioBackend::refillUntilStopped() {
    std::unique_lock<std::mutex> held(lock_);
#if !defined(__EMSCRIPTEN__)
    // This thread's own current context, so it never acts on another one.
    alcSetThreadContext(context_);
#endif
    while (!stopping_) {
        refillStreams();
        wake_.wait_for(held, kRefillEvery);
    }
#if !defined(__EMSCRIPTEN__)
    alcSetThreadContext(nullptr);
#endif
}

void AudioBackend::refillNow() {
    std::lock_guard<std::mutex> held(lock_);
    if (!context_) return;
    makeCurrent();
    refillStreams();
}

bool AudioBackend::playingNow(int voice) const {
    if (!context_ || voice < 0 || size_t(voice) >= voices.size()) return false;
    makeCurrent();
    const Voice& v = voices[size_t(voice)];
    ALint state = AL_STOPPED;
    alGetSourcei(v.source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING || state == AL_PAUSED || v.streaming;
}

bool AudioBackend::isPlaying(int voice) const {
    std::lock_guard<std::mutex> held(lock_);
    return playingNow(voice);
}

int AudioBackend::playingVoices() const {
    std::lock_guard<std::mutex> held(lock_);
    int count = 0;
    for (size_t i = 0; i < voices.size(); ++i) count += playingNow(int(i)) ? 1 : 0;
    return count;
}

void AudioBackend::release(AudioSound* sound) {
    std::lock_guard<std::mutex> held(lock_);
    const auto owned = std::find_if(sounds_.begin(), sounds_.end(),
                                    [&](const auto& s) { return s.get() == sound; });
    if (!sound || owned == sounds_.end()) return;
    makeCurrent();
    // A buffer still attached to a source cannot be deleted.
    for (Voice& v : voices)
        if (v.sound == sound) stopVoice(v);
    deleteBuffers(*sound);
    sounds_.erase(owned);
}

std::vector<float> AudioBackend::render(int frames) {
    std::lock_guard<std::mutex> held(lock_);
    if (!loopback_ || !context_ || frames <= 0) return {};
    makeCurrent();
    std::vector<float> mix(size_t(frames) * 2);
#if !defined(__EMSCRIPTEN__)
    // The streams are refilled between pieces no longer than one of their
    // buffers, so the mix never runs past what is queued: the same samples
    // whatever the pieces asked for.
    for (int done = 0; done < frames;) {
        refillStreams();
        const int piece = std::min(frames - done, AudioSound::kStreamBufferFrames / 2);
        alcRenderSamplesSOFT(device_, mix.data() + size_t(done) * 2, piece);
        done += piece;
    }
#endif
    return mix;
}
