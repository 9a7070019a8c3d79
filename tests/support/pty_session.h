// Test support: a child process on its own pseudo-terminal, watched and typed to as a user at that terminal.
#pragma once

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

// The slave side is the child's controlling terminal (a typed ^C raises SIGINT in it); the test keeps it open
// to read its modes, also after the child has ended. A wait gives up after 10 seconds, or once the child ended.
struct PtySession {
    using Clock = std::chrono::steady_clock;
    int pid = -1, master = -1, slave = -1, status = -1;
    termios before{};
    std::string shown;     // every byte the terminal has shown
    std::string expected;  // what it should have shown so far

    // Runs child, which must not return, in a new session with SIGINT, SIGTERM and SIGHUP at their defaults.
    explicit PtySession(const std::function<void()>& child)
    {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0 && tcgetattr(slave, &before) == 0 &&
            fflush(nullptr) == 0 && (pid = fork()) == 0) {
            for (int s : {SIGINT, SIGTERM, SIGHUP})
                signal(s, SIG_DFL);
            close(master);
            login_tty(slave);
            child();
            _exit(126);
        }
    }
    ~PtySession()
    {
        if (!ended() && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
        close(master);
        close(slave);
    }
    static bool within(Clock::time_point start) { return Clock::now() - start < std::chrono::seconds(10); }
    // True once the child has ended; its wait status is then in status.
    bool ended()
    {
        pid = pid > 0 && waitpid(pid, &status, WNOHANG) == pid ? -1 : pid;
        return pid <= 0;
    }
    // Takes what the terminal shows within waitMs; false if nothing came.
    bool take(int waitMs)
    {
        pollfd ready = {master, POLLIN, 0};
        char buffer[4096];
        ssize_t got = poll(&ready, 1, waitMs) > 0 ? read(master, buffer, sizeof buffer) : 0;
        shown.append(buffer, got > 0 ? got : 0);
        return got > 0;
    }
    // Adds text to expected, each "\n" as the terminal shows it ("\r\n"); what is shown once as much has come.
    std::string show(const std::string& text)
    {
        for (char c : text)
            expected += c == '\n' ? "\r\n" : std::string(1, c);
        for (auto start = Clock::now(); shown.size() < expected.size() && within(start);)
            if (!take(50) && ended() && !take(50))
                break;
        return shown.substr(0, expected.size());
    }
    void type(const std::string& bytes) { shown += write(master, bytes.data(), bytes.size()) < 0 ? "(not typed)" : ""; }
    termios modes() const
    {
        termios now{};
        return tcgetattr(slave, &now) == 0 ? now : termios{};
    }
    // The flags and control characters (the speeds are among the flags).
    bool modesAsBefore() const
    {
        const termios now = modes();
        return memcmp(&before, &now, offsetof(termios, c_cc) + NCCS) == 0;
    }
    // Waits until a key read has switched canonical input off; the modes then.
    termios waitForKeyRead()
    {
        for (auto start = Clock::now(); (modes().c_lflag & ICANON) && within(start) && !ended();)
            take(2);
        return modes();
    }
    // The wait status once the child has ended and its last output is taken; -1 if it does not end.
    int exitStatus()
    {
        for (auto start = Clock::now(); !ended() && within(start);)
            take(20);
        while (take(20)) {
        }
        return pid > 0 ? -1 : status;
    }
};
