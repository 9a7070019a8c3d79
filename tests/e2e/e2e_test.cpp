// End-to-end: the built camcurves as a user runs it, console on a pseudo-terminal, window on a private Xvfb.
// Picture checks in window coordinates (-1..1, y up, 400 pixels a unit) computed from the curve tables.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "curves/motion_tables.h"
#include "tests/support/expected_console.h"
#include "tests/support/xvfb_server.h"

namespace {

using namespace expected;

constexpr int TIMEOUT_MS = 20000;
constexpr double ZOOM = 0.004;
constexpr double PIXEL = 1.0 / 400;  // window units
constexpr double ANGLE_STEP = TWO_PI / 3 / 100;
constexpr unsigned RED = 0xff0000, GREEN = 0x00ff00, BLUE = 0x0000ff;

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The terminal's output processing (ONLCR) shows every "\n" as "\r\n".
std::string onTerminal(const std::string& text)
{
    std::string shown;
    for (char c : text)
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return shown;
}

// One run of camcurves on its own pseudo-terminal; the test keeps the slave open to read its modes.
// shown is every byte the terminal showed, expected what it should have shown so far.
struct Program {
    pid_t pid = -1;
    int master = -1, slave = -1;
    termios before{};
    std::string shown, expected;

    void start()
    {
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        ASSERT_EQ(tcgetattr(slave, &before), 0);
        pid = fork();
        if (pid == 0) {
            close(master);
            // A new session on the terminal with the signals at their defaults, as a login shell starts it.
            for (int s : {SIGINT, SIGTERM, SIGHUP})
                signal(s, SIG_DFL);
            login_tty(slave);
            execl(CAMCURVES_PATH, "camcurves", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
    }
    ~Program()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(master);
        close(slave);
    }
    // Takes what the terminal shows within waitMs; false if nothing came.
    bool pump(int waitMs)
    {
        pollfd ready = {master, POLLIN, 0};
        char buffer[4096];
        ssize_t got = poll(&ready, 1, waitMs) > 0 ? read(master, buffer, sizeof buffer) : 0;
        if (got > 0)
            shown.append(buffer, got);
        return got > 0;
    }
    // Adds text to what must be shown and waits until that much has come.
    void waitShown(const std::string& text)
    {
        expected += onTerminal(text);
        for (long long end = nowMs() + TIMEOUT_MS; shown.size() < expected.size() && nowMs() < end;)
            pump(50);
    }
    // The key read alone turns canonical mode off; seeing it off means the program waits for a key.
    bool waitsForKey()
    {
        for (long long end = nowMs() + TIMEOUT_MS; nowMs() < end; pump(10)) {
            termios now;
            if (tcgetattr(slave, &now) == 0 && !(now.c_lflag & ICANON))
                return true;
        }
        return false;
    }
    bool type(const std::string& bytes) { return write(master, bytes.data(), bytes.size()) == (ssize_t)bytes.size(); }
    // The wait status once the program has ended (-1 on timeout), after taking its last output.
    int exitStatus()
    {
        int status = -1;
        for (long long end = nowMs() + TIMEOUT_MS; nowMs() < end; pump(20))
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                while (pump(200)) {
                }
                return status;
            }
        return -1;
    }
    bool modesAsBefore()
    {
        termios now;
        return tcgetattr(slave, &now) == 0 && now.c_iflag == before.c_iflag && now.c_oflag == before.c_oflag &&
               now.c_cflag == before.c_cflag && now.c_lflag == before.c_lflag &&
               memcmp(now.c_cc, before.c_cc, sizeof now.c_cc) == 0 && cfgetispeed(&now) == cfgetispeed(&before) &&
               cfgetospeed(&now) == cfgetospeed(&before);
    }
};

#define ASSERT_SHOWN(run, text)                 \
    do {                                        \
        (run).waitShown(text);                  \
        ASSERT_EQ((run).shown, (run).expected); \
    } while (0)

// Starts the program, waits for the menu and the key read, and presses key on the console.
#define ASSERT_STARTED_WITH(run, key)           \
    do {                                        \
        ASSERT_NO_FATAL_FAILURE((run).start()); \
        ASSERT_SHOWN(run, MENU);                \
        ASSERT_TRUE((run).waitsForKey());       \
        ASSERT_TRUE((run).type(key));           \
    } while (0)

std::string commandOutput(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[1024];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

// The camcurves window, found by an ASCII part of its title; 0 if none appears.
unsigned long findWindow()
{
    for (long long end = nowMs() + TIMEOUT_MS; nowMs() < end; usleep(50000)) {
        std::string found = commandOutput("xdotool search --name 'W,w:' 2>/dev/null");
        if (!found.empty())
            return std::stoul(found);
    }
    return 0;
}

// Key presses and releases as X events; "keydown" alone for a key after which the window is gone.
bool sendKeys(unsigned long window, const std::string& keys, const char* action = "key")
{
    std::string command = std::string("xdotool ") + action + " --window " + std::to_string(window) + " " + keys;
    return system((command + " 2>/dev/null").c_str()) == 0;
}

// What a window manager sends when the user closes the window.
bool sendDeleteWindow(unsigned long window)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent != 0;
}

// Screen position of the window's pixel (0, 0), from xwininfo.
int windowLeft, windowTop;

std::string windowPlacement(unsigned long window)
{
    std::string info = commandOutput("xwininfo -id " + std::to_string(window));
    auto field = [&](const char* name) {
        size_t at = info.find(name);
        return at == std::string::npos ? -9999 : std::stoi(info.substr(at + strlen(name)));
    };
    windowLeft = field("Absolute upper-left X:");
    windowTop = field("Absolute upper-left Y:");
    return std::to_string(field("Width:")) + "x" + std::to_string(field("Height:"));
}

// The whole Xvfb screen; window pixel (column, row from the top) lies at the window's screen position.
struct Screen {
    std::vector<unsigned> pixels;

