// End-to-end: the built camcurves as a user runs it, console on a pseudo-terminal, window on a private Xvfb,
// every picture read from the screen and checked at positions computed from the curve tables.
// Window coordinates -1..1, y up, 400 pixels a unit at 800 x 800; model units times the zoom are window units.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
constexpr double Z = 0.004, PX = 1.0 / 400;
// Model geometry: the charts' origins at x = 50 and these y, T = 1 150 further on, their value units (S lift 60,
// V lift / 2, A lift / 6); the cam centre at (-100, 0), base radius 50, lift 60, turned 1.2 degrees a step.
constexpr double CHART_Y[3] = {100, 0, -100}, UNIT[3] = {60, 30, 10};

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

// The window as the screen shows it (pixels 0xRRGGBB, rows from the top), and what was found wrong in it.
struct Picture {
    int height;
    std::vector<unsigned> pixels;
    std::string wrong;

    P pixel(P p) const { return {(p.x + 1) * 400, (1 - p.y) * height / 2}; }
    unsigned atPixel(P q) const
    {
        int c = int(std::floor(q.x)), r = int(std::floor(q.y));
        return c < 0 || r < 0 || c >= 800 || r >= height ? 0 : pixels[r * 800 + c];
    }
    // The pixel of p moved right and up by whole or fractional pixels.
    unsigned at(P p, double right = 0, double up = 0) const { return atPixel({pixel(p).x + right, pixel(p).y - up}); }
    void expect(bool ok, const std::string& what) { wrong += ok ? "" : what + "\n"; }
    // Distance in pixels from p to the nearest of lines (a line of one vertex is a point).
    double distance(P p, const std::vector<Line>& lines) const
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
    // Across segment a-b at fraction t, 6 pixels either side in quarter pixels: the centre of the run of colour
    // off the segment, and its width in pixels (-1 if the colour shows in two runs, 0 if not at all). Points
    // on a 1/1024 pixel grid add the quarter steps exactly, so none lands by rounding on the wrong side of an edge.
    P crossing(P a, P b, double t, unsigned colour) const
    {
        P pa = pixel(a), pb = pixel(b), c = pixel(along(a, b, t));
        double length = std::hypot(pb.x - pa.x, pb.y - pa.y), first = 99, last = -99, count = 0;
        for (double s = -6; s <= 6; s += 0.25)
            if (atPixel({std::round(c.x * 1024) / 1024 + s * (pa.y - pb.y) / length,
                         std::round(c.y * 1024) / 1024 + s * (pb.x - pa.x) / length}) == colour)
                first = std::fmin(first, s), last = s, count += 0.25;
        return {(first + last + 0.25) / 2, count == 0 ? 0 : count == last - first + 0.25 ? count : -1};
    }
    // A line of width pixels centred on segment a-b at fraction t, both to half a pixel.
    void expectLine(P a, P b, double t, unsigned colour, double width, const std::string& what)
    {
        P c = crossing(a, b, t, colour);
        expect(std::fabs(c.x) <= 0.5 && std::fabs(c.y - width) <= 0.5, what + " off by " + std::to_string(c.x) +
                                                                           ", width " + std::to_string(c.y));
    }
    // colour within a pixel of the middle of every segment of line that later drawing leaves 6 pixels clear.
    void expectDrawn(const Line& line, unsigned colour, const std::vector<Line>& later, const std::string& what)
    {
        for (size_t k = 1; k < line.size(); k++) {
            P m = along(line[k - 1], line[k], 0.5);
            bool seen = false;
            for (P d : {P{0, 0}, P{-0.7, 0}, P{0.7, 0}, P{0, -0.7}, P{0, 0.7}, P{0.7, 0.7}, P{-0.7, -0.7}, P{0.7, -0.7},
                        P{-0.7, 0.7}})
                seen = seen || at(m, d.x, d.y) == colour;
            expect(seen || distance(m, later) <= 6, what + " " + std::to_string(k));
        }
    }
};

