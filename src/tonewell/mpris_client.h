#pragma once
#include <memory>
#include <optional>
#include <string>

#include "tonewell/feed_publisher.h"
#include "tonewell/key_commands.h"

namespace fluxo::tonewell {

// The desktop's media player through MPRIS on the session D-Bus (Qt DBus,
// synchronous calls with a short timeout, so it runs on a plain thread and
// needs no event loop). Of several players the one that plays is chosen.
class MprisClient : public PlayerControl {
 public:
  // `busAddress` empty: the user's session bus.
  explicit MprisClient(const std::string& busAddress);
  ~MprisClient() override;
  MprisClient(const MprisClient&) = delete;
  MprisClient& operator=(const MprisClient&) = delete;

  bool Connected() const;
  // Looks for the player to follow; call now and then, players come and go.
  void FindPlayer();
  // Artist, title and album of the current track (empty lines without a
  // player), and the player's track id to tell equal-looking tracks apart.
  struct Track {
    TrackLines lines;
    std::string id;
    bool operator==(const Track&) const = default;
  };
  Track CurrentTrack();

  void Next() override;
  void Previous() override;
  void ChangeVolume(double delta) override;
  void SeekToFraction(double fraction) override;

 private:
  struct Bus;
  std::unique_ptr<Bus> bus_;
  std::string player_;
};

}  // namespace fluxo::tonewell
