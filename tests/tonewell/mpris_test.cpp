#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QtCore/QCoreApplication>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusVariant>
#include <QtDBus/QDBusVirtualObject>
#include <mutex>

#include "tonewell/companion_fixture.h"

namespace fluxo::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(5);
constexpr qlonglong kTrackLength = 200'000'000;  // microseconds

struct FakeTrack {
  QStringList artists;
  QString title;
  QString album;
  QString id;
};

// A media player on the private bus that answers the MPRIS calls the
// companion makes and records the commands it gets.
class FakePlayer : public QDBusVirtualObject {
 public:
  FakePlayer(const QString& status, FakeTrack track) : status_(status), track_(std::move(track)) {}

  void SetTrack(FakeTrack track) {
    std::lock_guard<std::mutex> lock(mutex_);
    track_ = std::move(track);
  }
  int nexts() const { return Get(nexts_); }
  int previouses() const { return Get(previouses_); }
  double volume() const { return Get(volume_); }
  qlonglong position() const { return Get(position_); }
  QString positionTrack() const { return Get(positionTrack_); }

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    std::lock_guard<std::mutex> lock(mutex_);
    const QList<QVariant> args = message.arguments();
    QDBusMessage reply = message.createReply();
    if (message.member() == "Get" && args.size() == 2) {
      reply = message.createReply(QVariant::fromValue(QDBusVariant(Property(args[1].toString()))));
    } else if (message.member() == "Set" && args.size() == 3 && args[1].toString() == "Volume") {
      volume_ = args[2].value<QDBusVariant>().variant().toDouble();
    } else if (message.member() == "Next") {
      ++nexts_;
    } else if (message.member() == "Previous") {
      ++previouses_;
    } else if (message.member() == "SetPosition" && args.size() == 2) {
      positionTrack_ = args[0].value<QDBusObjectPath>().path();
      position_ = args[1].toLongLong();
    } else {
      reply = message.createErrorReply(QDBusError::UnknownMethod, message.member());
    }
    connection.send(reply);
    return true;
  }

 private:
  template <typename T>
  T Get(const T& field) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return field;
  }
  QVariant Property(const QString& name) const {
    if (name == "PlaybackStatus") return status_;
    if (name == "Volume") return volume_;
    if (name != "Metadata") return {};
    QVariantMap metadata;
    metadata["xesam:artist"] = track_.artists;
    metadata["xesam:title"] = track_.title;
    metadata["xesam:album"] = track_.album;
    metadata["mpris:trackid"] = QVariant::fromValue(QDBusObjectPath(track_.id));
    metadata["mpris:length"] = kTrackLength;
    return metadata;
  }

  mutable std::mutex mutex_;
  QString status_;
  FakeTrack track_;
  int nexts_ = 0;
  int previouses_ = 0;
  double volume_ = 0.5;
  qlonglong position_ = -1;
  QString positionTrack_;
};

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "fluxo_tests_tonewell";
  static char* argv[] = {name, nullptr};
  static auto* application = new QCoreApplication(argc, argv);  // lives to the end of the process
  return *application;
}

// A private session bus with players on it.
class MprisTest : public CompanionTest {
 protected:
  void SetUp() override {
    if (FindProgram("dbus-daemon").empty()) GTEST_SKIP() << "dbus-daemon is not installed";
    Application();
    CompanionTest::SetUp();
    const std::string folder = PrivateFolder("bus");
    const std::string socket = folder + "/bus";
    std::remove(socket.c_str());
    address_ = "unix:path=" + socket;
    daemon_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--address=" + address_});
    struct stat info {};
    ASSERT_TRUE(WaitUntil([&] { return stat(socket.c_str(), &info) == 0; }, kPatience));
  }
  void TearDown() override {
    CompanionTest::TearDown();
    for (const QString& name : connections_) QDBusConnection::disconnectFromBus(name);
    daemon_.reset();
  }

  void AddPlayer(const QString& service, FakePlayer& player) {
    const QString name = "fake-" + service;
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromStdString(address_), name);
    ASSERT_TRUE(connection.isConnected());
    connections_.push_back(name);
    ASSERT_TRUE(connection.registerVirtualObject("/org/mpris/MediaPlayer2", &player));
    ASSERT_TRUE(connection.registerService("org.mpris.MediaPlayer2." + service));
  }
  void RemovePlayer(const QString& service) {
    QDBusConnection::disconnectFromBus("fake-" + service);
    connections_.removeAll("fake-" + service);
  }

  void StartFollowing() {
    tonewell::CompanionOptions options;
    options.inputFile = "/nonexistent.wav";  // levels are not the point here
    options.busAddress = address_;
    options.trackPoll = std::chrono::milliseconds(100);
    StartCompanion(options);
  }
  std::string Line(size_t offset) const { return saver_->Text(offset, 64); }

  std::string address_;
  std::unique_ptr<ChildProcess> daemon_;
  QStringList connections_;
};

