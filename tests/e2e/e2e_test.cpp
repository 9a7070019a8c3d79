// End-to-end: the built camcurves as a user runs it, console on a pseudo-terminal, window on a private Xvfb,
// every picture read back from the server and checked at positions computed from the curve tables.
// Window coordinates -1..1, y up, 400 pixels a unit at 800 x 800; model units times the zoom are window units.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xutil.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "curves/motion_tables.h"
#include "tests/support/expected_console.h"
#include "tests/support/pty_session.h"
#include "tests/support/xvfb_server.h"

namespace {

using namespace expected;

constexpr unsigned WHITE = 0xffffff, TEXT = 0x0a0a0a, RED = 0xff0000, GREEN = 0x00ff00, BLUE = 0x0000ff;
constexpr double Z = 0.004;
// Model geometry: the charts' origins at x = 50 and these y, T = 1 150 further on, their value units (S lift 60,
// V lift / 2, A lift / 6); the cam centre at (-100, 0), base radius 50, lift 60, turned 1.2 degrees a step.
constexpr double CHART_Y[3] = {100, 0, -100}, UNIT[3] = {60, 30, 10};

// The legend's names of curves 0..6; the text panel's titles put the curve's number before them.
const char* const NAMES[7] = {"parabolic cam curve", "harmonic cam curve", "cycloid cam curve",
                              "modified trapezoid cam curve", "modified sine cam curve", "Gutman F-3 cam curve",
                              "modified constant velocity cam curve"};

struct P {
    double x, y;
};
using Line = std::vector<P>;

P along(P a, P b, double t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }
P chartPoint(int curve, int chart, int i, double z)
{
    return {z * (50 + 1.5 * i), z * (CHART_Y[chart] + UNIT[chart] * curveSlot(curve)[chart * ROW_LENGTH + i])};
}
// Point k of the cam turned by step d: k = 0..100 the rise, to 200 the dwell, to 300 the return; radius r if given.
P camPoint(int curve, int d, int k, double z, double r = 0)
{
    const double* S = curveSlot(curve);
    r = r ? r : 50 + 60 * (k <= 100 ? S[k] : k <= 200 ? 1 : S[300 - k]);
    return {z * (-100 + r * std::sin((d - k) * TWO_PI / 300)), z * r * std::cos((d - k) * TWO_PI / 300)};
}
Line polyline(int last, const std::function<P(int)>& vertex)
{
    Line line;
    for (int i = 0; i <= last; i++)
        line.push_back(vertex(i));
    return line;
}
Line chartLine(int curve, int chart, double z)
{
    return polyline(100, [=](int i) { return chartPoint(curve, chart, i, z); });
}

// The window as the server shows it (800 x 800 pixels 0xRRGGBB, rows from the top), and what was found wrong.
struct Picture {
    std::vector<unsigned> pixels;
    std::string wrong;

