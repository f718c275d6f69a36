#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <stdexcept>

namespace {

void set_limit(int resource, long bytes)
{
    if (bytes < 0)
        return;
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(bytes);
    setrlimit(resource, &limit);
}

}  // namespace

const char* program_path()
{
    if (const char* path = std::getenv("SQUAREFREE_PROGRAM"))
        return path;
#ifdef SQUAREFREE_BINARY
    return SQUAREFREE_BINARY;
#else
    return "squarefree";
#endif
}

RunResult run_program(const std::string& input, const RunOptions& options)
{
    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0)
        throw std::runtime_error("pipe failed");
    signal(SIGPIPE, SIG_IGN);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(in_pipe[0], 0);
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
            close(fd);
        if (options.output_to_full_device) {
            const int full = open("/dev/full", O_WRONLY);
            dup2(full, 1);
            close(full);
        }
        set_limit(RLIMIT_STACK, options.stack_limit);
        set_limit(RLIMIT_AS, options.address_space_limit);
        std::vector<char*> argv{const_cast<char*>(program_path())};
        for (const std::string& argument : options.arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program_path(), argv.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    int to_child = in_pipe[1];
    fcntl(to_child, F_SETFL, O_NONBLOCK);

    RunResult result;
    std::size_t written = 0;
    if (input.empty() && options.close_stdin) {
        close(to_child);
        to_child = -1;
    }
    bool out_open = true, err_open = true, reaped = false;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeout_ms);
    while (!reaped || out_open || err_open) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timed_out = true;
            kill(pid, SIGKILL);
            break;
        }
        struct pollfd fds[3];
        int n = 0;
        if (out_open)
            fds[n++] = {out_pipe[0], POLLIN, 0};
        if (err_open)
            fds[n++] = {err_pipe[0], POLLIN, 0};
        const bool writing = to_child >= 0 && written < input.size();
        if (writing)
            fds[n++] = {to_child, POLLOUT, 0};
        poll(fds, static_cast<nfds_t>(n), 5);
        for (int i = 0; i < n; ++i) {
            if (fds[i].revents == 0)
                continue;
            if (fds[i].fd == to_child) {
                const ssize_t w = write(to_child, input.data() + written, input.size() - written);
                if (w > 0)
                    written += static_cast<std::size_t>(w);
                else if (w < 0 && errno != EAGAIN) {
                    close(to_child);  // the program is gone; the rest of the input is not wanted
                    to_child = -1;
                }
                continue;
            }
            char buffer[65536];
            const ssize_t r = read(fds[i].fd, buffer, sizeof buffer);
            std::string& sink = fds[i].fd == out_pipe[0] ? result.out : result.err;
            if (r > 0)
                sink.append(buffer, static_cast<std::size_t>(r));
            else
                (fds[i].fd == out_pipe[0] ? out_open : err_open) = false;
        }
        if (to_child >= 0 && written == input.size() && options.close_stdin) {
            close(to_child);
            to_child = -1;
        }
        if (!reaped && waitpid(pid, &status, WNOHANG) == pid)
            reaped = true;
    }
    if (!reaped)
        waitpid(pid, &status, 0);
    if (to_child >= 0)
        close(to_child);
    close(out_pipe[0]);
    close(err_pipe[0]);
    if (WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

std::string read_fixture(const std::string& name)
{
    std::ifstream file(std::string(SQUAREFREE_FIXTURES) + "/" + name);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