    bool read() { return readXvfbScreen(0, 0, 1024, 1024, 0xffffffff, &pixels); }
    // 0xRRGGBB of window pixel (column, row from the top).
    unsigned at(int column, int row) const
    {
        int x = column + windowLeft, y = row + windowTop;
        if (x < 0 || y < 0 || x >= 1024 || y >= 1024)
            return 0xffffffff;
        return pixels[y * 1024 + x];
    }
};

struct P {
    double x, y;  // window units
};

// radius 0: the pixel that holds point has colour; otherwise some pixel whose centre lies within radius pixels.
struct Check {
    std::string what;
    P point;
    unsigned colour;
    double radius;
};

bool holds(const Screen& screen, const Check& check, unsigned* seen)
{
    // Pixels from the lower left; row r from the bottom is row 799 - r from the top.
    double px = (check.point.x + 1) * 400, py = (check.point.y + 1) * 400;
    int column = int(std::floor(px)), row = int(std::floor(py)), reach = int(check.radius) + 1;
    *seen = screen.at(column, 799 - row);
    if (check.radius == 0)
        return *seen == check.colour;
    for (int c = column - reach; c <= column + reach; c++)
        for (int r = row - reach; r <= row + reach; r++)
            if (std::hypot(c + 0.5 - px, r + 0.5 - py) <= check.radius && screen.at(c, 799 - r) == check.colour)
                return true;
    return false;
}

// Reads the screen until every check holds; at the timeout, the checks that failed with the colour seen.
std::string waitForPicture(const std::vector<Check>& checks)
{
    std::string failed;
    for (long long end = nowMs() + TIMEOUT_MS; nowMs() < end; usleep(20000)) {
        Screen screen;
        if (!screen.read())
            continue;
        failed.clear();
        for (const Check& check : checks) {
            unsigned seen;
            char line[160];
            if (!holds(screen, check, &seen)) {
                snprintf(line, sizeof line, "%s at (%.4f, %.4f): want %06x, centre pixel %06x\n", check.what.c_str(),
                         check.point.x, check.point.y, check.colour, seen);
                failed += line;
            }
        }
        if (failed.empty())
            break;
    }
    return failed;
}

double sample(int curve, int row, int i) { return curveSlot(curve)[row * ROW_LENGTH + i]; }

using Line = std::vector<P>;

template <class Vertex>
Line polyline(int vertices, Vertex vertex)
{
    Line line;
    for (int i = 0; i < vertices; i++)
        line.push_back(vertex(i));
    return line;
}

// Chart 0, 1, 2 (S, V, A): sample i at (50 + 1.5 i, origin + height unit * value) model units.
Line chartLine(int curve, int chart, double z)
{
    const double originY[3] = {100, 0, -100}, unit[3] = {60, 30, 10};
    return polyline(101, [&](int i) {
        return P{(50 + 1.5 * i) * z, (originY[chart] + unit[chart] * sample(curve, chart, i)) * z};
    });
}

// Rise sample i of the cam at step d: angle (d - i) steps clockwise from up, radius 50 + 60 S[i] about (-100, 0).
P contourPoint(int curve, int d, int i, double z)
{
    double angle = (d - i) * ANGLE_STEP, r = 50 + 60 * sample(curve, 0, i);
    return {z * (-100 + r * std::sin(angle)), z * r * std::cos(angle)};
}

Line camRise(int curve) { return polyline(101, [&](int i) { return contourPoint(curve, 0, i, ZOOM); }); }

Line baseCircle()
{
    return polyline(121, [](int i) {
        return P{ZOOM * (-100 + 50 * std::sin(i * TWO_PI / 120)), ZOOM * 50 * std::cos(i * TWO_PI / 120)};
    });
}

double pixelsToSegment(P p, P a, P b)
{
    double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::fmax(0, std::fmin(1, ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2)) : 0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy) / PIXEL;
}

