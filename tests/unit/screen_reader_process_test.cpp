// Finding the screen reader among the processes: by name, user and display, in a process table made up for the test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/ScreenReaderProcess.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

struct ScreenReaderProcess : ::testing::Test {
    void SetUp() override {
        search.ProcFolder = (fs::temp_directory_path() / ("quorrel-proc-" + std::to_string(::getpid()))).string();
        search.Display = ":7";
        fs::create_directories(search.ProcFolder);
    }
    void TearDown() override { fs::remove_all(search.ProcFolder); }
    // A process of this user; environ is left out when environment is null.
    void Process(const std::string& pid, const std::string& name, const char* environment, size_t size = 0) {
        const fs::path folder = fs::path(search.ProcFolder) / pid;
        fs::create_directories(folder);
        std::ofstream(folder / "comm") << name << "\n";
        if (environment)
            std::ofstream(folder / "environ", std::ios::binary).write(environment, static_cast<long>(size));
    }
    ScreenReaderSearch search;
};

TEST_F(ScreenReaderProcess, AnOrcaOnThisDisplayCountsAndNoOtherProcess) {
    Process("self", "orca", nullptr);  // not a process number
    Process("12", "orcas", nullptr);
    Process("13", "python3", nullptr);
    static const char kOtherDisplay[] = "HOME=/h\0DISPLAY=:8\0";
    Process("14", "orca", kOtherDisplay, sizeof kOtherDisplay - 1);
    EXPECT_FALSE(ScreenReaderProcessRunning(search));

    static const char kThisDisplay[] = "LANG=C\0DISPLAY=:7.0\0XDISPLAY=:8\0";
    Process("15", "orca", kThisDisplay, sizeof kThisDisplay - 1);
    EXPECT_TRUE(ScreenReaderProcessRunning(search));
    search.WaylandDisplay = "wayland-0";  // the program on Wayland, that Orca on X alone
    EXPECT_FALSE(ScreenReaderProcessRunning(search));

    Process("16", "orca", nullptr);  // an environment that cannot be read
    EXPECT_TRUE(ScreenReaderProcessRunning(search));
}

}  // namespace
}  // namespace quorrel::test
