// Console dialogue and terminal key read: start-up and the window keys "c" and "7" run in forked children
// on pipes and on real pseudo-terminals; what they print is compared byte for byte with the expected texts.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "curves/motion_tables.h"
#include "tests/support/expected_console.h"

namespace {

using namespace expected;

constexpr int TIMEOUT_MS = 10000;
constexpr int LAST = 100;  // riseSteps: the last sample of every row

// What a child hands back through shared memory: appState after the console phase and after each
// window dialogue, and the tables at its end.
struct Report {
    int count;
    bool finished;
    AppState after[4];
    MotionTables tables;
};

Report* newReport()
{
    void* shared = mmap(nullptr, sizeof(Report), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return shared == MAP_FAILED ? nullptr : static_cast<Report*>(shared);
}

// A user's shell starts the program with these signals at their default, whatever the test runner got.
void defaultSignals()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
}

// Child: start-up's console phase, then each window key of keys ('7' or 'c') as onKey hands it to the
// dialogue. Before each, zoom and step are moved as earlier window keys could have left them.
[[noreturn]] void playSession(Report* report, const char* keys)
{
    defaultSignals();
    runConsolePhase();
    report->after[report->count++] = appState;
    for (; *keys; keys++) {
        appState.drawScale = 0.02;
        appState.stepIndex = 55;
        appState.stepDirection = -1;
        appState.lastKey = static_cast<signed char>(*keys);
        if (*keys == '7') {
            appState.selectedCurve = 7;
            appState.stepIndex = 0;
            appState.stepDirection = 1;
        }
        runKeyDialogue();
        report->after[report->count++] = appState;
    }
    memcpy(report->tables, motionTables, sizeof(MotionTables));
    report->finished = true;
    exit(0);
}

// Child: takes the terminal's modes into the guards, switches echo off, says so and exits once a line arrives.
[[noreturn]] void changeModesAndExit(Report*, const char*)
{
    defaultSignals();
    installTerminalGuards();
    termios changed{};
    tcgetattr(0, &changed);
    changed.c_lflag &= ~ECHO;
    tcsetattr(0, TCSANOW, &changed);
    printText("changed");
    char line[16];
    if (read(0, line, sizeof line) < 0)
        perror("read");
    exit(0);
}

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Appends what fd gives until it ends, until shown holds want bytes, or until the deadline.
void readInto(int fd, std::string& shown, size_t want, Clock::time_point deadline)
{
    char chunk[4096];
    while (shown.size() < want) {
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, msLeft(deadline)) <= 0)
            return;
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0)
            return;
        shown.append(chunk, static_cast<size_t>(got));
    }
}

// Wait status of the child; a child still running at the deadline hangs: it is killed and -1 returned.
int reap(pid_t pid, Clock::time_point deadline)
{
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (msLeft(deadline) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "child still running after " << TIMEOUT_MS << " ms";
            return -1;
        }
        usleep(2000);
    }
    return status;
}

struct PipeRun {
    std::string shown;
    int status = -1;
    Report* report = nullptr;
};

// Runs a session with all of input on a pipe that then ends; stdout is a pipe too.
PipeRun runOnPipes(const std::string& input, const char* keys = "")
{
    PipeRun run;
    run.report = newReport();
    int in[2], out[2];
    if (!run.report || pipe(in) != 0 || pipe(out) != 0) {
        ADD_FAILURE() << "no pipe or shared memory";
        return run;
    }
    signal(SIGPIPE, SIG_IGN);
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        close(in[0]), close(in[1]), close(out[0]), close(out[1]);
        playSession(run.report, keys);
    }
    close(in[0]), close(out[1]);
    if (write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        ADD_FAILURE() << "input not written";
    close(in[1]);
    auto deadline = Clock::now() + std::chrono::milliseconds(TIMEOUT_MS);
    readInto(out[0], run.shown, std::string::npos, deadline);
    close(out[0]);
    run.status = reap(pid, deadline);
    return run;
}

// The terminal's output processing (ONLCR) shows every "\n", printed or echoed, as "\r\n".
std::string onTerminal(const std::string& text)
{
    std::string shown;
    for (char c : text)
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return shown;
}

