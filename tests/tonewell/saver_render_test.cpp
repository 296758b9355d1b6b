#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <fstream>

#include "platform/system/process.h"
#include "tonewell/companion_fixture.h"

namespace fluxo::test {
namespace {

const std::string kFluxo = std::string(FLUXO_BINARY_DIR) + "/fluxo";
constexpr auto kPatience = std::chrono::seconds(5);

int RunFluxo(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{kFluxo};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const pid_t pid = SpawnProcess(argv);
  int code = -1;
  if (!WaitForProcess(pid, 30000, &code)) {
    kill(pid, SIGKILL);
    WaitForProcess(pid, 5000, &code);
    return -1;
  }
  return code;
}

double BlackShare(const std::string& png) {
  QImage image(QString::fromStdString(png));
  if (image.isNull()) return -1;
  image = image.convertToFormat(QImage::Format_RGB32);
  size_t black = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) black += (image.pixel(x, y) & 0xFFFFFF) == 0;
  return static_cast<double>(black) / (image.width() * image.height());
}

using SaverWithCompanion = CompanionTest;

// The real saver, rendering headless beside the companion, draws a display
// whose Bezier width follows the 1 kHz band: wide strokes cover the picture
// while a tone plays, hairlines leave it mostly black in silence.
TEST_F(SaverWithCompanion, BandFollowingDisplayDrawsTheMusic) {
  const std::string folder = PrivateFolder("render");
  std::ofstream(folder + "/band.reg")
      << "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Fluxo\\Saved\\Music\\Modules\\Bezier]\r\n"
         "\"Check3\"=hex:0a,00,00,00\r\n";  // Width follows source 10, the 1 kHz band
  ASSERT_EQ(RunFluxo({"reg", "import", folder + "/band.reg"}), 0);

  auto render = [&](const std::string& name, double amplitude) {
    const std::string wav = folder + "/" + name + ".wav";
    WriteWav(wav, StereoTone(48000, 4.0, 1000, amplitude, 1000, amplitude), 48000);
    tonewell::CompanionOptions options;
    options.inputFile = wav;
    options.followPlayer = false;
    StartCompanion(options);
    EXPECT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
    const std::string png = folder + "/" + name + ".png";
    EXPECT_EQ(
        RunFluxo({"render", "--display", "Music", "--seed", "5", "--seconds", "1", "--size", "400x300", "--out", png}),
        0);
    companion_->Stop();
    return BlackShare(png);
  };
  const double withMusic = render("music", 0.4);
  const double withSilence = render("silence", 0.0);
  EXPECT_GE(withMusic, 0.0);
  EXPECT_LT(withMusic, 0.1) << "wide strokes cover the picture";
  EXPECT_GT(withSilence, 0.3) << "hairlines on black";
}

}  // namespace
}  // namespace fluxo::test
