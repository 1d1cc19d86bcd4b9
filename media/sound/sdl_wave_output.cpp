#include "media/sound/sdl_wave_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace travoli {

namespace {

// Keeps a handful of distinct sounds; the game has three.
constexpr std::size_t kCacheLimit = 8;
// Short device buffer: a new request cuts the old sound off within about 12 ms.
constexpr Uint16 kDeviceSamples = 512;
// Checked this long after a sound should have ended, then every kPollAgain until drained.
constexpr std::chrono::milliseconds kDrainMargin{60};
constexpr std::chrono::milliseconds kPollAgain{25};

// libasound writes "ALSA lib ..." lines to stderr when there is no sound server, and the
// disk driver warns there too. The player must not see any of it, so fd 2 goes to
// /dev/null while SDL opens or closes its drivers.
class QuietStderr {
  public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) {
            ::dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            ::close(null);
        }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved_ = -1;
};

class DeviceLock {
  public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) {
        SDL_LockAudioDevice(device_);
    }
    ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

  private:
    SDL_AudioDeviceID device_;
};

std::string RefusalText() {
    return std::string("Couldn't play the sound: ") + SDL_GetError();
}

[[noreturn]] void Refuse() {
    throw SoundError(RefusalText());
}

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

SdlWaveOutput::SdlWaveOutput() = default;

SdlWaveOutput::~SdlWaveOutput() {
    if (pauser_.joinable()) {
        {
            std::lock_guard lock(pauseMutex_);
            quit_ = true;
        }
        pauseWake_.notify_all();
        pauser_.join();
    }
    if (state_ != State::Open) {
        return;  // SDL was never held, or was let go when opening failed
    }
    QuietStderr quiet;
    // Joins SDL's audio thread; may take up to ~100 ms, acceptable at exit.
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlWaveOutput::EnsureOpen() {
    if (state_ != State::Untried) {
        return;
    }
    // Whatever happens below, this run does not try again: a missing device stays missing,
    // and repeated probing would stall every key press.
    state_ = State::NoDevice;

    QuietStderr quiet;
    // SDL would otherwise turn SIGINT/SIGTERM into events that nobody here reads.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return;
    }

    SDL_AudioSpec desired{};
    desired.freq = 44100;
    desired.format = AUDIO_S16SYS;
    desired.channels = 1;
    desired.samples = kDeviceSamples;
    desired.callback = nullptr;  // queue mode
    SDL_AudioSpec obtained{};
    // The device count is only a hint (some back ends cannot enumerate); opening decides.
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }

    device_ = device;
    deviceFreq_ = obtained.freq;
    deviceFormat_ = obtained.format;
    deviceChannels_ = obtained.channels;
    bytesPerFrame_ = static_cast<int>(SDL_AUDIO_BITSIZE(obtained.format) / 8) * obtained.channels;
    state_ = State::Open;
    pauser_ = std::thread([this] { PauserLoop(); });
}

bool SdlWaveOutput::HasDevice() {
    EnsureOpen();
    return state_ == State::Open;
}

std::optional<SdlWaveOutput::OutputFormat> SdlWaveOutput::Format() {
    if (!HasDevice()) {
        return std::nullopt;
    }
    OutputFormat format;
    format.rate = deviceFreq_;
    format.channels = deviceChannels_;
    format.bits = SDL_AUDIO_BITSIZE(deviceFormat_);
    format.isFloat = SDL_AUDIO_ISFLOAT(deviceFormat_);
    format.isSigned = SDL_AUDIO_ISSIGNED(deviceFormat_);
    format.bigEndian = SDL_AUDIO_ISBIGENDIAN(deviceFormat_);
    return format;
}

bool SdlWaveOutput::IsRunning() {
    if (state_ != State::Open) {
        return false;
    }
    return SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
}