// The vertex first..last of line farthest from every segment of others, so no other drawing can cover it.
P clearVertex(const Line& line, int first, int last, const std::vector<Line>& others, double* clearance)
{
    P best = line[first];
    *clearance = -1;
    for (int i = first; i <= last; i++) {
        double nearest = 1e9;
        for (const Line& other : others)
            for (size_t k = 1; k < other.size(); k++)
                nearest = std::fmin(nearest, pixelsToSegment(line[i], other[k - 1], other[k]));
        if (nearest > *clearance) {
            *clearance = nearest;
            best = line[i];
        }
    }
    return best;
}

// Single-curve view at a step and zoom: the step markers of S and V 3 pixels either side of their centres
// (a neighbouring step's marker, 2.4 pixels off, misses one of them), the contact dot, the top of the
// follower body 110 above the tip, and the contour 25 samples from the contact point.
std::vector<Check> singleView(int curve, int step, double z)
{
    std::string at = " of curve " + std::to_string(curve) + " at step " + std::to_string(step);
    double x = (50 + 1.5 * step) * z, s = (100 + 60 * sample(curve, 0, step)) * z, v = 30 * sample(curve, 1, step) * z;
    double tip = (50 + 60 * sample(curve, 0, step)) * z;
    return {{"S marker left" + at, {x - 3 * PIXEL, s}, RED, 0},
            {"S marker right" + at, {x + 3 * PIXEL, s}, RED, 0},
            {"V marker left" + at, {x - 3 * PIXEL, v}, RED, 0},
            {"V marker right" + at, {x + 3 * PIXEL, v}, RED, 0},
            {"contact dot" + at, {-100 * z, tip}, RED, 0},
            {"follower body top" + at, {-100 * z, tip + 110 * z}, RED, 1.5},
            {"cam contour" + at, contourPoint(curve, step, step <= 75 ? step + 25 : step - 25, z), RED, 1.5}};
}

// Comparison view: each curve's colour on a chart vertex and a contour vertex that later curves leave
// uncovered, and the follower at zero lift.
std::vector<Check> comparisonView(const int curves[3])
{
    const unsigned colours[3] = {RED, BLUE, GREEN};
    std::vector<Check> checks = {{"comparison follower body top", {-0.4, 0.64}, RED, 1.5},
                                 {"comparison contact dot", {-0.4, 0.2}, RED, 0}};
    for (int p = 0; p < 3; p++) {
        std::string name = "curve " + std::to_string(curves[p]);
        P best{};
        double bestClearance = -1, clearance;
        for (int chart = 0; chart < 3; chart++) {
            std::vector<Line> later;
            for (int q = p + 1; q < 3; q++)
                later.push_back(chartLine(curves[q], chart, ZOOM));
            P vertex = clearVertex(chartLine(curves[p], chart, ZOOM), 5, 95, later, &clearance);
            if (clearance > bestClearance)
                bestClearance = clearance, best = vertex;
        }
        EXPECT_GE(bestClearance, 4) << name;
        checks.push_back({name + " chart line", best, colours[p], 1});
        std::vector<Line> later = {baseCircle()};
        for (int q = p + 1; q < 3; q++)
            later.push_back(camRise(curves[q]));
        checks.push_back({name + " contour", clearVertex(camRise(curves[p]), 25, 90, later, &clearance),
                          colours[p], 1});
        EXPECT_GE(clearance, 2.5) << name;
    }
    return checks;
}