// Each frame line 2 pixels wide on its place (in model units from its chart's origin) and ending there,
// checked where the curve and its marker leave it clear.
void expectChartFrames(Picture& f, int curve, int step, double z)
{
    const struct {
        int chart;
        double x1, y1, x2, y2;
        unsigned colour;
    } lines[] = {{0, 0, 0, 150, 0, RED},    {0, 0, 0, 0, 60, RED},       {0, 0, 60, 150, 60, BLUE},
                 {0, 150, 0, 150, 60, RED}, {1, 0, 0, 150, 0, RED},      {1, 0, 30, 150, 30, BLUE},
                 {1, 0, 60, 150, 60, BLUE}, {1, 0, 0, 0, 65, RED},       {1, 150, 0, 150, 60, RED},
                 {2, 0, 0, 150, 0, RED},    {2, 0, 30, 150, 30, BLUE},   {2, 0, -30, 150, -30, BLUE},
                 {2, 0, 60, 150, 60, BLUE}, {2, 0, -60, 150, -60, BLUE}, {2, 0, 65, 0, -65, RED},
                 {2, 150, 60, 150, -60, RED}};
    std::vector<Line> drawn;
    for (int chart = 0; chart < 3; chart++)
        drawn.insert(drawn.end(), {chartLine(curve, chart, z), {chartPoint(curve, chart, step, z)}});
    for (const auto& line : lines) {
        const std::string name = "frame line " + std::to_string(&line - lines);
        const P a = {z * (50 + line.x1), z * (CHART_Y[line.chart] + line.y1)};
        const P b = {z * (50 + line.x2), z * (CHART_Y[line.chart] + line.y2)};
        const double pixels = std::hypot(f.pixel(a).x - f.pixel(b).x, f.pixel(a).y - f.pixel(b).y);
        for (double t : {0.2, 0.4, 0.6, 0.8})
            if (f.distance(along(a, b, t), drawn) >= 10)
                f.expectLine(a, b, t, line.colour, 2, name);
        // Its colour 1.5 pixels short of each end, none 2.5 pixels beyond.
        for (double end : {0, 1})
            f.expect(f.distance(along(a, b, end), drawn) < 10 ||
                         (f.at(along(a, b, end + (end ? -1.5 : 1.5) / pixels)) == line.colour &&
                          f.at(along(a, b, end + (end ? 2.5 : -2.5) / pixels)) != line.colour),
                     name + " end " + std::to_string(end));
    }
}

// Window text as this process draws the same strings into its own window's back buffer, lit as all window
// text is, on white: the chart labels at their model positions, and the panel or legend. Pixels that later
// drawing covered with a line colour are left out.
void expectTexts(Picture& f, double z, std::vector<std::pair<P, std::string>> texts)
{
    const struct {
        int chart;
        double dx, dy;
        const char* text;
    } labels[] = {{0, 50, -20, "cam curve"},      {0, -20, 55, "1.0"},  {0, 140, -10, "1.0"},
                  {1, 40, -20, "velocity curve"}, {1, -20, 25, "1.0"},  {1, -20, 55, "2.0"},
                  {1, 140, -10, "1.0"},           {2, 30, -20, "acceleration curve"},
                  {2, -20, 25, "3.0"},            {2, -20, 55, "6.0"},  {2, -10, -5, "0"},
                  {2, -25, -35, "-3.0"},          {2, -25, -65, "-6.0"}, {2, 140, -10, "1.0"}};
    for (const auto& l : labels)
        texts.push_back({{z * (50 + l.dx), z * (CHART_Y[l.chart] + l.dy)}, l.text});
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
        differ += (f.pixels[i] == WHITE || f.pixels[i] == TEXT) && f.pixels[i] != unsigned(p[0] << 16 | p[1] << 8 | p[2]);
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
    const P centre = {z * -100, 0}, wide = f.crossing(centre, camPoint(curve, turned, 0, z, 50), 0.85, BLUE);
    f.expect(std::fabs(wide.x) <= 0.75 && wide.y >= 2.5 && wide.y <= 4.5, "wide radius line");
    for (int k : {-100, 100}) {
        P c = f.crossing(centre, camPoint(curve, turned, k, z, 110), 130.0 / 176, BLUE);
        f.expect(std::fabs(c.x) <= 1 && c.y > 0 && c.y <= 2.5, "marker line");
    }
    f.expectDrawn({camPoint(curve, turned, 150, z, 50), camPoint(curve, turned, 151, z, 50)}, BLUE, {}, "circle");
}

