#include "samples/SamplePreparer.h"

#include <soxr.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "engine/VoicePlayback.h"
#include "platform/BoundedLock.h"

namespace samples {
namespace {

// How often the thread looks for requests: asking must not wake it (the audio thread may ask),
// so a pitch change is taken up within this time.
constexpr std::chrono::milliseconds kLookInterval{5};

// Semitones inside the knob's range, or none: a pitch out of range plays straight, as in Classic.
int PlayedSemitones(int semitones) {
  return semitones >= -engine::kMaxPitch && semitones <= engine::kMaxPitch ? semitones : 0;
}

// Played 2^(semitones/12) times faster: as if recorded at that multiple of the file's rate.
double InputRate(const engine::SampleBuffer& source, double sessionRate, int semitones) {
  const double fileRate = source.sampleRate > 0 ? source.sampleRate : sessionRate;
  return fileRate * std::exp2(PlayedSemitones(semitones) / 12.0);
}

}  // namespace

std::unique_ptr<engine::SampleBuffer> PrepareSample(const engine::SampleBuffer& source, double sessionRate,
                                                    int semitones) {
  const double inputRate = InputRate(source, sessionRate, semitones);
  const double frames = std::ceil(static_cast<double>(source.frames) * sessionRate / inputRate);
  if (!(frames >= 0.0) || frames > UINT32_MAX) return nullptr;
  std::unique_ptr<engine::SampleBuffer> prepared =
      engine::SampleBuffer::allocate(static_cast<uint32_t>(frames), source.channels);
  if (!prepared) return nullptr;
  prepared->sampleRate = static_cast<int32_t>(std::lround(sessionRate));
  const size_t items = static_cast<size_t>(source.frames) * source.channels;
  if (inputRate == sessionRate) {
    std::memcpy(prepared->samples.get(), source.samples.get(), items * sizeof(float));
    return prepared;
  }
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
  // One thread: the converter's own pool would run beside the host's threads.
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  size_t written = 0;
  const soxr_error_t error =
      soxr_oneshot(inputRate, sessionRate, source.channels, source.samples.get(), source.frames, nullptr,
                   prepared->samples.get(), prepared->frames, &written, &io, &quality, &runtime);
  if (error != nullptr) return nullptr;
  // The last frames, when the converter gave fewer, stay silent.
  return prepared;
}

SamplePreparer::SamplePreparer(engine::Kit& kit) : kit_(kit), thread_([this] { run(); }) {}

SamplePreparer::~SamplePreparer() {
  {
    const std::lock_guard lock(wakeMutex_);
    stopping_.store(true);
  }
  wake_.notify_one();
  thread_.join();
}

void SamplePreparer::waitUntilPrepared() {
  const uint32_t asked = kit_.preparationRequests().count();
  wake_.notify_one();  // rather than at its next look
  std::unique_lock lock(doneMutex_);
  doneChanged_.wait_for(lock, platform::kMutexWaitBound,
                        [&] { return roundFinished_ && static_cast<int32_t>(done_ - asked) >= 0; });
}

void SamplePreparer::run() {
  engine::PreparationRequests& requests = kit_.preparationRequests();
  while (!stopping_.load()) {
    // Read before the round: whatever is asked for during it starts another one.
    const uint32_t seen = requests.count();
    prepareHolders();
    {
      const std::lock_guard lock(doneMutex_);
      done_ = seen;
      roundFinished_ = true;
    }
    doneChanged_.notify_all();
    std::unique_lock lock(wakeMutex_);
    while (!stopping_.load() && requests.count() == seen) wake_.wait_for(lock, kLookInterval);
  }
}

void SamplePreparer::prepareHolders() {
  for (int note = kit_.firstNote(); note <= kit_.lastNote() && !stopping_.load(); ++note) {
    engine::SampleHolder& holder = kit_.holder(static_cast<uint8_t>(note));
    Made& made = made_[static_cast<size_t>(note)];
    // The sample cannot be replaced (and released) while it is read.
    const platform::BoundedLock lock(platform::LoadMutex());
    const engine::SampleBuffer* source = holder.sample();
    if (kit_.soundMode() != engine::SoundMode::Tuned || source == nullptr || !(kit_.sessionRate() > 0.0)) {
      // Classic plays no prepared copy; its memory goes. Before the host tells its rate the
      // holders play as Classic does.
      if (holder.prepared() != nullptr) holder.installPrepared(nullptr);
      made = {};
      continue;
    }
    const Made wanted{holder.sampleSerial(), PlayedSemitones(holder.pitch()), kit_.sessionRate()};
    if (wanted == made) continue;
    if (InputRate(*source, wanted.sessionRate, wanted.semitones) == wanted.sessionRate) {
      // Recorded at the session's rate and not pitched: the sample itself plays, no copy needed.
      if (holder.prepared() != nullptr) holder.installPrepared(nullptr);
      made = wanted;
      continue;
    }
    std::unique_ptr<engine::SampleBuffer> prepared = PrepareSample(*source, wanted.sessionRate, wanted.semitones);
    // Without memory for a new copy the holder keeps the one it has, and the next request tries again.
    if (!prepared) continue;
    holder.installPrepared(std::move(prepared));
    made = wanted;
  }
}

}  // namespace samples
