#pragma once
// The program's sound output: a fixed pool of voices mixed by OpenAL Soft,
// each playing one sound once or looped for ever. A sound is either decoded
// whole into one buffer (short sounds) or streamed: decoded a piece at a
// time into a few buffers that are refilled as they are played, so a long
// file costs neither start-up time nor memory. Without a usable output
// device every operation does nothing, silently.

#include <AL/alc.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Mp3Stream;

// One sound: its samples live in one OpenAL buffer, or (streamed) pass
// through kStreamBuffers buffers of kStreamBufferFrames frames each.
struct AudioSound {
    static constexpr int kStreamBuffers = 4;
    static constexpr int kStreamBufferFrames = 32768;  // 0.74 s at 44.1 kHz

    unsigned buffer = 0;
    long rate = 0;
    int channels = 0;
    long frames = 0;                    // a streamed sound's length as its file states it
    std::unique_ptr<Mp3Stream> stream;  // null for a sound decoded whole
    std::array<unsigned, kStreamBuffers> streamBuffers{};

    AudioSound();
    ~AudioSound();
};

// One voice of the pool: an OpenAL source and what it was last given.
struct Voice {
    unsigned source = 0;
    const AudioSound* sound = nullptr;
    bool looping = false;
    bool streaming = false;        // a streamed sound that still has samples to queue
    unsigned long startOrder = 0;  // a new one-shot play takes the oldest one-shot voice first
};

class AudioBackend {
public:
    std::vector<Voice> voices;  // empty until a device is open

    AudioBackend() = default;  // opens nothing yet
    ~AudioBackend();
    AudioBackend(const AudioBackend&) = delete;
    AudioBackend& operator=(const AudioBackend&) = delete;

    // Output devices the system offers (0 when there is none).
    static int countOutputDevices();

    // Opens the default output device with up to voiceCount voices; false
    // (and silent from then on) if there is no usable device.
    bool init(int voiceCount);
    // Opens a device that mixes only when render() asks, at `rate` frames
    // per second in stereo floats: for checking the mix without a speaker.
    bool initLoopback(int voiceCount, int rate);
    bool ready() const { return context_ != nullptr; }

    // Decodes the MP3 file fully into a new buffer; nullptr (silently) if
    // there is no device or the file cannot be decoded. The sound belongs to
    // the backend until release() or the backend's end.
    AudioSound* load(const std::string& path);
    // Opens the MP3 file to be streamed: only its start is decoded now, and
    // at most kStreamBuffers x kStreamBufferFrames frames of it are held at
    // a time. It plays on one voice at a time (a new play takes it over) and
    // loops sample-exactly. On an output device a thread of the backend's
    // refills it; on a loopback device render() does.
    AudioSound* openStream(const std::string& path);

    // Starts the sound on a free voice, looped for ever or once. When every
    // voice is busy the oldest one-shot voice is taken over; looped voices
    // are never taken. Returns the voice's index, or -1 if nothing plays.
    int play(const AudioSound* sound, bool loop);
    bool isPlaying(int voice) const;
    int playingVoices() const;

    // Stops the voices that play the sound and frees its buffer. Null and
    // sounds already released are ignored.
    void release(AudioSound* sound);

    // The next `frames` frames of the loopback mix, stereo interleaved.
    std::vector<float> render(int frames);

    // Refills the streamed sounds' buffers now. A browser runs no thread of
    // the backend's; its page calls this once a frame instead.
    void refillNow();

private:
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    bool loopback_ = false;
    std::vector<std::unique_ptr<AudioSound>> sounds_;
    unsigned long plays_ = 0;
    // The refilling thread shares the voices and the streams with the
    // caller's; every public operation holds the lock.
    mutable std::mutex lock_;
    std::thread refiller_;
    std::condition_variable wake_;
    bool stopping_ = false;

    bool openContext(const ALCint* attributes, int voiceCount);
    void makeCurrent() const;
    int freeVoice() const;
    int oldestOneShotVoice() const;
    bool playingNow(int voice) const;
    void stopVoice(Voice& v);
    void startStream(Voice& v);
    // Refills the played buffers of every streaming voice and restarts a
    // voice that ran dry.
    void refillStreams();
    bool fillStreamBuffer(Voice& v, unsigned buffer);
    void refillUntilStopped();
};