// The follower at step: the contact dot on the tip, the tip and body outlines 2 pixels wide, and the guide
// blocks (w wide, l high, from lift + 10 above the tip's rest point, 0.01 beside the body) where they always are.
void expectFollower(Picture& f, int curve, int step)
{
    const double X = Z * -100, tip = Z * (50 + 60 * curveSlot(curve)[step]), w = Z * 10, l = Z * 50, in = 1.5 * PX;
    for (double up : {0, 3, -3, -6})
        f.expect((f.at({X, tip}, 0, up) == RED) == (up > -6), "contact dot " + std::to_string(up));
    P flank = f.crossing({X, tip}, {X - w, tip + w}, 0.5, RED);
    f.expect(std::fabs(flank.x) <= 1.5 && flank.y > 0, "tip flank");
    for (double y : {tip + w, tip + w + 2 * l})
        f.expectLine({X - w, y}, {X + w, y}, 0.25, RED, 2, "tip or body edge");
    for (double x : {X - w, X + w})
        f.expectLine({x, tip + w}, {x, tip + w + 2 * l}, 0.25, RED, 2, "body side");
    for (double left : {X - 2 * w - 0.01, X + w + 0.01})
        for (P corner : {P{left, Z * 120}, P{left + w, Z * 120 + l}}) {
            P inward = {corner.x == left ? in : -in, corner.y == Z * 120 ? in : -in};
            f.expect(f.at({corner.x + inward.x, corner.y + inward.y}) == BLUE &&
                         f.at({corner.x - inward.x, corner.y + inward.y}) != BLUE &&
                         f.at({corner.x + inward.x, corner.y - inward.y}) != BLUE,
                     "guide block corner");
        }
}

// The single-curve view at a step and zoom; the follower at the start zoom, texts in the full 800 x 800 window.
void expectSingleView(Picture& f, int curve, int step, double z, const char* title)
{
    expectChartFrames(f, curve, step, z);
    for (int chart = 0; chart < 3; chart++)
        f.expectDrawn(chartLine(curve, chart, z), GREEN, {{chartPoint(curve, chart, step, z)}}, "chart line");
    expectMarkersAndBaseCircle(f, curve, step, step, z);
    const Line contour = polyline(300, [=](int k) { return camPoint(curve, step, k, z); });
    f.expectDrawn(contour, RED, {}, "contour");
    // Missing, the segment that closes the contour would leave a gap of less than 2 pixels: checked to the pixel,
    // away from the contact dot.
    f.expect(step < 5 || f.at(along(contour[299], contour[300], 0.5)) == RED, "closing segment");
    if (z == Z && f.height == 800)
        expectFollower(f, curve, step);
    if (f.height == 800)
        expectTexts(f, z, {{{-0.1, 0.95}, title}, {{0, 0.9}, "lift=060"}, {{0, 0.85}, "base circle=050"},
                           {{0, 0.8}, "setup angle=120"}});
}

