#include "MidiFile.h"

#include <smf.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "Failure.h"
#include "platform/Files.h"

namespace render {
namespace {

// libsmf reports its reasons through GLib's log; we collect them for our own message.
class SmfLogCapture {
 public:
  SmfLogCapture() { previous_ = g_log_set_default_handler(&SmfLogCapture::collect, this); }
  ~SmfLogCapture() { g_log_set_default_handler(previous_, nullptr); }
  SmfLogCapture(const SmfLogCapture&) = delete;
  SmfLogCapture& operator=(const SmfLogCapture&) = delete;

  const std::string& reasons() const { return reasons_; }

 private:
  static void collect(const gchar* /*domain*/, GLogLevelFlags /*level*/, const gchar* message, gpointer self) {
    std::string& reasons = static_cast<SmfLogCapture*>(self)->reasons_;
    if (!reasons.empty()) reasons += "; ";
    reasons += message;
  }

  GLogFunc previous_ = nullptr;
  std::string reasons_;
};

struct SmfDeleter {
  void operator()(smf_t* smf) const { smf_delete(smf); }
};

}  // namespace

MidiFile ReadMidiFile(const std::string& path, double sampleRate) {
  if (!platform::FileExists(path)) throw Failure(ExitCode::InputUnreadable, "Cannot read the MIDI file " + path);
  SmfLogCapture log;
  std::unique_ptr<smf_t, SmfDeleter> smf(smf_load(path.c_str()));
  if (!smf) {
    const std::string reason = log.reasons().empty() ? "not a Standard MIDI File" : log.reasons();
    throw Failure(ExitCode::InputUnreadable, "Cannot read the MIDI file " + path + ": " + reason);
  }

  MidiFile file;
  file.lengthSeconds = smf_get_length_seconds(smf.get());
  if (const smf_tempo_t* tempo = smf_get_tempo_by_seconds(smf.get(), 0.0);
      tempo != nullptr && tempo->microseconds_per_quarter_note > 0) {
    file.initialTempo = 60e6 / tempo->microseconds_per_quarter_note;
  }
  smf_rewind(smf.get());
  while (smf_event_t* event = smf_get_next_event(smf.get())) {
    if (smf_event_is_metadata(event) || smf_event_is_sysex(event) || event->midi_buffer_length < 1) continue;
    TimedMidiMessage message{std::llround(event->time_seconds * sampleRate), {0, 0, 0}};
    const size_t length = std::min<size_t>(event->midi_buffer_length, message.data.size());
    std::copy_n(event->midi_buffer, length, message.data.begin());
    file.messages.push_back(message);
  }
  // Tracks are merged in time order already; keep it stable against rounding to frames.
  std::stable_sort(file.messages.begin(), file.messages.end(),
                   [](const TimedMidiMessage& a, const TimedMidiMessage& b) { return a.frame < b.frame; });
  return file;
}

}  // namespace render