bool sameModes(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 && cfgetispeed(&a) == cfgetispeed(&b) &&
           cfgetospeed(&a) == cfgetospeed(&b);
}

// A child on its own pseudo-terminal, the slave its controlling terminal (so a typed ^C raises SIGINT in it).
// The test keeps the slave open to read its modes, also after the child has ended.
struct PtyRun {
    int master = -1, slave = -1;
    pid_t pid = -1;
    termios before{};
    std::string shown, expected;
    Report* report = newReport();
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(TIMEOUT_MS);

    explicit PtyRun(void (*body)(Report*, const char*), const char* keys = "")
    {
        if (!report || openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
            ADD_FAILURE() << "no pseudo-terminal";
            return;
        }
        tcgetattr(slave, &before);
        fflush(nullptr);
        pid = fork();
        if (pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            dup2(slave, 0);
            dup2(slave, 1);
            close(master), close(slave);
            body(report, keys);
        }
    }
    ~PtyRun()
    {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(master), close(slave);
    }

    // Everything shown on the terminal so far, once it holds what the program prints or echoes next.
    const std::string& show(const std::string& text)
    {
        expected += onTerminal(text);
        readInto(master, shown, expected.size(), deadline);
        return shown;
    }
    void type(const std::string& keys)
    {
        if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
            ADD_FAILURE() << "typed keys not written";
    }
    termios modes()
    {
        termios now{};
        tcgetattr(slave, &now);
        return now;
    }
    // The modes once the child's key read has switched the terminal to non-canonical input.
    termios waitForKeyRead()
    {
        termios now = modes();
        while ((now.c_lflag & ICANON) && msLeft(deadline) > 0) {
            usleep(1000);
            now = modes();
        }
        return now;
    }
    int end()
    {
        int status = reap(pid, deadline);
        pid = -1;
        return status;
    }
};

// Start-up's fixed values and the state every run of the key dialogue leaves.
void expectStartUpAndReset(const AppState& state)
{
    EXPECT_EQ(state.cycleSteps, 300);
    EXPECT_EQ(state.timeStep, 0.01);
    EXPECT_EQ(state.setupAngle, 2.0943951023931935);
    EXPECT_EQ(state.angleStep, 0.020943951023931935);
    EXPECT_EQ(state.drawScale, 0.004);
    EXPECT_EQ(state.stepIndex, 0);
    EXPECT_EQ(state.stepDirection, 1);
}

void expectCompare(const AppState& state, int red, int blue, int green)
{
    EXPECT_EQ(state.compareCurves[0], red);
    EXPECT_EQ(state.compareCurves[1], blue);
    EXPECT_EQ(state.compareCurves[2], green);
}

void expectPoints(const AppState& state, double Ta, double Sa, double Tb, double Sb)
{
    EXPECT_EQ(state.Ta, Ta);
    EXPECT_EQ(state.Sa, Sa);
    EXPECT_EQ(state.Tb, Tb);
    EXPECT_EQ(state.Sb, Sb);
}

// Curves 0 to 6 built: each rises from S = 0 to S = 1.
void expectStandardCurves(const MotionTables& tables)
{
    for (int k = 0; k < STANDARD_CURVE_COUNT; k++) {
        EXPECT_EQ(tables[k * CURVE_STRIDE], 0.0) << "curve " << k;
        EXPECT_NEAR(tables[k * CURVE_STRIDE + LAST], 1.0, 1e-9) << "curve " << k;
    }
}

const double* slot7(const MotionTables& tables) { return tables + TWO_POINT_CURVE * CURVE_STRIDE; }

void expectSlot7Zero(const MotionTables& tables)
{
    for (int i = 0; i < CURVE_STRIDE; i++)
        ASSERT_EQ(slot7(tables)[i], 0.0) << "slot 7 value " << i;
}

