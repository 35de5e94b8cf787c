#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "display/display.h"

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

}  // namespace
}  // namespace kelmor::display