    static P pixel(P p) { return {(p.x + 1) * 400, (1 - p.y) * 400}; }
    unsigned atPixel(P q) const
    {
        return q.x < 0 || q.y < 0 || q.x >= 800 || q.y >= 800 ? 0 : pixels[int(q.y) * 800 + int(q.x)];
    }
    // The pixel of p moved right and up by whole or fractional pixels.
    unsigned at(P p, double right = 0, double up = 0) const { return atPixel({pixel(p).x + right, pixel(p).y - up}); }
    void expect(bool ok, const std::string& what) { wrong += ok ? "" : what + "\n"; }
    // Distance in pixels from p to the nearest of lines (a line of one vertex is a point).
    static double distance(P p, const std::vector<Line>& lines)
    {
        double nearest = 1e9;
        for (const Line& line : lines)
            for (size_t k = 0; k < line.size(); k++) {
                P q = pixel(p), a = pixel(line[k]), b = pixel(line[k + 1 < line.size() ? k + 1 : k]);
                double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
                double t = l2 > 0 ? std::fmax(0, std::fmin(1, ((q.x - a.x) * dx + (q.y - a.y) * dy) / l2)) : 0;
                nearest = std::fmin(nearest, std::hypot(q.x - a.x - t * dx, q.y - a.y - t * dy));
            }
        return nearest;
    }
    // Across segment a-b at fraction t, 6 pixels either side in quarter pixels, a run of colour low to high
    // pixels wide (one run only) whose centre lies off the segment by off at most. Points on a 1/1024 pixel grid
    // add the quarter steps exactly, so none lands by rounding on the wrong side of a pixel edge.
    void expectLine(P a, P b, double t, unsigned colour, double low, double high, double off, const std::string& what)
    {
        P pa = pixel(a), pb = pixel(b), c = pixel(along(a, b, t));
        double length = std::hypot(pb.x - pa.x, pb.y - pa.y), first = 99, last = -99, count = 0;
        for (double s = -6; s <= 6; s += 0.25)
            if (atPixel({std::round(c.x * 1024) / 1024 + s * (pa.y - pb.y) / length,
                         std::round(c.y * 1024) / 1024 + s * (pb.x - pa.x) / length}) == colour)
                first = std::fmin(first, s), last = s, count += 0.25;
        expect(count >= low && count <= high && count == last - first + 0.25 &&
                   std::fabs(first + last + 0.25) <= 2 * off,
               what + ": " + std::to_string(count) + " pixels from " + std::to_string(first));
    }
    // colour within a pixel of the middle of every segment of line that later drawing leaves 6 pixels clear.
    void expectDrawn(const Line& line, unsigned colour, const std::vector<Line>& later, const std::string& what)
    {
        for (size_t k = 1; k < line.size(); k++) {
            P m = along(line[k - 1], line[k], 0.5);
            bool seen = false;
            for (double dx : {-0.7, 0.0, 0.7})
                for (double dy : {-0.7, 0.0, 0.7})
                    seen = seen || at(m, dx, dy) == colour;
            expect(seen || distance(m, later) <= 6, what + " " + std::to_string(k));
        }
    }
};

// Each frame line 2 pixels wide on its place (in model units from its chart's origin) and ending there, checked
// where the curve and its marker leave it clear; red lines first, then blue ones.
void expectChartFrames(Picture& f, int curve, int step, double z)
{
    const double lines[][5] = {{0, 0, 0, 150, 0},  {0, 0, 0, 0, 60},      {0, 150, 0, 150, 60},   {1, 0, 0, 150, 0},
                               {1, 0, 0, 0, 65},   {1, 150, 0, 150, 60},  {2, 0, 0, 150, 0},      {2, 0, 65, 0, -65},
                               {2, 150, 60, 150, -60}, {0, 0, 60, 150, 60}, {1, 0, 30, 150, 30}, {1, 0, 60, 150, 60},
                               {2, 0, 30, 150, 30}, {2, 0, -30, 150, -30}, {2, 0, 60, 150, 60}, {2, 0, -60, 150, -60}};
    std::vector<Line> drawn;
    for (int chart = 0; chart < 3; chart++)
        drawn.insert(drawn.end(), {chartLine(curve, chart, z), {chartPoint(curve, chart, step, z)}});
    for (const auto& line : lines) {
        const std::string name = "frame line " + std::to_string(&line - lines);
        const unsigned colour = &line - lines < 9 ? RED : BLUE;
        const P a = {z * (50 + line[1]), z * (CHART_Y[int(line[0])] + line[2])};
        const P b = {z * (50 + line[3]), z * (CHART_Y[int(line[0])] + line[4])};
        for (double t : {0.2, 0.4, 0.6, 0.8})
            if (f.distance(along(a, b, t), drawn) >= 10)
                f.expectLine(a, b, t, colour, 2, 2, 0.5, name);
        // Its colour 1.5 pixels short of each end, none 2.5 pixels beyond.
        const double pixels = std::hypot(f.pixel(a).x - f.pixel(b).x, f.pixel(a).y - f.pixel(b).y);
        for (double end : {0, 1})
            f.expect(f.distance(along(a, b, end), drawn) < 10 ||
                         (f.at(along(a, b, end + (end ? -1.5 : 1.5) / pixels)) == colour &&
                          f.at(along(a, b, end + (end ? 2.5 : -2.5) / pixels)) != colour),
                     name + " end " + std::to_string(end));
    }
}

// Window text as this process draws the same strings into its own window's back buffer, lit as all window
// text is, on white: the chart labels at their model positions (from the displacement chart's origin), and the
// panel or legend. Pixels that later drawing covered with a line colour are left out.
void expectTexts(Picture& f, double z, std::vector<std::pair<P, std::string>> texts)
{
    const std::pair<P, std::string> labels[] = {
        {{50, -20}, "cam curve"}, {{-20, 55}, "1.0"}, {{140, -10}, "1.0"}, {{40, -120}, "velocity curve"},
        {{-20, -75}, "1.0"}, {{-20, -45}, "2.0"}, {{140, -110}, "1.0"}, {{30, -220}, "acceleration curve"},
        {{-20, -175}, "3.0"}, {{-20, -145}, "6.0"}, {{-10, -205}, "0"}, {{-25, -235}, "-3.0"},
        {{-25, -265}, "-6.0"}, {{140, -210}, "1.0"}};
    for (const auto& [at, text] : labels)
        texts.push_back({{z * (50 + at.x), z * (100 + at.y)}, text});
    glClear(GL_COLOR_BUFFER_BIT);
    for (const auto& [at, text] : texts) {
        glRasterPos2f(float(at.x), float(at.y));
        for (char c : text)
            glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, c);
    }
    std::vector<unsigned char> rgb(800 * 800 * 3);
    glReadPixels(0, 0, 800, 800, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int differ = 0;
    for (int i = 0; i < 800 * 800; i++) {
        const unsigned char* p = &rgb[((799 - i / 800) * 800 + i % 800) * 3];
        const unsigned shown = f.pixels[i], wanted = p[0] << 16 | p[1] << 8 | p[2];
        differ += (shown == WHITE || shown == TEXT) && shown != wanted;
    }
    f.expect(differ == 0, std::to_string(differ) + " pixels differ from the text");
}

// Red markers of radius 4 pixels at a step; the base circle of the cam turned by a step, with its wide radius
// to the start of the rise and marker lines 120 degrees either side, 2 pixels wide at most.
void expectMarkersAndBaseCircle(Picture& f, int curve, int marked, int turned, double z)
{
    for (int chart = 0; chart < 3; chart++)
        for (P d : {P{0, 0}, P{-3, 0}, P{3, 0}, P{5, 5}, P{-5, 5}, P{5, -5}, P{-5, -5}})
            f.expect((f.at(chartPoint(curve, chart, marked, z), d.x, d.y) == RED) == (d.y == 0),
                     "marker of chart " + std::to_string(chart));
    const P centre = {z * -100, 0};
    f.expectLine(centre, camPoint(curve, turned, 0, z, 50), 0.85, BLUE, 2.5, 4.5, 0.75, "wide radius line");
    for (int k : {-100, 100})
        f.expectLine(centre, camPoint(curve, turned, k, z, 110), 130.0 / 176, BLUE, 0.25, 2.5, 1, "marker line");
    f.expectDrawn({camPoint(curve, turned, 150, z, 50), camPoint(curve, turned, 151, z, 50)}, BLUE, {}, "circle");
}

// The follower at step and zoom Z: the contact dot on the tip, and the tip and body outlines 2 pixels wide.
void expectFollower(Picture& f, int curve, int step)
{
    const double X = Z * -100, tip = Z * (50 + 60 * curveSlot(curve)[step]), w = Z * 10, l = Z * 50;
    for (double up : {0, 3, -3, -6})
        f.expect((f.at({X, tip}, 0, up) == RED) == (up > -6), "contact dot " + std::to_string(up));
    f.expectLine({X, tip}, {X - w, tip + w}, 0.5, RED, 0.25, 99, 1.5, "tip flank");
    for (double y : {tip + w, tip + w + 2 * l})
        f.expectLine({X - w, y}, {X + w, y}, 0.25, RED, 2, 2, 0.5, "tip or body edge");
    for (double x : {X - w, X + w})
        f.expectLine({x, tip + w}, {x, tip + w + 2 * l}, 0.25, RED, 2, 2, 0.5, "body side");
}

// The single-curve view at a step and zoom, the follower only at the start zoom.
void expectSingleView(Picture& f, int curve, int step, double z)
{
    const std::string title = curve < 7 ? "(" + std::to_string(curve) + ") " + NAMES[curve]
                                        : "(7) 2 intermittent points given cam curve";
    expectChartFrames(f, curve, step, z);
    for (int chart = 0; chart < 3; chart++)
        f.expectDrawn(chartLine(curve, chart, z), GREEN, {{chartPoint(curve, chart, step, z)}}, "chart line");
    expectMarkersAndBaseCircle(f, curve, step, step, z);
    const Line contour = polyline(300, [=](int k) { return camPoint(curve, step, k, z); });
    f.expectDrawn(contour, RED, {}, "contour");
    // Missing, the segment that closes the contour would leave a gap of less than 2 pixels: checked to the pixel,
    // away from the contact dot.
    f.expect(step < 5 || f.at(along(contour[299], contour[300], 0.5)) == RED, "closing segment");
    if (z == Z)
        expectFollower(f, curve, step);
    expectTexts(f, z, {{{-0.1, 0.95}, title}, {{0, 0.9}, "lift=060"}, {{0, 0.85}, "base circle=050"},
                       {{0, 0.8}, "setup angle=120"}});
}

// Comparison view: each curve's charts in its colour where later drawing leaves them, markers at the end of
// the rise, the third cam on top, the follower once, at rest, and the legend with the curves' names.
void expectComparison(Picture& f, const std::vector<int>& curves)
{
    const unsigned colours[3] = {RED, BLUE, GREEN};
    const char* const labels[3] = {"red   curve :", "blue  curve :", "green curve :"};
    std::vector<std::pair<P, std::string>> legend;
    for (int chart = 0; chart < 3; chart++) {
        std::vector<Line> later;
        for (int p = 0; p < 3; p++)
            later.push_back({chartPoint(curves[p], chart, 100, Z)});
        for (int p = 2; p >= 0; p--) {
            f.expectDrawn(chartLine(curves[p], chart, Z), colours[p], later, NAMES[curves[p]]);
            later.push_back(chartLine(curves[p], chart, Z));
        }
    }
    for (int p = 0; p < 3; p++)
        legend.insert(legend.end(), {{{-0.1, 0.95 - 0.05 * p}, labels[p]}, {{0.2, 0.95 - 0.05 * p}, NAMES[curves[p]]}});
    f.expectDrawn(polyline(300, [&](int k) { return camPoint(curves[2], 0, k, Z); }), GREEN, {{camPoint(0, 0, 0, Z)}},
                  "third cam");
    expectMarkersAndBaseCircle(f, curves[2], 100, 0, Z);
    expectFollower(f, curves[0], 0);
    expectTexts(f, Z, legend);
}

std::string commandOutput(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = fgetc(pipe)) != EOF;)
            output += char(c);
        pclose(pipe);
    }
    return output;
}