// Curve 7 at step 0, with a chart vertex and a contour vertex that the comparison view never drew on.
std::vector<Check> curve7View(const int compared[3])
{
    std::vector<Check> checks = singleView(TWO_POINT_CURVE, 0, ZOOM);
    std::vector<Line> comparisonCharts;
    for (int q = 0; q < 3; q++)
        for (int chart = 0; chart < 3; chart++)
            comparisonCharts.push_back(chartLine(compared[q], chart, ZOOM));
    double clearance;
    P vertex = clearVertex(chartLine(TWO_POINT_CURVE, 1, ZOOM), 5, 95, comparisonCharts, &clearance);
    EXPECT_GE(clearance, 4);
    checks.push_back({"curve 7 velocity line", vertex, GREEN, 1});
    vertex = clearVertex(camRise(TWO_POINT_CURVE), 25, 90, {camRise(compared[0])}, &clearance);
    EXPECT_GE(clearance, 2.5);
    checks.push_back({"curve 7 contour", vertex, RED, 1});
    return checks;
}

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        serverUp = startXvfb();
        // The same curve tables the program builds: the expected positions come from them.
        appState.riseSteps = 100;
        appState.timeStep = 0.01;
        buildStandardCurves();
        buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(TWO_POINT_CURVE));
    }
    static void TearDownTestSuite() { stopXvfb(); }
    void SetUp() override { ASSERT_TRUE(serverUp); }
    static bool serverUp;
};
bool EndToEnd::serverUp;

TEST_F(EndToEnd, CurveThreeStepZoomCompareCurveSevenAndEscape)
{
    Program run;
    ASSERT_STARTED_WITH(run, "3");
    ASSERT_SHOWN(run, CURVE_LINES[3] + KEY_HELP + CURVE_LINES[3]);

    unsigned long window = findWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(commandOutput("LC_ALL=C.UTF-8 xprop -id " + std::to_string(window) + " _NET_WM_NAME"),
              "_NET_WM_NAME(UTF8_STRING) = \"" + WINDOW_TITLE + "\"\n");
    ASSERT_EQ(windowPlacement(window), "800x800");
    ASSERT_EQ(waitForPicture(singleView(3, 0, ZOOM)), "");

    std::string fiftySteps;
    for (int i = 0; i < 50; i++)
        fiftySteps += " s";
    ASSERT_TRUE(sendKeys(window, fiftySteps));
    ASSERT_EQ(waitForPicture(singleView(3, 50, ZOOM)), "");
    ASSERT_TRUE(sendKeys(window, "r s"));
    ASSERT_EQ(waitForPicture(singleView(3, 49, ZOOM)), "");
    ASSERT_TRUE(sendKeys(window, "w"));
    ASSERT_EQ(waitForPicture(singleView(3, 49, ZOOM * 0.9)), "");
    ASSERT_TRUE(sendKeys(window, "W"));
    ASSERT_EQ(waitForPicture(singleView(3, 49, ZOOM)), "");

    // The window waits while the console asks; the comparison shows once the third key is read.
    const int compared[3] = {2, 4, 6};
    ASSERT_TRUE(sendKeys(window, "c"));
    ASSERT_SHOWN(run, KEY_HELP + COMPARISON_PROMPT);
    for (int curve : compared) {
        ASSERT_TRUE(run.waitsForKey());
        ASSERT_TRUE(run.type(std::to_string(curve)));
        ASSERT_SHOWN(run, CURVE_LINES[curve]);
    }
    ASSERT_EQ(waitForPicture(comparisonView(compared)), "");

    // The numbers are read in canonical mode, so the terminal echoes each typed line.
    ASSERT_TRUE(sendKeys(window, "7"));
    ASSERT_SHOWN(run, KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT);
    ASSERT_TRUE(run.type("0.7 0.2 0.3 0.8\n"));
    ASSERT_SHOWN(run, "0.7 0.2 0.3 0.8\n" + POINTS_ERROR + POINTS_PROMPT);
    ASSERT_TRUE(run.type("0.3 0.2 0.7 0.8\n"));
    ASSERT_SHOWN(run, "0.3 0.2 0.7 0.8\n");
    ASSERT_EQ(waitForPicture(curve7View(compared)), "");

    ASSERT_TRUE(sendKeys(window, "Escape", "keydown"));
    int status = run.exitStatus();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(run.shown, run.expected);
    EXPECT_TRUE(run.modesAsBefore());
}

