// Starting the desktop's opener on Linux.
#include "posix/shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace qm::posix {

std::optional<std::string> PosixShell::findOpener() const {
    const std::string path = env_("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
    size_t start = 0;
    for (;;) {
        size_t end = path.find(':', start);
        std::string folder = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (folder.empty()) folder = ".";  // an empty PATH entry means the current folder
        std::string candidate = folder + "/xdg-open";
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (end == std::string::npos) return std::nullopt;
        start = end + 1;
    }
}

void PosixShell::open(const std::string& address) {
    try {
        std::optional<std::string> opener = findOpener();
        if (!opener) return;
        // Everything the children use is made before fork: after it only calls that are
        // safe in a child of a threaded process may run.
        char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(address.c_str()), nullptr};
        const char* program = opener->c_str();

        // Two forks: the middle process exits at once and is reaped here, so the opener
        // (and the browser it starts) belongs to init, never becomes our zombie, and is
        // never waited for.
        pid_t middle = ::fork();
        if (middle < 0) return;
        if (middle == 0) {
            ::setsid();
            pid_t opener_pid = ::fork();
            if (opener_pid == 0) {
                int null = ::open("/dev/null", O_RDWR);
                if (null >= 0) {
                    ::dup2(null, STDIN_FILENO);
                    ::dup2(null, STDOUT_FILENO);
                    ::dup2(null, STDERR_FILENO);
                }
                // The browser may run for hours: it must not hold our other files or pipes.
                if (::close_range(STDERR_FILENO + 1, ~0U, 0) != 0)
                    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) ::close(fd);
                ::execv(program, argv);
                ::_exit(127);
            }
            ::_exit(opener_pid < 0 ? 1 : 0);
        }
        while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    } catch (...) {
        // Opening a web page is a courtesy; no failure of it reaches the caller.
    }
}

}  // namespace qm::posix