// Curve 7 through A(0.3, 0.2), B(0.7, 0.8): the figures of its worked example (m = 1.5).
void expectCurve7Of0302(const MotionTables& tables)
{
    const double* s = slot7(tables);
    EXPECT_NEAR(s[30], 0.2, 1e-12);
    EXPECT_NEAR(s[V_ROW + 30], 1.5, 1e-12);
    EXPECT_NEAR(s[50], 0.5, 1e-12);
    EXPECT_NEAR(s[15], 0.028380, 1e-6);
    EXPECT_NEAR(s[V_ROW + 15], 0.583333, 1e-6);
    EXPECT_NEAR(s[A_ROW + 15], 7.853982, 1e-6);
    EXPECT_NEAR(s[LAST], 1.0, 1e-12);
}

// Curve 7 through A(0.25, 0.25), B(0.75, 0.75), every sample finite.
void expectCurve7Of25(const MotionTables& tables)
{
    const double* s = slot7(tables);
    for (int i = 0; i <= LAST; i++)
        ASSERT_TRUE(std::isfinite(s[i]) && std::isfinite(s[V_ROW + i]) && std::isfinite(s[A_ROW + i])) << i;
    EXPECT_NEAR(s[V_ROW + 10], 1.25, 1e-12);
    EXPECT_NEAR(s[A_ROW + 10], 13.361992, 1e-6);
    EXPECT_NEAR(s[50], 0.5, 1e-12);
}

// ---- Transcripts on pipes ----

TEST(ConsoleTranscript, StartKeysOtherThanSeven)
{
    struct Case {
        const char* input;
        std::string printed;
        int selected, red;
    };
    const Case cases[] = {
        {"3", MENU + CURVE_LINES[3] + KEY_HELP + CURVE_LINES[3], 3, 0},
        // "7" and a letter fill no slot but each takes one of the three reads.
        {"c17a", MENU + KEY_HELP + COMPARISON_PROMPT + CURVE_LINES[1], 0, 1},
        // At end of input the comparison reads return at once.
        {"c", MENU + KEY_HELP + COMPARISON_PROMPT, 0, 0},
        {"x", MENU + KEY_HELP, 0, 0},
        {"\n", MENU + KEY_HELP, 0, 0},
        {"", MENU + KEY_HELP, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\"");
        PipeRun run = runOnPipes(c.input);
        ASSERT_TRUE(run.report && run.report->finished);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.shown, c.printed);
        const AppState& state = run.report->after[0];
        expectStartUpAndReset(state);
        EXPECT_EQ(state.selectedCurve, c.selected);
        expectCompare(state, c.red, 0, 0);
        expectStandardCurves(run.report->tables);
        expectSlot7Zero(run.report->tables);
    }
}

TEST(ConsoleTranscript, StartKeySevenAsksTwiceAndTheSecondSetWins)
{
    // The first set is typed over two lines.
    PipeRun run = runOnPipes("70.1 0.1\n0.9 0.9\n0.3 0.2 0.7 0.8\n");
    ASSERT_TRUE(run.report && run.report->finished);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.shown, MENU + CURVE_LINES[7] + POINTS_PROMPT + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT);
    const AppState& state = run.report->after[0];
    expectStartUpAndReset(state);
    EXPECT_EQ(state.selectedCurve, 7);
    expectPoints(state, 0.3, 0.2, 0.7, 0.8);
    expectStandardCurves(run.report->tables);
    expectCurve7Of0302(run.report->tables);
}

TEST(ConsoleTranscript, WindowKeysSevenThenComparisonsTakeTheTypedKeys)
{
    // What follows the fourth number on its line, its line break included, is not taken as a key.
    PipeRun run = runOnPipes("1" "0.3 0.2 0.7 0.8 0.9 x\n" "265" "17a", "7cc");
    ASSERT_TRUE(run.report && run.report->finished);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.shown, MENU + CURVE_LINES[1] + KEY_HELP + CURVE_LINES[1] + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT + KEY_HELP + COMPARISON_PROMPT + CURVE_LINES[2] +
                             CURVE_LINES[6] + CURVE_LINES[5] + KEY_HELP + COMPARISON_PROMPT + CURVE_LINES[1]);
    const AppState* after = run.report->after;
    EXPECT_EQ(after[0].selectedCurve, 1);
    EXPECT_EQ(after[1].selectedCurve, 7);
    expectPoints(after[1], 0.3, 0.2, 0.7, 0.8);
    expectCompare(after[2], 2, 6, 5);
    expectCompare(after[3], 1, 6, 5);
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        expectStartUpAndReset(after[i]);
    }
    // The comparisons keep the curve of the single-curve view.
    EXPECT_EQ(after[3].selectedCurve, 7);
    expectCurve7Of0302(run.report->tables);
}

