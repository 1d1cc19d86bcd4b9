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
constexpr std::size_t CacheLimit = 8;
// Short device buffer: a new request cuts the old sound off within about 12 ms.
constexpr Uint16 DeviceSamples = 512;
// The one format the device is opened in; SDL adapts it to the hardware if it must, so a
// sound can be converted before any device exists.
constexpr int DeviceRate = 44100;
constexpr SDL_AudioFormat DeviceFormat = AUDIO_S16SYS;
constexpr int DeviceChannels = 1;
constexpr int BytesPerFrame = 2;
// Checked this long after a sound should have ended, then every PollAgain until drained.
constexpr std::chrono::milliseconds DrainMargin{60};
constexpr std::chrono::milliseconds PollAgain{25};

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

// SDL's own words only where SDL refused: otherwise they are an earlier call's.
[[noreturn]] void Refuse(SoundFailure failure = SoundFailure::Refused) {
    throw ESoundError(failure, failure == SoundFailure::Refused ? SDL_GetError() : "");
}

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

SdlWaveOutput::SdlWaveOutput(Timing timing) : timing_(timing) {}

SdlWaveOutput::~SdlWaveOutput() {
    if (helper_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        helper_.join();
    }
    // At exit the wait of closing (up to ~100 ms, SDL joins its audio thread) is acceptable.
    if (state_ == State::Open) {
        CloseDevice();
    }
    if (audioStarted_) {
        QuietStderr quiet;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

// Runs on the GUI thread only for the first request, later on the helper thread; either way
// nobody else touches the device meanwhile.
bool SdlWaveOutput::OpenDevice() {
    QuietStderr quiet;
    if (!audioStarted_) {
        // SDL would otherwise turn SIGINT/SIGTERM into events that nobody here reads.
        SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
        SDL_SetMainReady();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        audioStarted_ = true;
    }
    SDL_AudioSpec desired{};
    desired.freq = DeviceRate;
    desired.format = DeviceFormat;
    desired.channels = DeviceChannels;
    desired.samples = DeviceSamples;
    desired.callback = nullptr;  // queue mode
    // The device count is only a hint (some back ends cannot enumerate); opening decides.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &desired, nullptr, 0);
    if (device == 0) {
        // The next try starts SDL's audio afresh: its driver is chosen at start, and a sound
        // server that comes later is only seen then.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioStarted_ = false;
        return false;
    }
    device_ = device;
    return true;
}

void SdlWaveOutput::CloseDevice() {
    QuietStderr quiet;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
}

bool SdlWaveOutput::Due(Clock::time_point now) const {
    return state_ != State::Missing || now >= retryAt_;
}

bool SdlWaveOutput::HasDevice() {
    std::unique_lock lock(mutex_);
    if (state_ == State::Untried) {
        // Nothing can be playing yet, so the first open may wait here.
        const bool opened = OpenDevice();
        state_ = opened ? State::Open : State::Missing;
        retryAt_ = Clock::now() + timing_.retryAfter;
        helper_ = std::thread([this] { HelperLoop(); });
    }
    return Due(Clock::now());
}

bool SdlWaveOutput::HoldsDevice() {
    std::lock_guard lock(mutex_);
    return state_ == State::Open;
}

std::optional<SdlWaveOutput::OutputFormat> SdlWaveOutput::Format() {
    if (!HasDevice()) {
        return std::nullopt;
    }
    OutputFormat format;
    format.rate = DeviceRate;
    format.channels = DeviceChannels;
    format.bits = SDL_AUDIO_BITSIZE(DeviceFormat);
    format.isFloat = SDL_AUDIO_ISFLOAT(DeviceFormat);
    format.isSigned = SDL_AUDIO_ISSIGNED(DeviceFormat);
    format.bigEndian = SDL_AUDIO_ISBIGENDIAN(DeviceFormat);
    return format;
}

bool SdlWaveOutput::IsRunning() {
    std::lock_guard lock(mutex_);
    return state_ == State::Open && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
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
        Refuse(SoundFailure::TooLarge);
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
        const int built = SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq,
                                            DeviceFormat, DeviceChannels, DeviceRate);
        if (built < 0) {
            Refuse();
        }
        if (static_cast<std::size_t>(pcmLength) >
            static_cast<std::size_t>(INT_MAX) /
                static_cast<std::size_t>(std::max(cvt.len_mult, 1))) {
            Refuse(SoundFailure::TooLong);
        }
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(pcmLength) *
                                          static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
        std::memcpy(samples.data(), pcm, pcmLength);
        cvt.buf = samples.data();
        cvt.len = static_cast<int>(pcmLength);
        if (built == 0) {
            cvt.len_cvt = cvt.len;  // already in the device format
        } else if (SDL_ConvertAudio(&cvt) != 0) {
            Refuse();
        }
        // Whole frames only: a torn frame would swap the channels of everything after it.
        const auto got = static_cast<std::size_t>(cvt.len_cvt);
        samples.resize(got - got % static_cast<std::size_t>(BytesPerFrame));
        samples.shrink_to_fit();
        entry->samples = std::make_shared<const std::vector<std::uint8_t>>(std::move(samples));
    } else {
        entry->samples = std::make_shared<const std::vector<std::uint8_t>>();
    }

    if (cache_.size() >= CacheLimit) {
        cache_.pop_back();
    }
    cache_.insert(cache_.begin(), std::move(entry));
    return *cache_.front();
}

