// Starting xdg-open on Linux: found on PATH, given the address, detached, not waited for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "posix/shell.h"
#include "posix_test_folder.h"

namespace qm::posix {
namespace {

using testing::slurp;
using testing::spit;
using testing::TestFolder;

Environment path(std::string value) {
    return [value](const std::string& name) { return name == "PATH" ? std::optional(value) : std::nullopt; };
}

// Puts a pipe in place of one of this process's standard streams for a scope.
class Redirected {
public:
    explicit Redirected(int fd) : fd_(fd), saved_((std::fflush(nullptr), ::dup(fd))) {
        if (::pipe(pipe_) == 0) ::dup2(fd == STDIN_FILENO ? pipe_[0] : pipe_[1], fd);
    }
    ~Redirected() {
        ::dup2(saved_, fd_);
        for (int fd : {saved_, pipe_[0], pipe_[1]}) ::close(fd);
    }

private:
    int fd_, saved_;
    int pipe_[2] = {-1, -1};
};

TEST(PosixShell, StartsTheOpenerOnPathDetachedAndLeavesNoChild) {
    TestFolder folder;
    // An xdg-open that records its arguments and streams, then stays running as a browser
    // would; and before it on PATH, one that cannot be run.
    std::filesystem::create_directories(folder / "bin");
    std::filesystem::create_directories(folder / "other");
    spit(folder / "other/xdg-open", "not executable");
    spit(folder / "bin/xdg-open",
         "#!/bin/sh\nout='" + folder.path() + "'\n"
         "streams=\"$(readlink /proc/$$/fd/0) $(readlink /proc/$$/fd/1) $(readlink /proc/$$/fd/2)\"\n"
         "printf '%s|' \"$#\" \"$@\" \"$streams\" > \"$out/call.tmp\"\nmv \"$out/call.tmp\" \"$out/call\"\nsleep 3\n");
    ::chmod((folder / "bin/xdg-open").c_str(), 0755);

    PosixShell shell(path("/nowhere:" + folder / "other" + ":" + folder / "bin"));
    EXPECT_EQ(shell.findOpener(), folder / "bin/xdg-open");
    const std::string address = "https://quillmark.example.org/help/?a=1&b=two words";
    {
        Redirected in(STDIN_FILENO), out(STDOUT_FILENO), err(STDERR_FILENO);  // pipes, whatever runs the test
        shell.open(address);
    }
    // The opener is still running, yet open() has returned and left no child to reap.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    for (int i = 0; i < 500 && !std::filesystem::exists(folder / "call"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(slurp(folder / "call"), "1|" + address + "|/dev/null /dev/null /dev/null|");
}

TEST(PosixShell, DoesNothingWithoutAnOpener) {
    TestFolder folder;
    PosixShell shell(path(folder.path()));
    EXPECT_EQ(shell.findOpener(), std::nullopt);
    EXPECT_NO_THROW(shell.open("https://quillmark.example.org/"));
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace qm::posix