TEST(ConsoleTranscript, RefusedPointsAskAgainUntilAGoodSetOrTheEnd)
{
    const char* refused[] = {"0.3,0.2,0.7,0.8", "a b c d", "0 0 0 0", "0.3 0.2 0.3 0.8", "0.7 0.2 0.3 0.8",
                             "nan 0.2 0.7 0.8"};
    const std::string asked = MENU + CURVE_LINES[0] + KEY_HELP + CURVE_LINES[0] + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT;
    for (const char* bad : refused) {
        for (bool goodSetFollows : {true, false}) {
            SCOPED_TRACE(std::string(bad) + (goodSetFollows ? ", then a good set" : ", then end of input"));
            PipeRun run = runOnPipes(std::string("0") + bad + "\n" + (goodSetFollows ? "0.25 0.25 0.75 0.75\n" : ""),
                                     "7");
            ASSERT_TRUE(run.report && run.report->finished);
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.shown, asked + POINTS_ERROR + POINTS_PROMPT);
            const AppState& state = run.report->after[1];
            expectStartUpAndReset(state);
            if (goodSetFollows) {
                expectPoints(state, 0.25, 0.25, 0.75, 0.75);
                expectCurve7Of25(run.report->tables);
            } else {
                // As the composite curves left them.
                EXPECT_EQ(state.Ta, 0.0625);
                EXPECT_NEAR(state.Sa, 0.007241, 1e-6);
                EXPECT_EQ(state.Tb, 0.25);
                EXPECT_NEAR(state.Sb, 0.181185, 1e-6);
                expectSlot7Zero(run.report->tables);
            }
        }
    }
    // End of input at the prompt: no error, no second prompt.
    PipeRun run = runOnPipes("0", "7");
    ASSERT_TRUE(run.report && run.report->finished);
    EXPECT_EQ(run.shown, asked);
    EXPECT_EQ(run.report->after[1].Ta, 0.0625);
    expectSlot7Zero(run.report->tables);

    // Sa and Sb may be any finite numbers, 0 and 1 and beyond included: taken at once.
    for (double Sb : {1.0, 1.5}) {
        const double Sa = 1.0 - Sb;
        SCOPED_TRACE(Sb);
        run = runOnPipes("0" "0.3 " + std::to_string(Sa) + " 0.7 " + std::to_string(Sb) + "\n", "7");
        ASSERT_TRUE(run.report && run.report->finished);
        EXPECT_EQ(run.shown, asked);
        expectPoints(run.report->after[1], 0.3, Sa, 0.7, Sb);
        const double* s = slot7(run.report->tables);
        for (int i = 0; i <= LAST; i++)
            ASSERT_TRUE(std::isfinite(s[i]) && std::isfinite(s[V_ROW + i]) && std::isfinite(s[A_ROW + i])) << i;
        EXPECT_NEAR(s[30], Sa, 1e-12);
        EXPECT_NEAR(s[V_ROW + 50], (Sb - Sa) / 0.4, 1e-12);
        EXPECT_NEAR(s[LAST], 1.0, 1e-12);
    }
}

// ---- The key read on a real terminal ----

