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
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

// The slave side is the child's controlling terminal (a typed ^C raises SIGINT in it); the test keeps it open
// to read its modes, also after the child has ended. Every wait gives up after 10 seconds.
struct PtySession {
    int pid = -1, master = -1, slave = -1;
    termios before{};
    std::string shown;     // every byte the terminal has shown
    std::string expected;  // what it should have shown so far

    // Runs child, which must not return, in a new session with SIGINT, SIGTERM and SIGHUP at their defaults.
    explicit PtySession(const std::function<void()>& child)
    {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0 || tcgetattr(slave, &before) != 0)
            return;
        fflush(nullptr);
        if ((pid = fork()) == 0) {
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
        if (pid > 0 && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
        close(master);
        close(slave);
    }
    bool waiting(std::chrono::steady_clock::time_point start)
    {
        return std::chrono::steady_clock::now() - start < std::chrono::seconds(10);
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
        for (auto start = std::chrono::steady_clock::now(); shown.size() < expected.size() && waiting(start);)
            take(50);
        return shown.substr(0, expected.size());
    }
    void type(const std::string& bytes)
    {
        if (write(master, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            perror("typing on the pseudo-terminal");
    }
    termios modes() const
    {
        termios now{};
        tcgetattr(slave, &now);
        return now;
    }
    bool modesAsBefore() const
    {
        termios now = modes();
        return now.c_iflag == before.c_iflag && now.c_oflag == before.c_oflag && now.c_cflag == before.c_cflag &&
               now.c_lflag == before.c_lflag && memcmp(now.c_cc, before.c_cc, sizeof now.c_cc) == 0;
    }
    // Waits until a key read has switched canonical input off; the modes then.
    termios waitForKeyRead()
    {
        termios now = modes();
        for (auto start = std::chrono::steady_clock::now(); (now.c_lflag & ICANON) && waiting(start); now = modes())
            take(2);
        return now;
    }
    // The wait status once the child has ended and its last output is taken; -1 if it does not end.
    int exitStatus()
    {
        int status = -1;
        for (auto start = std::chrono::steady_clock::now(); pid > 0 && waiting(start); take(20))
            pid = waitpid(pid, &status, WNOHANG) == pid ? -1 : pid;
        while (take(20)) {
        }
        return pid > 0 ? -1 : status;
    }
};
