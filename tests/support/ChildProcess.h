#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/FileBytes.h"

extern char** environ;

// A program run by a test or the bench, its output and error streams going to files.
class CChildProcess {
public:
    using Clock = std::chrono::steady_clock;

    // `env`: "NAME=value" entries that replace or add to the test's own environment.
    CChildProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& env, std::string outFile, std::string errFile)
        : m_outFile(std::move(outFile)), m_errFile(std::move(errFile)) {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> envp = env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('=') + 1);
            bool replaced = false;
            for (const std::string& own : env)
                replaced = replaced || own.rfind(name, 0) == 0;
            if (!replaced)
                envp.push_back(entry);
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, Pointers(argv).data(),
                        Pointers(envp).data()) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CChildProcess() {
        if (m_pid > 0 && !m_status) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    void Signal(int sig) {
        if (m_pid > 0 && !m_status)
            kill(m_pid, sig);
    }

    // The exit status once the program has ended within `timeout`; -signal when a signal
    // ended it; nothing while it still runs.
    std::optional<int> Wait(std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (!m_status && m_pid > 0) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            } else if (Clock::now() >= deadline) {
                break;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        return m_status;
    }

    // The first line of the output, once it is there (waiting at most `timeout`).
    std::optional<std::string> FirstLine(std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            const std::string out = Output();
            const size_t end = out.find('\n');
            if (end != std::string::npos)
                return out.substr(0, end);
            if (Clock::now() >= deadline || Wait(std::chrono::milliseconds(0)))
                return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::string Output() const { return ReadFileBytes(m_outFile); }
    std::string Errors() const { return ReadFileBytes(m_errFile); }

private:
    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts)
            pointers.push_back(text.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    pid_t m_pid = -1;
    std::optional<int> m_status;
    std::string m_outFile;
    std::string m_errFile;
};