// Menu shown before any key is typed; keys taken without Enter and not echoed; numbers echoed by the
// terminal's own line editing; modes back as they were whenever a read is not waiting, and at the end.
TEST(TerminalKeyRead, DialogueOnAPseudoTerminal)
{
    PtyRun pty(playSession, "cc");
    ASSERT_EQ(pty.show(MENU), pty.expected);
    termios raw = pty.waitForKeyRead();
    EXPECT_EQ(raw.c_lflag & (ICANON | ECHO), 0u);
    // ^C must still interrupt.
    EXPECT_NE(raw.c_lflag & ISIG, 0u);
    pty.type("7");
    ASSERT_EQ(pty.show(CURVE_LINES[7] + POINTS_PROMPT), pty.expected);
    EXPECT_TRUE(sameModes(pty.modes(), pty.before));

    // Four numbers over two lines: the read waits for the second line.
    pty.type("0.1 0.1\n");
    ASSERT_EQ(pty.show("0.1 0.1\n"), pty.expected);
    pty.type("0.9 0.9\n");
    ASSERT_EQ(pty.show("0.9 0.9\n" + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT), pty.expected);
    EXPECT_TRUE(sameModes(pty.modes(), pty.before));
    pty.type("0.3,0.2,0.7,0.8\n");
    ASSERT_EQ(pty.show("0.3,0.2,0.7,0.8\n" + POINTS_ERROR + POINTS_PROMPT), pty.expected);
    EXPECT_TRUE(sameModes(pty.modes(), pty.before));
    pty.type("0.3 0.2 0.7 0.8\n");

    // Window key "c": one key, then an arrow key, which fills the other two reads.
    ASSERT_EQ(pty.show("0.3 0.2 0.7 0.8\n" + KEY_HELP + COMPARISON_PROMPT), pty.expected);
    pty.waitForKeyRead();
    pty.type("1");
    ASSERT_EQ(pty.show(CURVE_LINES[1]), pty.expected);
    pty.waitForKeyRead();
    pty.type("\x1b[A");

    // Window key "c" again: no byte of the arrow key is left over for these reads.
    ASSERT_EQ(pty.show(KEY_HELP + COMPARISON_PROMPT), pty.expected);
    for (int curve : {3, 4, 5}) {
        pty.waitForKeyRead();
        pty.type(std::string(1, static_cast<char>('0' + curve)));
        ASSERT_EQ(pty.show(CURVE_LINES[curve]), pty.expected);
    }
    int status = pty.end();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(sameModes(pty.modes(), pty.before));
    ASSERT_TRUE(pty.report->finished);
    const AppState* after = pty.report->after;
    expectPoints(after[0], 0.3, 0.2, 0.7, 0.8);
    expectCompare(after[1], 1, 0, 0);
    expectCompare(after[2], 3, 4, 5);
    expectCurve7Of0302(pty.report->tables);
}

// Numbers typed right after the start key, before the prompt shows, reach the number read.
TEST(TerminalKeyRead, TypedAheadNumbersAreKept)
{
    PtyRun pty(playSession);
    ASSERT_EQ(pty.show(MENU), pty.expected);
    pty.waitForKeyRead();
    pty.type("70.3 0.2 0.7 0.8\n");
    ASSERT_EQ(pty.show(CURVE_LINES[7] + POINTS_PROMPT + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT), pty.expected);
    pty.type("0.25 0.25 0.75 0.75\n");
    ASSERT_EQ(pty.show("0.25 0.25 0.75 0.75\n"), pty.expected);
    int status = pty.end();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_TRUE(pty.report->finished);
    expectPoints(pty.report->after[0], 0.25, 0.25, 0.75, 0.75);
}

// A signal during the key read: the terminal's modes come back and the process dies by that signal.
TEST(TerminalKeyRead, ModesComeBackWhenASignalEndsTheProcess)
{
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signalNumber));
        PtyRun pty(playSession);
        ASSERT_EQ(pty.show(MENU), pty.expected);
        ASSERT_EQ(pty.waitForKeyRead().c_lflag & ICANON, 0u);
        // ^C as typed on the terminal; the others as sent by another process or a closing terminal.
        if (signalNumber == SIGINT)
            pty.type("\x03");
        else
            kill(pty.pid, signalNumber);
        int status = pty.end();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_TRUE(sameModes(pty.modes(), pty.before));
    }
}

TEST(TerminalKeyRead, ModesComeBackAtNormalExit)
{
    PtyRun pty(changeModesAndExit);
    ASSERT_EQ(pty.show("changed"), pty.expected);
    EXPECT_FALSE(sameModes(pty.modes(), pty.before));
    pty.type("\n");
    int status = pty.end();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(sameModes(pty.modes(), pty.before));
}

}  // namespace