std::chrono::milliseconds SdlWaveOutput::Duration(std::size_t bytes) const {
    const auto frames = static_cast<long long>(bytes / static_cast<std::size_t>(BytesPerFrame));
    return std::chrono::milliseconds(frames * 1000 / DeviceRate);
}

bool SdlWaveOutput::QueueNow(const std::vector<std::uint8_t>& samples) {
    bool queued = false;
    {
        DeviceLock lock(device_);
        // SDL copies the bytes into its queue, so nothing here has to outlive the call.
        SDL_ClearQueuedAudio(device_);
        queued = SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size())) == 0;
        SDL_PauseAudioDevice(device_, queued ? 0 : 1);
    }
    const auto now = Clock::now();
    if (queued) {
        drainAt_ = now + Duration(samples.size()) + DrainMargin;
        releaseAt_.reset();
    } else {
        drainAt_.reset();
        releaseAt_ = now + timing_.releaseAfter;
    }
    return queued;
}

// With mutex_ held: nothing plays any more, and the device goes after the grace period.
void SdlWaveOutput::Silence() {
    pending_.reset();
    if (state_ == State::Open) {
        DeviceLock lock(device_);
        SDL_ClearQueuedAudio(device_);
        SDL_PauseAudioDevice(device_, 1);
        drainAt_.reset();
        releaseAt_ = Clock::now() + timing_.releaseAfter;
    }
}

void SdlWaveOutput::Play(std::span<const std::uint8_t> riffWave) {
    if (riffWave.empty() || !HasDevice()) {
        return;
    }
    const Converted& sound = Convert(riffWave);
    {
        std::lock_guard lock(mutex_);
        if (sound.samples->empty()) {
            Silence();
        } else if (state_ == State::Open) {
            if (!QueueNow(*sound.samples)) {
                Refuse();
            }
        } else {
            // The helper opens the device and plays it; a later request replaces it, as a
            // later request cuts off a playing sound.
            pending_ = sound.samples;
        }
    }
    wake_.notify_all();
}

void SdlWaveOutput::Stop() {
    {
        std::lock_guard lock(mutex_);
        Silence();
    }
    wake_.notify_all();
}

void SdlWaveOutput::HelperLoop() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        const auto now = Clock::now();
        if (pending_ && (state_ == State::Closed || state_ == State::Missing)) {
            state_ = State::Busy;
            lock.unlock();
            const bool opened = OpenDevice();
            lock.lock();
            if (opened) {
                state_ = State::Open;
                if (pending_ && !QueueNow(*pending_)) {
                    // Nobody waits for an answer here; the device is released as if unused.
                    pending_.reset();
                }
            } else {
                state_ = State::Missing;
                retryAt_ = Clock::now() + timing_.retryAfter;
            }
            pending_.reset();
            continue;
        }
        if (state_ == State::Open && drainAt_ && now >= *drainAt_) {
            // Checked and paused under the device lock, so a request that queues a new sound
            // either comes before (and is seen) or after (and unpauses again).
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
                drainAt_.reset();
                releaseAt_ = now + timing_.releaseAfter;
            } else {
                drainAt_ = now + PollAgain;
            }
            continue;
        }
        if (state_ == State::Open && !drainAt_ && releaseAt_ && now >= *releaseAt_) {
            // Closing joins SDL's audio thread, which can take ~100 ms: never on the GUI
            // thread, and a request meanwhile waits in pending_.
            releaseAt_.reset();
            state_ = State::Busy;
            lock.unlock();
            CloseDevice();
            lock.lock();
            state_ = State::Closed;
            continue;
        }
        std::optional<Clock::time_point> next;
        if (state_ == State::Open) {
            next = drainAt_ ? drainAt_ : releaseAt_;
        }
        if (next) {
            wake_.wait_until(lock, *next);
        } else {
            wake_.wait(lock);
        }
    }
}

}  // namespace travoli