TEST_F(EndToEnd, ClosingTheWindowEndsWithStatusZero)
{
    Program run;
    ASSERT_STARTED_WITH(run, "5");
    ASSERT_SHOWN(run, CURVE_LINES[5] + KEY_HELP + CURVE_LINES[5]);
    unsigned long window = findWindow();
    ASSERT_NE(window, 0u);
    ASSERT_EQ(windowPlacement(window), "800x800");
    ASSERT_EQ(waitForPicture(singleView(5, 0, ZOOM)), "");
    ASSERT_TRUE(sendDeleteWindow(window));
    int status = run.exitStatus();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(run.modesAsBefore());
}

// The key reads run in non-canonical mode: a signal that ends the program there must restore the modes.
TEST_F(EndToEnd, CtrlCAtTheStartPromptEndsBySigintWithModesRestored)
{
    Program run;
    ASSERT_STARTED_WITH(run, "\x03");
    int status = run.exitStatus();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_EQ(run.shown, run.expected);
    EXPECT_TRUE(run.modesAsBefore());
}

class SignalAtComparisonPrompt : public EndToEnd, public ::testing::WithParamInterface<int> {};

TEST_P(SignalAtComparisonPrompt, EndsByTheSignalWithModesRestored)
{
    Program run;
    ASSERT_STARTED_WITH(run, "c");
    ASSERT_SHOWN(run, KEY_HELP + COMPARISON_PROMPT);
    ASSERT_TRUE(run.waitsForKey());
    kill(run.pid, GetParam());
    int status = run.exitStatus();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
    EXPECT_TRUE(run.modesAsBefore());
}

INSTANTIATE_TEST_SUITE_P(TermAndHup, SignalAtComparisonPrompt, ::testing::Values(SIGTERM, SIGHUP));

// Where no window can open (no DISPLAY, no X server there), one line on stderr names the display, before the
// menu: nothing on the terminal, its modes untouched, status 1. A "-display NAME" wins over DISPLAY.
TEST(NoDisplay, OneLineOnStderrBeforeTheMenuAndStatusOne)
{
    // DISPLAY (unset if null), the name after -display (no option if null), what the line must name.
    const char* const cases[][3] = {{nullptr, nullptr, "DISPLAY is not set"}, {":4093", nullptr, "\":4093\""},
                                    {":4093", ":4094", "\":4094\""}};
    for (auto c : cases) {
        Program run;
        int errors[2];
        ASSERT_TRUE(pipe(errors) == 0 && openpty(&run.master, &run.slave, nullptr, nullptr, nullptr) == 0 &&
                    tcgetattr(run.slave, &run.before) == 0);
        if ((run.pid = fork()) == 0) {
            c[0] ? setenv("DISPLAY", c[0], 1) : unsetenv("DISPLAY");
            login_tty(run.slave);
            dup2(errors[1], STDERR_FILENO);
            // Without the option the argument list ends at its first null.
            execl(CAMCURVES_PATH, "camcurves", c[1] ? "-display" : nullptr, c[1], static_cast<char*>(nullptr));
            _exit(127);
        }
        close(errors[1]);
        int status = run.exitStatus();
        char said[1024] = {};
        // A program still running (status -1) holds the pipe open: reading then would wait for ever.
        EXPECT_TRUE(status != -1 && read(errors[0], said, 1023) > 0 && strstr(said, c[2])) << said;
        EXPECT_EQ(strcspn(said, "\n") + 1, strlen(said)) << "not one line";
        close(errors[0]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_TRUE(run.shown.empty() && run.modesAsBefore()) << run.shown;
    }
}

}  // namespace
