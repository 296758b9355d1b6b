#include "tonewell/companion.h"

#include "sound/sound_feed.h"
#include "tonewell/analysis_sink.h"
#include "tonewell/feed_publisher.h"
#include "tonewell/file_input.h"
#include "tonewell/key_commands.h"
#include "tonewell/mpris_client.h"

namespace fluxo::tonewell {
namespace {

constexpr auto kKeyPoll = std::chrono::milliseconds(50);
// How often the player thread looks for another player when it has none or
// the current one may have gone.
constexpr int kTrackPollsPerPlayerSearch = 4;

}  // namespace

Companion::Companion(CompanionOptions options, Report report)
    : options_(std::move(options)), report_(std::move(report)) {}

Companion::~Companion() { Stop(); }

bool Companion::Start(std::string* error) {
  block_ = AttachSoundFeed();
  if (!block_) {
    *error = "cannot use the saver's sound block: " + SoundFeedError();
    return false;
  }
  FeedPublisher(*block_).Introduce();
  // A quit request left from an earlier saver run is not meant for this run.
  block_->SetU32(feed::kCompanionQuit, 0);
  audio_ = std::thread(&Companion::RunAudio, this);
  if (options_.followPlayer) player_ = std::thread(&Companion::RunPlayer, this);
  return true;
}

void Companion::Stop() {
  stop_.Request();
  if (audio_.joinable()) audio_.join();
  if (player_.joinable()) player_.join();
  if (block_) {
    FeedPublisher(*block_).Silence();
    CloseSoundFeed(block_);
    block_ = nullptr;
  }
}

bool Companion::QuitRequested() const { return block_ && block_->U32(feed::kCompanionQuit) == 1; }

void Companion::RunAudio() {
  FeedPublisher publisher(*block_);
  AnalysisSink sink(publisher);
  if (options_.inputFile.empty()) {
    RunPulseCapture(options_.pulse, sink, stop_, report_);
    return;
  }
  std::string error;
  if (!PlayFile(options_.inputFile, sink, stop_, &error)) report_(error);
  inputEnded_.store(true);
}

void Companion::RunPlayer() {
  FeedPublisher publisher(*block_);
  KeyCommands keys(*block_);
  MprisClient player(options_.busAddress);
  if (!player.Connected()) {
    report_("no session bus: no track information and no player keys");
    return;
  }

  MprisClient::Track shown;
  bool published = false;
  int polls = 0;
  auto nextTrackPoll = std::chrono::steady_clock::now();
  while (!stop_.WaitFor(kKeyPoll)) {
    keys.Poll(player);
    if (std::chrono::steady_clock::now() < nextTrackPoll) continue;
    nextTrackPoll = std::chrono::steady_clock::now() + options_.trackPoll;
    if (polls++ % kTrackPollsPerPlayerSearch == 0) player.FindPlayer();
    const MprisClient::Track track = player.CurrentTrack();
    if (!published || track != shown) {
      publisher.PublishTrack(track.lines);
      shown = track;
      published = true;
    }
  }
}

}  // namespace fluxo::tonewell