// Comparison view: each curve's charts in its colour where later drawing leaves them, markers at the end of
// the rise, the third cam on top, the follower once, at rest, and the legend with the curves' names.
void expectComparison(Picture& f, const int curves[3], const char* const names[3])
{
    const unsigned colours[3] = {RED, BLUE, GREEN};
    const char* const labels[3] = {"red   curve :", "blue  curve :", "green curve :"};
    std::vector<std::pair<P, std::string>> legend;
    for (int chart = 0; chart < 3; chart++) {
        std::vector<Line> later;
        for (int p = 0; p < 3; p++)
            later.push_back({chartPoint(curves[p], chart, 100, Z)});
        for (int p = 2; p >= 0; p--) {
            f.expectDrawn(chartLine(curves[p], chart, Z), colours[p], later, names[p]);
            later.push_back(chartLine(curves[p], chart, Z));
        }
    }
    for (int p = 0; p < 3; p++)
        legend.insert(legend.end(), {{{-0.1, 0.95 - 0.05 * p}, labels[p]}, {{0.2, 0.95 - 0.05 * p}, names[p]}});
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

// camcurves on a pseudo-terminal from construction on, with the private Xvfb and the tables the program builds
// (for the expected positions), and a window of this process, off the screen, for the reference texts.
class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        serverUp = startXvfb();
        appState.riseSteps = 100;
        appState.timeStep = 0.01;
        buildStandardCurves();
        buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(TWO_POINT_CURVE));
        int argc = 1;
        char name[] = "e2e_test", *argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitWindowPosition(1100, 0);
        glutInitWindowSize(800, 800);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
        glutCreateWindow("reference text");
        glClearColor(1, 1, 1, 1);
        glEnable(GL_LIGHTING);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    static void TearDownTestSuite()
    {
        glutExit();
        stopXvfb();
    }
    void SetUp() override { ASSERT_TRUE(serverUp); }

    // Presses the start key once the menu shows, and finds the window: its id, place and size.
    void start(const std::string& key, const std::string& printed)
    {
        ASSERT_EQ(run.show(MENU), run.expected);
        run.waitForKeyRead();
        run.type(key);
        ASSERT_EQ(run.show(printed), run.expected);
        for (int tries = 0; tries < 400 && window.empty(); tries++, usleep(50000))
            window = commandOutput("xdotool search --name 'W,w:' 2>/dev/null | tr -d '\\n'");
        const std::string placement = commandOutput(
            "xwininfo -id " + window + " | sed -n 's/^ *\\(Absolute upper-left [XY]\\|Width\\|Height\\): *//p'");
        ASSERT_EQ(sscanf(placement.c_str(), "%d %d %d %d", &left, &top, &width, &height), 4) << placement;
    }
    void xdotool(const std::string& command, const std::string& arguments)
    {
        ASSERT_EQ(system(("xdotool " + command + " " + window + " " + arguments + " 2>/dev/null").c_str()), 0);
    }
    // Reads the screen until the window shows what expectations want; what was wrong at the timeout.
    std::string picture(const std::function<void(Picture&)>& expectations, int rows = 800)
    {
        Picture f = {rows, {}, "timeout"};
        for (auto start = std::chrono::steady_clock::now();
             !f.wrong.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(20);) {
            f.wrong = readXvfbScreen(left, top, 800, rows, 0, &f.pixels) ? "" : "no screen";
            if (f.wrong.empty())
                expectations(f);
        }
        return f.wrong.substr(0, 2000);
    }
    std::string singleView(int curve, int step, double z, const char* title, int rows = 800)
    {
        return picture([&](Picture& f) { expectSingleView(f, curve, step, z, title); }, rows);
    }

    static bool serverUp;
    PtySession run{[] { execl(CAMCURVES_PATH, "camcurves", static_cast<char*>(nullptr)); }};
    std::string window;
    int left = 0, top = 0, width = 0, height = 0;
};
bool EndToEnd::serverUp;