// The private Xvfb, and a window of this process off the screen for the reference texts, for as long as it lives.
struct PrivateScreen {
    bool up = startXvfb();
    PrivateScreen()
    {
        int argc = 1;
        char name[] = "e2e_test", *argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitWindowPosition(1100, 0);
        glutInitWindowSize(800, 800);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
        glutCreateWindow("reference text");
        glClearColor(1, 1, 1, 1);
        glEnable(GL_LIGHTING);
        // An X error (about a window gone with its program) fails a check instead of ending this process.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~PrivateScreen()
    {
        glutExit();
        stopXvfb();
    }
};

// What the window shows, read from the screen (its top row and left column lie off it, at -1, without a window
// manager), until it is what expectations want; what was wrong at the timeout.
std::string picture(unsigned long window, const std::function<void(Picture&)>& expectations)
{
    Display* display = glXGetCurrentDisplay();
    Picture f = {std::vector<unsigned>(800 * 800), "timeout"};
    for (auto start = PtySession::Clock::now(); !f.wrong.empty() && PtySession::within(start);) {
        int x = 0, y = 0;
        ::Window root = DefaultRootWindow(display), child;
        XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
        XImage* image = XGetImage(display, root, std::max(x, 0), std::max(y, 0), 800 + std::min(x, 0),
                                  800 + std::min(y, 0), AllPlanes, ZPixmap);
        f.wrong = image ? "" : "no picture";
        for (int i = 0, c, r; image && i < 800 * 800; i++)
            f.pixels[i] = (c = i % 800 + std::min(x, 0)) < 0 || (r = i / 800 + std::min(y, 0)) < 0
                              ? 0 : XGetPixel(image, c, r) & 0xffffff;
        if (image) {
            XDestroyImage(image);
            expectations(f);
        }
    }
    return f.wrong.substr(0, 2000);
}

// Start-up with curve 7, its points typed ahead; in the window the steps, the zoom, a digit, two comparisons
// (a key sent as ESC [ 3 ~ fills the last two reads of the first), curve 7 again and ESC.
TEST(EndToEnd, ThroughEveryViewAndOutByEscape)
{
    PrivateScreen screen;
    ASSERT_TRUE(screen.up);
    // The tables the program builds, for the expected positions.
    appState.riseSteps = 100;
    appState.timeStep = 0.01;
    buildStandardCurves();
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(TWO_POINT_CURVE));
    PtySession run([] { execl(CAMCURVES_PATH, "camcurves", static_cast<char*>(nullptr)); });
    ASSERT_EQ(run.show(MENU), run.expected);
    // Keys are taken at once without echo, with ^C still live; numbers in canonical mode, echoed.
    EXPECT_EQ(run.waitForKeyRead().c_lflag & (ICANON | ECHO | ISIG), unsigned(ISIG));
    run.type("70.3,0.2,0.7,0.8\n");
    ASSERT_EQ(run.show(CURVE_LINES[7] + POINTS_PROMPT + POINTS_ERROR + POINTS_PROMPT), run.expected);
    EXPECT_TRUE(run.modesAsBefore());
    auto single = [](int curve, int step, double z) {
        return [=](Picture& f) { expectSingleView(f, curve, step, z); };
    };
    auto comparison = [](std::vector<int> curves) { return [=](Picture& f) { expectComparison(f, curves); }; };
    std::string steps = "t", refused = "0.7 0.2 0.3 0.8\n", points = "0.3 0.2 0.7 0.8\n";
    for (int i = 0; i < 101; i++)
        steps += " s";
    // Keys pressed in the window, then keys or a line typed on the console (a key once the program waits for
    // one), what the terminal shows then, and what the window shows then. In the window: the step held within
    // 0..100, 'r' and 't' reversing, a digit choosing a curve at step 0 in the same zoom; the window waits while
    // the console asks, and shows the comparison once the third key is read.
    const struct {
        std::string windowKeys, typed, shown;
        std::function<void(Picture&)> picture;
    } session[] = {{"", "0.1 0.1\n", "0.1 0.1\n", nullptr},
                   {"", "0.9 0.9\n", "0.9 0.9\n" + KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT, nullptr},
                   {"", points, points, single(7, 0, Z)},
                   {"3", "", "", single(3, 0, Z)},
                   {"r s s r s", "", "", single(3, 1, Z)},
                   {steps.substr(2), "", "", single(3, 100, Z)},
                   {steps.substr(0, 101), "", "", single(3, 50, Z)},
                   {"w", "", "", single(3, 50, Z * 0.9)},
                   {"6 s", "", "", single(6, 1, Z * 0.9)},
                   {"W", "", "", single(6, 1, Z)},
                   {"c", "5", KEY_HELP + COMPARISON_PROMPT + CURVE_LINES[5], nullptr},
                   {"", "\x1b[3~", "", comparison({5, 0, 0})},
                   {"c", "2", KEY_HELP + COMPARISON_PROMPT + CURVE_LINES[2], nullptr},
                   {"", "4", CURVE_LINES[4], nullptr},
                   {"", "6", CURVE_LINES[6], comparison({2, 4, 6})},
                   {"7", "", KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT, nullptr},
                   {"", refused, refused + POINTS_ERROR + POINTS_PROMPT, nullptr},
                   {"", points, points, single(7, 0, Z)}};
    std::string window;
    for (const auto& step : session) {
        std::string press = "xdotool key --window " + window + " " + step.windowKeys + " 2>/dev/null";
        ASSERT_TRUE(step.windowKeys.empty() || system(press.c_str()) == 0) << press;
        if (!step.typed.empty() && step.typed.back() != '\n')
            run.waitForKeyRead();
        run.type(step.typed);
        ASSERT_EQ(run.show(step.shown), run.expected) << "after " << step.windowKeys << step.typed;
        for (int tries = 0; tries < 200 && step.picture && window.empty(); tries++, usleep(50000))
            window = commandOutput("xdotool search --name 'W,w:' 2>/dev/null | tr -d '\\n'");
        ASSERT_TRUE(!step.picture || !window.empty()) << "no window";
        if (step.picture) {
            ASSERT_EQ(picture(std::stoul(window), step.picture), "") << "after " << step.windowKeys << step.typed;
        }
    }
    XWindowAttributes size;
    XGetWindowAttributes(glXGetCurrentDisplay(), std::stoul(window), &size);
    EXPECT_EQ(std::to_string(size.width) + "x" + std::to_string(size.height), "800x800");
    EXPECT_EQ(commandOutput("LC_ALL=C.UTF-8 xprop -id " + window + " _NET_WM_NAME"),
              "_NET_WM_NAME(UTF8_STRING) = \"" + WINDOW_TITLE + "\"\n");
    // ESC pressed and not released: the window is gone before a release could reach it.
    ASSERT_EQ(system(("xdotool keydown --window " + window + " Escape 2>/dev/null").c_str()), 0);
    int status = run.exitStatus();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(run.shown, run.expected);
    EXPECT_TRUE(run.modesAsBefore());
}

