#include "tonewell/mpris_client.h"

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusVariant>
#include <algorithm>
#include <atomic>

namespace fluxo::tonewell {
namespace {

const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kCallTimeoutMs = 300;

QString UniqueConnectionName() {
  static std::atomic<int> counter{0};
  return QStringLiteral("tonewell-") + QString::number(counter.fetch_add(1));
}

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// A value inside a variant of a{sv}: plain, or still marshalled.
QStringList StringList(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) {
    QStringList list;
    value.value<QDBusArgument>() >> list;
    return list;
  }
  return value.toStringList();
}

}  // namespace

struct MprisClient::Bus {
  explicit Bus(const std::string& address)
      : name(UniqueConnectionName()),
        connection(address.empty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)
                                   : QDBusConnection::connectToBus(QString::fromStdString(address), name)) {}
  ~Bus() { QDBusConnection::disconnectFromBus(name); }

  QDBusMessage Call(const QString& service, const QString& interface, const QString& method,
                    const QList<QVariant>& arguments = {}, const QString& path = kObjectPath) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return connection.call(message, QDBus::Block, kCallTimeoutMs);
  }
  // A player property, or an invalid variant.
  QVariant Property(const QString& service, const QString& property) {
    QDBusMessage reply = Call(service, kProperties, QStringLiteral("Get"), {kPlayerInterface, property});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
  }

  QString name;
  QDBusConnection connection;
};

MprisClient::MprisClient(const std::string& busAddress) : bus_(std::make_unique<Bus>(busAddress)) {}

MprisClient::~MprisClient() = default;

bool MprisClient::Connected() const { return bus_->connection.isConnected(); }

void MprisClient::FindPlayer() {
  player_.clear();
  if (!Connected()) return;
  const QString daemon = QStringLiteral("org.freedesktop.DBus");
  QDBusMessage names =
      bus_->Call(daemon, daemon, QStringLiteral("ListNames"), {}, QStringLiteral("/org/freedesktop/DBus"));
  if (names.type() != QDBusMessage::ReplyMessage || names.arguments().isEmpty()) return;
  QStringList players;
  for (const QString& name : names.arguments().first().toStringList())
    if (name.startsWith(kPlayerPrefix)) players.push_back(name);
  players.sort();
  for (const QString& name : players) {
    if (bus_->Property(name, QStringLiteral("PlaybackStatus")).toString() == QStringLiteral("Playing")) {
      player_ = Utf8(name);
      return;
    }
  }
  if (!players.isEmpty()) player_ = Utf8(players.first());
}

MprisClient::Track MprisClient::CurrentTrack() {
  Track track;
  if (player_.empty()) return track;
  const QVariant value = bus_->Property(QString::fromStdString(player_), QStringLiteral("Metadata"));
  if (!value.canConvert<QDBusArgument>()) return track;
  QVariantMap metadata;
  value.value<QDBusArgument>() >> metadata;
  track.lines.artist = Utf8(StringList(metadata.value(QStringLiteral("xesam:artist"))).join(QStringLiteral(", ")));
  track.lines.title = Utf8(metadata.value(QStringLiteral("xesam:title")).toString());
  track.lines.album = Utf8(metadata.value(QStringLiteral("xesam:album")).toString());
  track.id = Utf8(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path());
  return track;
}

void MprisClient::Next() {
  if (!player_.empty()) bus_->Call(QString::fromStdString(player_), kPlayerInterface, QStringLiteral("Next"));
}

void MprisClient::Previous() {
  if (!player_.empty()) bus_->Call(QString::fromStdString(player_), kPlayerInterface, QStringLiteral("Previous"));
}

void MprisClient::ChangeVolume(double delta) {
  if (player_.empty()) return;
  const QString service = QString::fromStdString(player_);
  const QVariant volume = bus_->Property(service, QStringLiteral("Volume"));
  if (!volume.isValid()) return;
  const double next = std::clamp(volume.toDouble() + delta, 0.0, 1.0);
  bus_->Call(service, kProperties, QStringLiteral("Set"),
             {kPlayerInterface, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(next))});
}

void MprisClient::SeekToFraction(double fraction) {
  if (player_.empty()) return;
  const QString service = QString::fromStdString(player_);
  const QVariant value = bus_->Property(service, QStringLiteral("Metadata"));
  if (!value.canConvert<QDBusArgument>()) return;
  QVariantMap metadata;
  value.value<QDBusArgument>() >> metadata;
  const qlonglong length = metadata.value(QStringLiteral("mpris:length")).toLongLong();
  const QDBusObjectPath id = metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();
  if (length <= 0 || id.path().isEmpty()) return;  // nothing to seek in
  const auto position = static_cast<qlonglong>(fraction * static_cast<double>(length));
  bus_->Call(service, kPlayerInterface, QStringLiteral("SetPosition"),
             {QVariant::fromValue(id), QVariant::fromValue(position)});
}

}  // namespace fluxo::tonewell
