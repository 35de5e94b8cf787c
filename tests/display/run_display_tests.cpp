#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "display/display.h"
#include "tests/support/temp_dir.h"

namespace kelmor::display {
namespace {

// Unsets an environment variable for the test's duration.
class Unset {
 public:
  explicit Unset(const char* name) : name_(name) {
    if (const char* v = std::getenv(name)) value_ = v;
    unsetenv(name);
  }
  ~Unset() {
    if (value_) setenv(name_, value_->c_str(), 1);
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

TEST(RunDisplay, WithoutAnyDisplaySaysSoAndDoesNotRunTheProgram) {
  Unset a("QT_QPA_PLATFORM"), b("DISPLAY"), c("WAYLAND_DISPLAY");
  EXPECT_FALSE(GraphicalDisplayAvailable());
  bool ran = false;
  char name[] = "kelmor";
  char* argv[] = {name, nullptr};
  testing::internal::CaptureStderr();
  EXPECT_NE(RunDisplay(1, argv, [&] { return ran = true, 0; }), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(kNoDisplayMessage) + "\n");
  EXPECT_FALSE(ran);
}

// A display number that no X server answers on this machine.
std::string UnansweredDisplay() {
  std::ifstream unix_sockets("/proc/net/unix");
  const std::string listening((std::istreambuf_iterator<char>(unix_sockets)), {});
  for (int n = 77;; ++n) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    if (!std::filesystem::exists(socket) && listening.find(socket + "\n") == std::string::npos)
      return ":" + std::to_string(n);
  }
}

// The program itself: Qt's platform plugin gives up inside the QApplication.
TEST(RunDisplay, ADisplayThatNoServerAnswersEndsAsAMissingOneDoes) {
  kelmor::test::TempDir dir;
  const std::string err = (dir / "stderr.txt").string();
  const std::string command = "env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=" +
                              UnansweredDisplay() + " timeout 60 '" KELMOR_PROGRAM "' 2>'" + err +
                              "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), kNoDisplayExitCode);
  std::ostringstream said;
  said << std::ifstream(err).rdbuf();
  EXPECT_EQ(said.str(), std::string(kNoDisplayMessage) + "\n");
}

}  // namespace
}  // namespace kelmor::display