// Where no window can open, the program says so before the menu: one line on stderr naming the display, nothing
// shown on the terminal, its modes untouched, status 1. DISPLAY (unset if null), -display's name, what to name.
TEST(NoDisplay, OneLineOnStderrBeforeTheMenuAndStatusOne)
{
    const char* const cases[][3] = {{nullptr, nullptr, "DISPLAY is not set"}, {":4093", nullptr, "\":4093\""},
                                    {":4093", ":4094", "\":4094\""}};
    for (auto c : cases) {
        int errors[2];
        ASSERT_EQ(pipe(errors), 0);
        PtySession run([&] {
            c[0] ? setenv("DISPLAY", c[0], 1) : unsetenv("DISPLAY");
            dup2(errors[1], STDERR_FILENO);
            // Without the option the argument list ends at its first null.
            execl(CAMCURVES_PATH, "camcurves", c[1] ? "-display" : nullptr, c[1], static_cast<char*>(nullptr));
        });
        close(errors[1]);
        int status = run.exitStatus();
        char said[1024] = {};
        // A program still running (status -1) holds the pipe open: reading then would wait for ever.
        EXPECT_TRUE(status != -1 && read(errors[0], said, 1023) > 0 && strstr(said, c[2])) << said;
        EXPECT_EQ(strcspn(said, "\n") + 1, strlen(said)) << "not one line: " << said;
        close(errors[0]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_TRUE(run.shown.empty() && run.modesAsBefore()) << run.shown;
    }
}

}  // namespace
