// Stand-in for the native build: the command runs under /bin/sh -c, with
// /dev/null as its input and one pipe as its output and error, and everything
// it wrote comes back the same way as from the Windows console.
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runner/console_runner.h"

extern char** environ;

namespace {

std::string Utf8OfWide(const WideBuffer& wide) {
    const WideBuffer units = CutAtWideNul(wide);
    std::string out(units.Length() * 2 + 1, '\0');
    iconv_t cd = iconv_open("UTF-8", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    char* in = const_cast<char*>(reinterpret_cast<const char*>(units.Data()));
    std::size_t inLeft = units.Length();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (in != nullptr) iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

ByteBuffer CaptureConsoleOutput(const WideBuffer& command) {
    const std::string line = Utf8OfWide(command);
    int fds[2];
    if (pipe(fds) != 0) return ByteBuffer();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const char* argv[] = {"/bin/sh", "-c", line.c_str(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string output;
    if (spawned == 0) {
        char chunk[65536];
        for (;;) {
            const ssize_t n = read(fds[0], chunk, sizeof chunk);
            if (n > 0) {
                output.append(chunk, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                break;
            }
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    close(fds[0]);
    if (output.empty()) return ByteBuffer();
    output.push_back('\0');
    return ByteBuffer(std::move(output));
}