const SdlWaveOutput::Converted& SdlWaveOutput::Convert(std::span<const std::uint8_t> riffWave) {
    const std::uint64_t hash = Fnv1a(riffWave);
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        const Converted& c = **it;
        if (c.hash == hash && c.source.size() == riffWave.size() &&
            std::equal(c.source.begin(), c.source.end(), riffWave.begin())) {
            std::rotate(cache_.begin(), it, it + 1);
            return *cache_.front();
        }
    }

    if (riffWave.size() > static_cast<std::size_t>(INT_MAX)) {
        SDL_SetError("The sound image is too large");
        Refuse();
    }
    SDL_RWops* rw = SDL_RWFromConstMem(riffWave.data(), static_cast<int>(riffWave.size()));
    if (rw == nullptr) {
        Refuse();
    }
    SDL_AudioSpec source{};
    Uint8* pcm = nullptr;
    Uint32 pcmLength = 0;
    if (SDL_LoadWAV_RW(rw, 1, &source, &pcm, &pcmLength) == nullptr) {
        Refuse();
    }
    // Frees the parsed samples on every way out.
    std::unique_ptr<Uint8, void (*)(Uint8*)> pcmOwner(pcm, SDL_FreeWAV);

    auto entry = std::make_unique<Converted>();
    entry->source.assign(riffWave.begin(), riffWave.end());
    entry->hash = hash;
    if (pcmLength > 0) {
        // SDL_AudioCVT rather than SDL_AudioStream: the stream of SDL 2.26 drops the last
        // 15-30 % of a short 8-bit sound even after a flush.
        SDL_AudioCVT cvt;
        const int built =
            SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq, deviceFormat_,
                              static_cast<Uint8>(deviceChannels_), deviceFreq_);
        if (built < 0) {
            Refuse();
        }
        if (static_cast<std::size_t>(pcmLength) >
            static_cast<std::size_t>(INT_MAX) /
                static_cast<std::size_t>(std::max(cvt.len_mult, 1))) {
            SDL_SetError("The sound is too long");
            Refuse();
        }
        entry->samples.resize(static_cast<std::size_t>(pcmLength) *
                              static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
        std::memcpy(entry->samples.data(), pcm, pcmLength);
        cvt.buf = entry->samples.data();
        cvt.len = static_cast<int>(pcmLength);
        if (built == 0) {
            cvt.len_cvt = cvt.len;  // already in the device format
        } else if (SDL_ConvertAudio(&cvt) != 0) {
            Refuse();
        }
        // Whole frames only: a torn frame would swap the channels of everything after it.
        const auto got = static_cast<std::size_t>(cvt.len_cvt);
        entry->samples.resize(got - got % static_cast<std::size_t>(bytesPerFrame_));
        entry->samples.shrink_to_fit();
    }

    if (cache_.size() >= kCacheLimit) {
        cache_.pop_back();
    }
    cache_.insert(cache_.begin(), std::move(entry));
    return *cache_.front();
}

std::chrono::milliseconds SdlWaveOutput::Duration(std::size_t bytes) const {
    const auto frames = static_cast<long long>(bytes / static_cast<std::size_t>(bytesPerFrame_));
    return std::chrono::milliseconds(frames * 1000 / deviceFreq_);
}

void SdlWaveOutput::Play(std::span<const std::uint8_t> riffWave) {
    if (riffWave.empty()) {
        return;
    }
    EnsureOpen();
    if (state_ != State::Open) {
        return;
    }
    const Converted& sound = Convert(riffWave);
    {
        DeviceLock lock(device_);
        // SDL copies the bytes into its queue, so nothing here has to outlive the call.
        SDL_ClearQueuedAudio(device_);
        if (sound.samples.empty()) {
            SDL_PauseAudioDevice(device_, 1);
        } else {
            if (SDL_QueueAudio(device_, sound.samples.data(),
                               static_cast<Uint32>(sound.samples.size())) != 0) {
                std::string text = RefusalText();
                SDL_PauseAudioDevice(device_, 1);
                throw SoundError(text);
            }
            SDL_PauseAudioDevice(device_, 0);
        }
    }
    if (sound.samples.empty()) {
        ArmPause(std::nullopt);
    } else {
        ArmPause(std::chrono::steady_clock::now() + Duration(sound.samples.size()) + kDrainMargin);
    }
}

void SdlWaveOutput::Stop() {
    if (state_ != State::Open) {
        return;  // nothing can be playing
    }
    {
        DeviceLock lock(device_);
        SDL_ClearQueuedAudio(device_);
        SDL_PauseAudioDevice(device_, 1);
    }
    ArmPause(std::nullopt);
}

void SdlWaveOutput::ArmPause(std::optional<std::chrono::steady_clock::time_point> when) {
    {
        std::lock_guard lock(pauseMutex_);
        pauseAt_ = when;
    }
    pauseWake_.notify_all();
}

void SdlWaveOutput::PauserLoop() {
    std::unique_lock lock(pauseMutex_);
    while (!quit_) {
        if (!pauseAt_) {
            pauseWake_.wait(lock);
            continue;
        }
        const auto when = *pauseAt_;
        if (std::chrono::steady_clock::now() < when) {
            pauseWake_.wait_until(lock, when);
            continue;  // the deadline may have moved meanwhile
        }
        // The check and the pause happen under the device lock, so a request that queues a
        // new sound either comes before (and is seen) or after (and unpauses again).
        bool drained = false;
        {
            DeviceLock deviceLock(device_);
            // A device that went away never drains its queue; stop watching it then.
            drained = SDL_GetQueuedAudioSize(device_) == 0 ||
                      SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
            if (drained) {
                SDL_PauseAudioDevice(device_, 1);
            }
        }
        if (drained) {
            pauseAt_.reset();
        } else {
            pauseAt_ = std::chrono::steady_clock::now() + kPollAgain;
        }
    }
}

}  // namespace travoli
