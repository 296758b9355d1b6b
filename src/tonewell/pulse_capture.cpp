#include "tonewell/pulse_capture.h"

#include <pulse/pulseaudio.h>

#include <cstdio>

namespace fluxo::tonewell {
namespace {

constexpr int kPollMicroseconds = 100000;
constexpr uint32_t kChannels = 2;
constexpr uint32_t kFragmentsPerSecond = 60;

// One connection to the server and one record stream on it.
class PulseSession {
 public:
  PulseSession(const PulseOptions& options, AudioSink& sink, const std::function<void(const std::string&)>& report)
      : options_(options), sink_(sink), report_(report), loop_(pa_mainloop_new()) {
    context_ = pa_context_new(pa_mainloop_get_api(loop_), "Tonewell");
    pa_context_set_state_callback(context_, &PulseSession::ContextState, this);
  }

  ~PulseSession() {
    if (stream_) {
      pa_stream_set_state_callback(stream_, nullptr, nullptr);
      pa_stream_set_read_callback(stream_, nullptr, nullptr);
      pa_stream_disconnect(stream_);
      pa_stream_unref(stream_);
    }
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    pa_mainloop_free(loop_);
    if (streaming_) sink_.End();
  }

  // Runs until the stream fails or a stop; returns why it ended.
  std::string Run(const StopSignal& stop) {
    const char* server = options_.server.empty() ? nullptr : options_.server.c_str();
    if (pa_context_connect(context_, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
      return "cannot connect to the sound server: " + Error();
    const auto giveUp = std::chrono::steady_clock::now() + options_.connectTimeout;
    while (failure_.empty() && !stop.Requested()) {
      if (pa_mainloop_prepare(loop_, kPollMicroseconds) < 0 || pa_mainloop_poll(loop_) < 0 ||
          pa_mainloop_dispatch(loop_) < 0)
        return "the sound connection's loop failed";
      if (!streaming_ && std::chrono::steady_clock::now() > giveUp) failure_ = "no answer from the sound server";
    }
    return failure_;
  }
  bool Streamed() const { return streaming_; }

 private:
  std::string Error() const { return pa_strerror(pa_context_errno(context_)); }

  static void ContextState(pa_context* context, void* user) {
    auto* self = static_cast<PulseSession*>(user);
    switch (pa_context_get_state(context)) {
      case PA_CONTEXT_READY:
        pa_operation_unref(pa_context_get_server_info(context, &PulseSession::ServerInfo, self));
        break;
      case PA_CONTEXT_FAILED:
      case PA_CONTEXT_TERMINATED:
        self->failure_ = self->streaming_ ? "lost the sound server: " + self->Error()
                                          : "cannot connect to the sound server: " + self->Error();
        break;
      default:
        break;
    }
  }

  static void ServerInfo(pa_context*, const pa_server_info* info, void* user) {
    auto* self = static_cast<PulseSession*>(user);
    if (!info) {
      self->failure_ = "the sound server does not describe itself: " + self->Error();
      return;
    }
    self->OpenStream(info->sample_spec.rate);
  }

  void OpenStream(uint32_t rate) {
    rate_ = rate;
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, rate, kChannels};
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    stream_ = pa_stream_new(context_, "Tonewell analysis", &sampleFormat, &map);
    if (!stream_) {
      failure_ = "cannot create a record stream: " + Error();
      return;
    }
    pa_stream_set_state_callback(stream_, &PulseSession::StreamState, this);
    pa_stream_set_read_callback(stream_, &PulseSession::StreamRead, this);
    // Ask for a fragment per 60th of a second, so levels keep pace with the saver.
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(pa_frame_size(&sampleFormat) * (rate / kFragmentsPerSecond));
    if (pa_stream_connect_record(stream_, options_.source.c_str(), &attributes, PA_STREAM_ADJUST_LATENCY) < 0)
      failure_ = "cannot record from \"" + options_.source + "\": " + Error();
  }

  static void StreamState(pa_stream* stream, void* user) {
    auto* self = static_cast<PulseSession*>(user);
    switch (pa_stream_get_state(stream)) {
      case PA_STREAM_READY:
        self->streaming_ = true;
        self->sink_.Begin(self->rate_);
        self->report_("recording from \"" + self->options_.source + "\" at " + std::to_string(self->rate_) + " Hz");
        break;
      case PA_STREAM_FAILED:
      case PA_STREAM_TERMINATED:
        self->failure_ = (self->streaming_ ? "lost the recording from \"" : "cannot record from \"") +
                         self->options_.source + "\": " + self->Error();
        break;
      default:
        break;
    }
  }

  static void StreamRead(pa_stream* stream, size_t, void* user) {
    auto* self = static_cast<PulseSession*>(user);
    while (pa_stream_readable_size(stream) > 0) {
      const void* data = nullptr;
      size_t bytes = 0;
      if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
      // A hole (data null) carries no samples; skip it.
      if (data && self->streaming_)
        self->sink_.Frames(static_cast<const float*>(data), bytes / (kChannels * sizeof(float)));
      pa_stream_drop(stream);
    }
  }

  const PulseOptions& options_;
  AudioSink& sink_;
  const std::function<void(const std::string&)>& report_;
  pa_mainloop* loop_;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  uint32_t rate_ = 0;
  bool streaming_ = false;
  std::string failure_;
};

}  // namespace

void RunPulseCapture(const PulseOptions& options, AudioSink& sink, const StopSignal& stop,
                     const std::function<void(const std::string&)>& report) {
  std::string lastReason;
  while (!stop.Requested()) {
    std::string reason;
    bool streamed = false;
    {
      PulseSession session(options, sink, report);
      reason = session.Run(stop);
      streamed = session.Streamed();
    }
    if (stop.Requested()) break;
    // Say it once, not at every attempt, until something changes.
    if (reason != lastReason || streamed) {
      char every[32];
      std::snprintf(every, sizeof every, "%.1f", options.retry.count() / 1000.0);
      report(reason + "; trying again every " + every + " s");
    }
    lastReason = reason;
    stop.WaitFor(options.retry);
  }
}

}  // namespace fluxo::tonewell