TEST_F(EndToEnd, ThroughEveryViewAndOutByEscape)
{
    ASSERT_NO_FATAL_FAILURE(start("3", CURVE_LINES[3] + KEY_HELP + CURVE_LINES[3]));
    EXPECT_EQ(std::to_string(width) + "x" + std::to_string(height), "800x800");
    EXPECT_EQ(commandOutput("LC_ALL=C.UTF-8 xprop -id " + window + " _NET_WM_NAME"),
              "_NET_WM_NAME(UTF8_STRING) = \"" + WINDOW_TITLE + "\"\n");
    const char* const TRAPEZOID = "(3) modified trapezoid cam curve";
    ASSERT_EQ(singleView(3, 0, Z, TRAPEZOID), "");
    // The step is held within 0..100; 'r' and 't' reverse; a digit chooses a curve at step 0, keeping the zoom.
    std::string steps = "t";
    for (int i = 0; i < 101; i++)
        steps += " s";
    const struct {
        std::string keys;
        int curve, step;
        double z;
        const char* title;
    } views[] = {{"r s s r s", 3, 1, Z, TRAPEZOID},
                 {steps.substr(2), 3, 100, Z, TRAPEZOID},
                 {steps.substr(0, 101), 3, 50, Z, TRAPEZOID},
                 {"w", 3, 50, Z * 0.9, TRAPEZOID},
                 {"6 s", 6, 1, Z * 0.9, "(6) modified constant velocity cam curve"},
                 {"W", 6, 1, Z, "(6) modified constant velocity cam curve"}};
    for (const auto& view : views) {
        xdotool("key --window", view.keys);
        ASSERT_EQ(singleView(view.curve, view.step, view.z, view.title), "") << "after " << view.keys;
    }

    // The window waits while the console asks; the comparison shows once the third key is read.
    xdotool("key --window", "c");
    ASSERT_EQ(run.show(KEY_HELP + COMPARISON_PROMPT), run.expected);
    const int compared[3] = {2, 4, 6};
    for (int curve : compared) {
        run.waitForKeyRead();
        run.type(std::to_string(curve));
        ASSERT_EQ(run.show(CURVE_LINES[curve]), run.expected);
    }
    const char* const names[3] = {"cycloid cam curve", "modified sine cam curve", "modified constant velocity cam curve"};
    ASSERT_EQ(picture([&](Picture& f) { expectComparison(f, compared, names); }), "");

    // The numbers are read in canonical mode: the terminal echoes each typed line.
    xdotool("key --window", "7");
    ASSERT_EQ(run.show(KEY_HELP + CURVE_LINES[7] + POINTS_PROMPT), run.expected);
    run.type("0.7 0.2 0.3 0.8\n");
    ASSERT_EQ(run.show("0.7 0.2 0.3 0.8\n" + POINTS_ERROR + POINTS_PROMPT), run.expected);
    run.type("0.3 0.2 0.7 0.8\n");
    ASSERT_EQ(run.show("0.3 0.2 0.7 0.8\n"), run.expected);
    ASSERT_EQ(singleView(7, 0, Z, "(7) 2 intermittent points given cam curve"), "");
    // The picture stretches with the window.
    xdotool("windowsize", "800 400");
    ASSERT_EQ(singleView(7, 0, Z, nullptr, 400), "");

    xdotool("keydown --window", "Escape");
    int status = run.exitStatus();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(run.shown, run.expected);
    EXPECT_TRUE(run.modesAsBefore());
}

// What a window manager sends when the user closes the window: the program ends with status 0.
TEST_F(EndToEnd, ClosingTheWindowEndsWithStatusZero)
{
    ASSERT_NO_FATAL_FAILURE(start("5", CURVE_LINES[5] + KEY_HELP + CURVE_LINES[5]));
    ASSERT_EQ(singleView(5, 0, Z, "(5) Gutman F-3 cam curve"), "");
    Display* display = glXGetCurrentDisplay();
    XEvent event = {};
    event.xclient = {ClientMessage, 0, False, display, std::stoul(window), XInternAtom(display, "WM_PROTOCOLS", False), 32,
                     {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    int status = run.exitStatus();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(run.modesAsBefore());
}

}  // namespace