TEST_F(MprisTest, TrackChangesReachTheLinesAndTheSerial) {
  FakePlayer paused("Paused", {{"Nobody"}, "Not this one", "Elsewhere", "/track/0"});
  FakePlayer playing("Playing", {{"Ann", "Bo"}, "Title One", "First Album", "/track/1"});
  AddPlayer("aaa", paused);  // listed first, but it does not play
  AddPlayer("fluxotest", playing);
  StartFollowing();
  ASSERT_TRUE(WaitUntil([&] { return Line(feed::kInfoText2) == "Title One"; }, kPatience)) << Messages();
  EXPECT_EQ(Line(feed::kInfoText1), "Ann, Bo");
  EXPECT_EQ(Line(feed::kInfoText3), "First Album");
  const uint32_t first = saver_->U32(feed::kInfoSerial);

  // A long title of two-byte characters is cut between characters.
  QString longTitle;
  for (int i = 0; i < 40; ++i) longTitle += QChar(0xE9);
  playing.SetTrack({{"Cé"}, longTitle, "Second Album", "/track/2"});
  ASSERT_TRUE(WaitUntil([&] { return Line(feed::kInfoText3) == "Second Album"; }, kPatience));
  EXPECT_NE(saver_->U32(feed::kInfoSerial), first);
  EXPECT_EQ(Line(feed::kInfoText1), "Cé");
  std::string expected;
  for (int i = 0; i < 31; ++i) expected += "\xC3\xA9";
  EXPECT_EQ(Line(feed::kInfoText2), expected);

  // The same track polled again is not a new track.
  const uint32_t second = saver_->U32(feed::kInfoSerial);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(saver_->U32(feed::kInfoSerial), second);

  // Players gone: empty lines.
  RemovePlayer("fluxotest");
  RemovePlayer("aaa");
  ASSERT_TRUE(WaitUntil([&] { return Line(feed::kInfoText2).empty(); }, kPatience));
  EXPECT_EQ(Line(feed::kInfoText1), "");
  EXPECT_NE(saver_->U32(feed::kInfoSerial), second);
}

TEST_F(MprisTest, SaverKeysReachThePlayer) {
  FakePlayer playing("Playing", {{"Ann"}, "Title", "Album", "/track/7"});
  AddPlayer("fluxotest", playing);
  StartFollowing();
  ASSERT_TRUE(WaitUntil([&] { return Line(feed::kInfoText2) == "Title"; }, kPatience)) << Messages();

  saver_->AddI32(feed::kHorizontalStep, 1);  // Right arrow
  EXPECT_TRUE(WaitUntil([&] { return playing.nexts() == 1; }, kPatience));
  saver_->AddI32(feed::kHorizontalStep, -1);  // Left arrow
  EXPECT_TRUE(WaitUntil([&] { return playing.previouses() == 1; }, kPatience));
  saver_->AddI32(feed::kVerticalStep, 1);  // Up arrow, twice
  saver_->AddI32(feed::kVerticalStep, 1);
  EXPECT_TRUE(WaitUntil([&] { return std::abs(playing.volume() - 0.6) < 1e-9; }, kPatience)) << playing.volume();
  saver_->AddI32(feed::kVerticalStep, -1);  // Down arrow
  EXPECT_TRUE(WaitUntil([&] { return std::abs(playing.volume() - 0.55) < 1e-9; }, kPatience)) << playing.volume();
  saver_->SetU16(feed::kDigitKey, 3);  // key 3: to 30 % of the track
  ASSERT_TRUE(WaitUntil([&] { return playing.position() >= 0; }, kPatience));
  EXPECT_EQ(playing.position(), kTrackLength * 3 / 10);
  EXPECT_EQ(playing.positionTrack(), "/track/7");
  EXPECT_EQ(playing.nexts(), 1);
}

TEST_F(MprisTest, NoBusMeansEmptyLinesAndAMessage) {
  tonewell::CompanionOptions options;
  options.inputFile = "/nonexistent.wav";
  options.busAddress = "unix:path=/nonexistent/fluxo-bus";
  StartCompanion(options);
  EXPECT_TRUE(WaitUntil([&] { return Said("no session bus"); }, kPatience)) << Messages();
  saver_->AddI32(feed::kHorizontalStep, 1);  // nobody to tell; nothing breaks
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(Line(feed::kInfoText2), "");
}

}  // namespace
}  // namespace fluxo::test
