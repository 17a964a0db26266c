// OpenUrl hands the URL to xdg-open as one argument, without a shell, and
// leaves no child process behind. A stand-in xdg-open on PATH records what
// it was given.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "host/host.h"

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(20);
constexpr int kWaitSteps = 250;  // five seconds

TEST(OpenUrlTest, PassesTheUrlAsOneArgumentWithoutAShellAndReapsItsChild) {
    char name[] = "/tmp/tesselon-url.XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string folder = name;
    const std::string record = folder + "/args";
    {
        std::ofstream opener(folder + "/xdg-open");
        opener << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" << record << ".tmp'\nmv '" << record
               << ".tmp' '" << record << "'\n";
    }
    ASSERT_EQ(chmod((folder + "/xdg-open").c_str(), 0755), 0);
    const std::string path = folder + ":" + getenv("PATH");
    setenv("PATH", path.c_str(), 1);

    BBGlfwGame host(nullptr);
    // Shell syntax that must arrive as it is.
    const std::string url = "https://example.invalid/a b;touch " + folder + "/injected";
    host.OpenUrl(String(url.c_str()));

    // The intermediate child has been waited for: no child remains.
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    std::string text;
    for (int i = 0; i < kWaitSteps && text.empty(); ++i) {
        std::this_thread::sleep_for(kWaitStep);
        std::ifstream in(record);
        std::stringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    EXPECT_EQ(text, "1\n" + url + "\n");
    EXPECT_NE(access((folder + "/injected").c_str(), F_OK), 0);
    ASSERT_EQ(system(("rm -rf '" + folder + "'").c_str()), 0);
}

}  // namespace
