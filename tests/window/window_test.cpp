// Window tests: the real freeglut window on a private Xvfb, every frame read back from the screen as shown.
// Window coordinates -1..1 with y up; pixels counted as columns from the left and rows from the top.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "app/window.h"
#include "curves/motion_tables.h"
#include "render/chart_frames.h"
#include "tests/support/expected_console.h"
#include "tests/support/xvfb_server.h"

namespace {

constexpr unsigned WHITE = 0xffffff, TEXT = 0x0a0a0a, RED = 0xff0000, GREEN = 0x00ff00, BLUE = 0x0000ff;
constexpr unsigned OFF_SCREEN = 0xff000000;
constexpr double Z = 0.004;
constexpr int N = 100;
constexpr double ANGLE_STEP = TWO_PI / 3 / N;  // 1.2 degrees a step
// Model geometry: chart origins (x, y), time axis length, value unit per chart (S lift, V lift/2, A lift/6),
// cam centre x (y = 0), base radius, lift, follower half width and half length.
constexpr double CHART_X = 50, CHART_Y[3] = {100, 0, -100}, CHART_W = 150, UNIT[3] = {60, 30, 10};
constexpr double CAM_X = -100, R0 = 50, LIFT = 60, HALF_W = 10, HALF_L = 50;
constexpr double PX = 1.0 / 400;  // one pixel in window units at 800 x 800

const char* const TITLES[8] = {"(0) parabolic cam curve", "(1) harmonic cam curve", "(2) cycloid cam curve",
                               "(3) modified trapezoid cam curve", "(4) modified sine cam curve",
                               "(5) Gutman F-3 cam curve", "(6) modified constant velocity cam curve",
                               "(7) 2 intermittent points given cam curve"};
const char* const NAMES[7] = {"parabolic cam curve", "harmonic cam curve", "cycloid cam curve",
                              "modified trapezoid cam curve", "modified sine cam curve", "Gutman F-3 cam curve",
                              "modified constant velocity cam curve"};

struct P {
    double x, y;
};
using Line = std::vector<P>;

double sample(int curve, int row, int i) { return curveSlot(curve)[row * ROW_LENGTH + i]; }
P chartPoint(int curve, int chart, int i, double z)
{
    return {z * (CHART_X + CHART_W / N * i), z * (CHART_Y[chart] + UNIT[chart] * sample(curve, chart, i))};
}
// Cam angle from straight up, clockwise, about the cam centre (CAM_X, 0).
P camPoint(double angle, double r, double z) { return {z * (CAM_X + r * std::sin(angle)), z * r * std::cos(angle)}; }

// Window pixels 0xRRGGBB, rows from the top.
struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned at(int column, int row) const
    {
        return column < 0 || row < 0 || column >= width || row >= height ? OFF_SCREEN : pixels[row * width + column];
    }
    // Pixel coordinates of a window point: pixel (c, r) spans [c, c + 1) x [r, r + 1).
    P pixel(P p) const { return {(p.x + 1) * width / 2, (1 - p.y) * height / 2}; }
    unsigned atPixel(P q) const { return at(int(std::floor(q.x)), int(std::floor(q.y))); }
    // The pixel holding p moved right and up by whole or fractional pixels.
    unsigned atPoint(P p, double right = 0, double up = 0) const
    {
        P q = pixel(p);
        return atPixel({q.x + right, q.y - up});
    }
};

Display* display() { return glXGetCurrentDisplay(); }
::Window windowId() { return glXGetCurrentDrawable(); }

// What the screen shows in the window: Xvfb's screen file, an XWD image of 32-bit pixels B G R X.
Frame shownFrame()
{
    XSync(display(), False);
    XWindowAttributes attributes;
    XGetWindowAttributes(display(), windowId(), &attributes);
    int left = 0, top = 0;
    ::Window child;
    XTranslateCoordinates(display(), windowId(), DefaultRootWindow(display()), 0, 0, &left, &top, &child);
    Frame f;
    f.width = attributes.width;
    f.height = attributes.height;
    readXvfbScreen(left, top, f.width, f.height, OFF_SCREEN, &f.pixels);
    return f;
}

// The text an independent drawing puts in the back buffer: the strings, lit as all window text is, on white.
struct Label {
    float x, y;
    std::string text;
};
Frame textReference(const std::vector<Label>& labels)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    for (const Label& label : labels) {
        glRasterPos2f(label.x, label.y);
        for (char c : label.text)
            glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, c);
    }
    glFinish();
    Frame f;
    f.width = WINDOW_WIDTH;
    f.height = WINDOW_HEIGHT;
    std::vector<unsigned char> rgb(f.width * f.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, f.width, f.height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int r = 0; r < f.height; r++)
        for (int c = 0; c < f.width; c++) {
            const unsigned char* p = &rgb[((f.height - 1 - r) * f.width + c) * 3];
            f.pixels.push_back((p[0] << 16) | (p[1] << 8) | p[2]);
        }
    return f;
}

// The chart labels at their model positions from the chart origins, which move with the zoom.
std::vector<Label> chartLabels(double z)
{
    struct {
        int chart;
        double dx, dy;
        const char* text;
    } const table[] = {{0, 50, -20, "cam curve"},   {0, -20, 55, "1.0"},  {0, 140, -10, "1.0"},
                       {1, 40, -20, "velocity curve"}, {1, -20, 25, "1.0"}, {1, -20, 55, "2.0"},
                       {1, 140, -10, "1.0"},        {2, 30, -20, "acceleration curve"},
                       {2, -20, 25, "3.0"},         {2, -20, 55, "6.0"},  {2, -10, -5, "0"},
                       {2, -25, -35, "-3.0"},       {2, -25, -65, "-6.0"}, {2, 140, -10, "1.0"}};
    std::vector<Label> labels;
    for (const auto& l : table)
        labels.push_back({float(z * (CHART_X + l.dx)), float(z * (CHART_Y[l.chart] + l.dy)), l.text});
    return labels;
}

// Pixels where the frame shows white or text but not what the reference shows; pixels that later drawing
// covered with a line colour are left out.
int textMismatches(const Frame& shown, const Frame& reference)
{
    int count = 0;
    for (size_t i = 0; i < shown.pixels.size(); i++)
        if ((shown.pixels[i] == WHITE || shown.pixels[i] == TEXT) && shown.pixels[i] != reference.pixels[i])
            count++;
    return count;
}

int differingPixels(const Frame& a, const Frame& b)
{
    if (a.pixels.size() != b.pixels.size())
        return -1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        count += a.pixels[i] != b.pixels[i];
    return count;
}

// Some pixel whose centre lies within radius pixels of p shows colour.
bool colourNear(const Frame& f, P p, unsigned colour, double radius)
{
    P q = f.pixel(p);
    for (int c = int(q.x - radius) - 1; c <= int(q.x + radius) + 1; c++)
        for (int r = int(q.y - radius) - 1; r <= int(q.y + radius) + 1; r++)
            if (std::hypot(c + 0.5 - q.x, r + 0.5 - q.y) <= radius && f.at(c, r) == colour)
                return true;
    return false;
}

// Distance in pixels from p to the polyline (a single point when it has one vertex).
double pixelDistance(const Frame& f, P p, const Line& line)
{
    P q = f.pixel(p);
    double nearest = 1e9;
    for (size_t k = 0; k < line.size(); k++) {
        P a = f.pixel(line[k]), b = f.pixel(line[k + 1 < line.size() ? k + 1 : k]);
        double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
        double t = l2 > 0 ? std::fmax(0, std::fmin(1, ((q.x - a.x) * dx + (q.y - a.y) * dy) / l2)) : 0;
        nearest = std::fmin(nearest, std::hypot(q.x - a.x - t * dx, q.y - a.y - t * dy));
    }
    return nearest;
}

double pixelDistance(const Frame& f, P p, const std::vector<Line>& lines)
{
    double nearest = 1e9;
    for (const Line& line : lines)
        nearest = std::fmin(nearest, pixelDistance(f, p, line));
    return nearest;
}

// Scans across the segment a-b at fraction t, 6 pixels either side in quarter pixels, for colour:
// the run's centre off the segment and its width in pixels (width -1 if the colour shows in two runs).
struct Crossing {
    double centre, width;
};
Crossing crossing(const Frame& f, P a, P b, double t, unsigned colour)
{
    P pa = f.pixel(a), pb = f.pixel(b);
    double dx = pb.x - pa.x, dy = pb.y - pa.y, length = std::hypot(dx, dy);
    // On a 1/1024 pixel grid the quarter steps add exactly: a point a rounding error short of a pixel
    // edge would otherwise land on either side of it.
    P c = {std::round((pa.x + t * dx) * 1024) / 1024, std::round((pa.y + t * dy) * 1024) / 1024};
    double first = 99, last = -99;
    int count = 0;
    for (double s = -6; s <= 6; s += 0.25)
        if (f.atPixel({c.x - s * dy / length, c.y + s * dx / length}) == colour) {
            first = std::fmin(first, s);
            last = s;
            count++;
        }
    if (count == 0)
        return {0, 0};
    double width = last - first + 0.25;
    return {(first + last + 0.25) / 2, count * 0.25 == width ? width : -1};
}

Line chartLine(int curve, int chart, double z)
{
    Line line;
    for (int i = 0; i <= N; i++)
        line.push_back(chartPoint(curve, chart, i, z));
    return line;
}

// Axes, grid lines and end lines in model units from the chart origin (T = 1 at 150, the value unit at 60).
struct FrameLine {
    int chart;
    double x1, y1, x2, y2;
    unsigned colour;
    const char* name;
};
const FrameLine FRAME_LINES[] = {
    {0, 0, 0, 150, 0, RED, "S time axis"},   {0, 0, 0, 0, 60, RED, "S value axis"},
    {0, 0, 60, 150, 60, BLUE, "S = 1"},      {0, 150, 0, 150, 60, RED, "S end line"},
    {1, 0, 0, 150, 0, RED, "V time axis"},   {1, 0, 30, 150, 30, BLUE, "V = 1"},
    {1, 0, 60, 150, 60, BLUE, "V = 2"},      {1, 0, 0, 0, 65, RED, "V value axis"},
    {1, 150, 0, 150, 60, RED, "V end line"}, {2, 0, 0, 150, 0, RED, "A time axis"},
    {2, 0, 30, 150, 30, BLUE, "A = 3"},      {2, 0, -30, 150, -30, BLUE, "A = -3"},
    {2, 0, 60, 150, 60, BLUE, "A = 6"},      {2, 0, -60, 150, -60, BLUE, "A = -6"},
    {2, 0, 65, 0, -65, RED, "A value axis"}, {2, 150, 60, 150, -60, RED, "A end line"}};

// Every frame line is 2 pixels wide and centred on its position, checked where the single-curve view's
// polylines and markers leave it clear.
void expectChartFrames(const Frame& f, double z, int curve, int step)
{
    std::vector<Line> drawn;
    for (int chart = 0; chart < 3; chart++) {
        drawn.push_back(chartLine(curve, chart, z));
        drawn.push_back({chartPoint(curve, chart, step, z)});
    }
    for (const FrameLine& line : FRAME_LINES) {
        P a = {z * (CHART_X + line.x1), z * (CHART_Y[line.chart] + line.y1)};
        P b = {z * (CHART_X + line.x2), z * (CHART_Y[line.chart] + line.y2)};
        int checked = 0;
        for (double t : {0.2, 0.4, 0.6, 0.8}) {
            if (pixelDistance(f, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, drawn) < 10)
                continue;
            Crossing c = crossing(f, a, b, t, line.colour);
            EXPECT_EQ(c.width, 2) << line.name << " at t = " << t << ", zoom " << z << ", " << f.height << " rows";
            EXPECT_LE(std::fabs(c.centre), 0.5) << line.name << " at t = " << t << ", zoom " << z;
            checked++;
        }
        EXPECT_GE(checked, 2) << line.name;
        // The line ends where it should: its colour 1.5 pixels inside each end, not 2.5 pixels beyond it.
        for (int end = 0; end < 2; end++) {
            P from = f.pixel(end ? a : b), to = f.pixel(end ? b : a);
            double length = std::hypot(to.x - from.x, to.y - from.y);
            P u = {(to.x - from.x) / length, (to.y - from.y) / length};
            P inside = {to.x - 1.5 * u.x, to.y - 1.5 * u.y}, beyond = {to.x + 2.5 * u.x, to.y + 2.5 * u.y};
            if (pixelDistance(f, end ? b : a, drawn) < 10)
                continue;
            EXPECT_EQ(f.atPixel(inside), line.colour) << line.name << " short of its end " << end << ", zoom " << z;
            EXPECT_NE(f.atPixel(beyond), line.colour) << line.name << " beyond its end " << end << ", zoom " << z;
        }
    }
}

// The polylines through the samples in colour, and a red marker of radius 4 pixels at the step on each chart.
void expectMotionCharts(const Frame& f, int curve, int step, double z, unsigned colour)
{
    for (int chart = 0; chart < 3; chart++) {
        for (int i : {10, 30, 50, 70, 90})
            if (std::abs(i - step) > 4) {
                EXPECT_TRUE(colourNear(f, chartPoint(curve, chart, i, z), colour, 1))
                    << "curve " << curve << " chart " << chart << " sample " << i;
            }
        P m = chartPoint(curve, chart, step, z);
        EXPECT_EQ(f.atPoint(m), RED) << "marker of chart " << chart << ", curve " << curve << " at step " << step;
        EXPECT_EQ(f.atPoint(m, -3, 0), RED) << "marker left, chart " << chart << " step " << step;
        EXPECT_EQ(f.atPoint(m, 3, 0), RED) << "marker right, chart " << chart << " step " << step;
        for (P d : {P{5, 5}, P{-5, 5}, P{5, -5}, P{-5, -5}})
            EXPECT_NE(f.atPoint(m, d.x, d.y), RED) << "marker too big, chart " << chart << " step " << step;
    }
}

// The follower of curve at step: tip on the contact dot, tip top edge, body; guide blocks where they always are.
void expectFollower(const Frame& f, int curve, int step, double z)
{
    const double X = z * CAM_X, tip = z * (R0 + LIFT * sample(curve, 0, step)), w = z * HALF_W, l = z * HALF_L;
    EXPECT_EQ(f.atPoint({X, tip}), RED) << "contact dot at step " << step;
    EXPECT_EQ(f.atPoint({X, tip}, 0, 3), RED) << "contact dot top at step " << step;
    EXPECT_EQ(f.atPoint({X, tip}, 0, -3), RED) << "contact dot bottom at step " << step;
    EXPECT_NE(f.atPoint({X, tip}, 0, -6), RED) << "below the contact dot at step " << step;
    Crossing flank = crossing(f, {X, tip}, {X - w, tip + w}, 0.5, RED);
    EXPECT_LE(std::fabs(flank.centre), 1.5) << "tip flank at step " << step;
    EXPECT_GT(flank.width, 0) << "tip flank at step " << step;
    struct {
        P a, b;
        const char* name;
    } const edges[] = {{{X - w, tip + w}, {X + w, tip + w}, "tip top edge"},
                       {{X - w, tip + w + 2 * l}, {X + w, tip + w + 2 * l}, "body top"},
                       {{X - w, tip + w}, {X - w, tip + w + 2 * l}, "body left side"},
                       {{X + w, tip + w}, {X + w, tip + w + 2 * l}, "body right side"}};
    for (const auto& e : edges) {
        Crossing c = crossing(f, e.a, e.b, 0.25, RED);
        EXPECT_EQ(c.width, 2) << e.name << " at step " << step;
        EXPECT_LE(std::fabs(c.centre), 0.5) << e.name << " at step " << step;
    }
    // Guide blocks: w wide, l high, from z (lift + 10) above the tip's rest point, 0.01 beside the body.
    const double bottom = z * (R0 + LIFT + 10);
    for (double left : {X - 2 * w - 0.01, X + w + 0.01}) {
        const double right = left + w, top = bottom + l, midX = left + w / 2, midY = bottom + l / 2;
        for (P corner : {P{left, bottom}, P{right, bottom}, P{left, top}, P{right, top}}) {
            P inside = {corner.x + (corner.x == left ? 1.5 : -1.5) * PX, corner.y + (corner.y == bottom ? 1.5 : -1.5) * PX};
            EXPECT_EQ(f.atPoint(inside), BLUE) << "guide block corner at x " << corner.x << ", step " << step;
        }
        for (P outside : {P{left - 1.5 * PX, midY}, P{right + 1.5 * PX, midY}, P{midX, bottom - 1.5 * PX},
                          P{midX, top + 1.5 * PX}})
            EXPECT_NE(f.atPoint(outside), BLUE) << "beyond a guide block at (" << outside.x << ", " << outside.y << ")";
    }
}

// The cam of curve at step d: base circle lines turned clockwise by d steps, the contour over a full turn.
void expectCam(const Frame& f, int curve, int d, double z, unsigned colour)
{
    const P centre = {z * CAM_X, 0};
    const double theta = d * ANGLE_STEP, beta = TWO_PI / 3;
    Crossing wide = crossing(f, centre, camPoint(theta, R0, z), 0.85, BLUE);
    EXPECT_LE(std::fabs(wide.centre), 0.75) << "wide radius line at step " << d;
    EXPECT_TRUE(wide.width >= 2.5 && wide.width <= 4.5) << "wide radius line " << wide.width << " at step " << d;
    for (double marker : {theta - beta, theta + beta}) {
        Crossing c = crossing(f, centre, camPoint(marker, R0 + LIFT, z), 130.0 / 176, BLUE);
        EXPECT_LE(std::fabs(c.centre), 1) << "marker line at " << marker << " rad, step " << d;
        EXPECT_TRUE(c.width > 0 && c.width <= 2.5) << "marker line width " << c.width << " at step " << d;
    }
    for (int i : {5, 25, 50, 75})
        EXPECT_TRUE(colourNear(f, camPoint((d - i) * ANGLE_STEP, R0 + LIFT * sample(curve, 0, i), z), colour, 1.5))
            << "rise sample " << i << " at step " << d;
    for (int j : {25, 50, 75})
        EXPECT_TRUE(colourNear(f, camPoint((d - N - j) * ANGLE_STEP, R0 + LIFT, z), colour, 1.5))
            << "dwell " << j << " at step " << d;
    // The return reads the table backwards and ends, one turn on, where the rise began.
    for (int k : {25, 50, 75, 95})
        EXPECT_TRUE(colourNear(f, camPoint((d - 2 * N - k) * ANGLE_STEP, R0 + LIFT * sample(curve, 0, N - k), z),
                               colour, 1.5))
            << "return " << k << " at step " << d;
}

void pump(int times)
{
    for (int i = 0; i < times; i++) {
        glutMainLoopEvent();
        usleep(10000);
    }
}

template <class Done>
bool pumpUntil(Done done)
{
    for (int i = 0; i < 500 && !done(); i++)
        pump(1);
    return done();
}

// Runs action with input on standard input in place of the keyboard; gives what it printed.
template <class Action>
std::string withConsole(const std::string& input, Action action)
{
    int in[2];
    if (pipe(in) != 0 || write(in[1], input.data(), input.size()) != ssize_t(input.size()))
        return "(no pipe)";
    close(in[1]);
    dup2(in[0], STDIN_FILENO);
    close(in[0]);
    forgetConsoleInput();
    fflush(stdout);
    int savedOut = dup(STDOUT_FILENO);
    FILE* out = tmpfile();
    dup2(fileno(out), STDOUT_FILENO);
    action();
    fflush(stdout);
    dup2(savedOut, STDOUT_FILENO);
    close(savedOut);
    std::string printed;
    rewind(out);
    for (int c; (c = fgetc(out)) != EOF;)
        printed += char(c);
    fclose(out);
    return printed;
}

int glutArgc = 1;
char programName[] = "window_test";
char* glutArgv[] = {programName, nullptr};

// Start-up as the user does it with the start key(s), then the window up to its first frame.
bool openFirstWindow(const std::string& startKeys)
{
    withConsole(startKeys, runConsolePhase);
    openWindow(&glutArgc, glutArgv);
    return pumpUntil([] { return framesDrawn > 0; });
}

Frame firstFrame;
bool windowUp;

class WindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!startXvfb())
            return;
        windowUp = openFirstWindow("3");
        // Read before anything else draws: this is the frame the window showed first.
        firstFrame = shownFrame();
        pump(5);
    }
    void TearDown() override
    {
        if (windowUp)
            glutExit();
        stopXvfb();
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(windowUp);
        appState.lastKey = '3';
        appState.selectedCurve = 3;
        appState.compareCurves[0] = appState.compareCurves[1] = appState.compareCurves[2] = 0;
        appState.stepIndex = 0;
        appState.stepDirection = 1;
        appState.drawScale = Z;
    }
    // A key that must draw exactly one frame before it returns; the frame the screen then shows.
    static Frame press(unsigned char key)
    {
        int before = framesDrawn;
        onKey(key, 0, 0);
        EXPECT_EQ(framesDrawn - before, 1) << "frames drawn by key " << key;
        return shownFrame();
    }
    static Frame draw()
    {
        displayPass();
        return shownFrame();
    }
};

TEST_F(WindowTest, FirstFrameEqualsTheSecondPixelForPixel)
{
    int textPixels = 0;
    for (unsigned pixel : firstFrame.pixels)
        textPixels += pixel == TEXT;
    EXPECT_GT(textPixels, 1000) << "the first frame's labels are not near-black";
    EXPECT_EQ(differingPixels(firstFrame, draw()), 0);
}

TEST_F(WindowTest, ChartFramesAtZoomAndAfterOneW)
{
    expectChartFrames(draw(), Z, 3, 0);
    Frame zoomed = press('w');
    EXPECT_DOUBLE_EQ(appState.drawScale, Z * 0.9);
    expectChartFrames(zoomed, Z * 0.9, 3, 0);
}

TEST_F(WindowTest, MotionChartsFollowTheSamplesWithRedMarkersAtTheStep)
{
    for (int curve : {0, 2, 5, 6})
        for (int step : {0, 37, N}) {
            appState.selectedCurve = curve;
            appState.stepIndex = step;
            expectMotionCharts(draw(), curve, step, Z, GREEN);
        }
    // The cycloid's acceleration peaks at +-2 pi, beyond the +-6 grid lines, and is drawn there.
    appState.selectedCurve = 2;
    appState.stepIndex = 0;
    Frame f = draw();
    EXPECT_EQ(f.atPoint({Z * (CHART_X + CHART_W / 4), Z * (CHART_Y[2] + 60)}, 0, 4), GREEN);
    EXPECT_EQ(f.atPoint({Z * (CHART_X + CHART_W * 3 / 4), Z * (CHART_Y[2] - 60)}, 0, -4), GREEN);
}

TEST_F(WindowTest, CamAndFollowerAtStepsZeroOneAndN)
{
    for (int curve : {3, 2})
        for (int step : {0, 1, N}) {
            appState.selectedCurve = curve;
            appState.stepIndex = step;
            Frame f = draw();
            expectCam(f, curve, step, Z, RED);
            expectFollower(f, curve, step, Z);
        }
}

TEST_F(WindowTest, TextPanelAndLegendAsTheStringsDrawnDirectly)
{
    auto expectTexts = [](const Frame& shown, std::vector<Label> labels, const std::string& view) {
        std::vector<Label> all = chartLabels(appState.drawScale);
        all.insert(all.end(), labels.begin(), labels.end());
        EXPECT_EQ(textMismatches(shown, textReference(all)), 0) << view;
    };
    const std::vector<Label> numbers = {{0, 0.9f, "lift=060"}, {0, 0.85f, "base circle=050"},
                                        {0, 0.8f, "setup angle=120"}};
    for (int curve = 0; curve < 8; curve++) {
        appState.selectedCurve = curve;
        std::vector<Label> panel = numbers;
        panel.push_back({-0.1f, 0.95f, TITLES[curve]});
        expectTexts(draw(), panel, "text panel of curve " + std::to_string(curve));
    }
    appState.drawScale = Z * 0.9;
    std::vector<Label> panel = numbers;
    panel.push_back({-0.1f, 0.95f, TITLES[7]});
    expectTexts(draw(), panel, "text panel and chart labels at zoom 0.0036");

    appState.drawScale = Z;
    appState.lastKey = 'c';
    const int comparisons[][3] = {{2, 4, 6}, {1, 7, 5}, {2, 2, 2}, {0, 3, 7}};
    const char* const colourLabels[3] = {"red   curve :", "blue  curve :", "green curve :"};
    for (const auto& curves : comparisons) {
        std::vector<Label> legend;
        for (int i = 0; i < 3; i++) {
            appState.compareCurves[i] = curves[i];
            legend.push_back({-0.1f, float(0.95 - 0.05 * i), colourLabels[i]});
            if (curves[i] < 7)
                legend.push_back({0.2f, float(0.95 - 0.05 * i), NAMES[curves[i]]});
        }
        expectTexts(draw(), legend,
                    "legend of " + std::to_string(curves[0]) + std::to_string(curves[1]) + std::to_string(curves[2]));
    }
}

// The vertex first..last of line farthest from all of others, and that distance in pixels.
P clearVertex(const Frame& f, const Line& line, int first, int last, const std::vector<Line>& others, double* clearance)
{
    P best = line[first];
    *clearance = -1;
    for (int i = first; i <= last; i++) {
        double nearest = pixelDistance(f, line[i], others);
        if (nearest > *clearance) {
            *clearance = nearest;
            best = line[i];
        }
    }
    return best;
}

// Comparison view: each curve in the colour of its last position where later curves leave it, the third
// curve's cam over the others, markers on the end line, and the follower once, at zero lift.
void expectComparison(const Frame& f, const int curves[3])
{
    const unsigned colours[3] = {RED, BLUE, GREEN};
    Line baseCircle;
    for (int i = 0; i <= 120; i++)
        baseCircle.push_back(camPoint(i * TWO_PI / 120, R0, Z));
    auto camRise = [](int curve) {
        Line rise;
        for (int i = 0; i <= N; i++)
            rise.push_back(camPoint(-i * ANGLE_STEP, R0 + LIFT * sample(curve, 0, i), Z));
        return rise;
    };
    for (int p = 0; p < 3; p++) {
        const std::string name = "curve " + std::to_string(curves[p]) + " in position " + std::to_string(p);
        // The same curve chosen again later is drawn over it in that later colour.
        unsigned shows = colours[p];
        std::vector<Line> laterCharts[3], laterCams = {baseCircle};
        for (int q = p + 1; q < 3; q++) {
            if (curves[q] == curves[p]) {
                shows = colours[q];
                continue;
            }
            for (int chart = 0; chart < 3; chart++)
                laterCharts[chart].push_back(chartLine(curves[q], chart, Z));
            laterCams.push_back(camRise(curves[q]));
        }
        double clearance = 0;
        for (int chart = 0; chart < 3; chart++) {
            P vertex = clearVertex(f, chartLine(curves[p], chart, Z), 5, 95, laterCharts[chart], &clearance);
            if (clearance >= 5) {
                EXPECT_TRUE(colourNear(f, vertex, shows, 1)) << name << ", chart " << chart;
                if (shows != colours[p]) {
                    EXPECT_FALSE(colourNear(f, vertex, colours[p], 2)) << name << " shows under its later copy";
                }
            }
            P marker = chartPoint(curves[p], chart, N, Z);
            for (double right : {-3.0, 3.0})
                if (p == 2 || pixelDistance(f, marker, laterCharts[chart]) >= 8) {
                    EXPECT_EQ(f.atPoint(marker, right, 0), RED) << name << " end marker, chart " << chart;
                }
        }
        P vertex = clearVertex(f, camRise(curves[p]), 25, 90, laterCams, &clearance);
        if (clearance >= 2.5) {
            EXPECT_TRUE(colourNear(f, vertex, shows, 1)) << name << ", contour";
        }
    }
    // Where all three displacement curves run together, the last one drawn covers the others.
    P together = chartPoint(curves[2], 0, 2, Z);
    for (double up : {-1.0, 0.0, 1.0})
        EXPECT_EQ(f.atPoint(together, 0, up), GREEN);
    EXPECT_NE(f.atPoint(chartPoint(curves[0], 0, 0, Z), 3, 3), RED) << "a marker at step 0";
    expectCam(f, curves[2], 0, Z, GREEN);
    expectFollower(f, curves[0], 0, Z);
    EXPECT_NE(f.atPoint({Z * CAM_X, Z * (R0 + LIFT + HALF_W + 2 * HALF_L)}), RED) << "a lifted follower";
}

TEST_F(WindowTest, ComparisonViewRedBlueGreenAndOneFollower)
{
    appState.lastKey = 'c';
    const int views[][3] = {{2, 4, 6}, {2, 2, 5}, {0, 5, 1}};
    for (const auto& curves : views) {
        for (int i = 0; i < 3; i++)
            appState.compareCurves[i] = curves[i];
        SCOPED_TRACE("comparing " + std::to_string(curves[0]) + std::to_string(curves[1]) + std::to_string(curves[2]));
        expectComparison(draw(), curves);
    }
}

TEST_F(WindowTest, DigitKeysSelectResetTheStepAndRedraw)
{
    for (unsigned char key = '0'; key <= '6'; key++) {
        appState.stepIndex = 37;
        appState.stepDirection = -1;
        appState.drawScale = Z * 0.9;
        Frame f = press(key);
        EXPECT_EQ(appState.selectedCurve, key - '0');
        EXPECT_EQ(appState.stepIndex, 0);
        EXPECT_EQ(appState.stepDirection, 1);
        EXPECT_DOUBLE_EQ(appState.drawScale, Z * 0.9) << "digits keep the zoom";
        expectMotionCharts(f, key - '0', 0, Z * 0.9, GREEN);
    }
}

TEST_F(WindowTest, StepKeyHoldsWithinTheRiseAndReversesWithRAndT)
{
    for (int i = 1; i <= N + 2; i++) {
        Frame f = press('s');
        EXPECT_EQ(appState.stepIndex, std::min(i, N));
        if (i == 50 || i == N + 2) {
            expectMotionCharts(f, 3, appState.stepIndex, Z, GREEN);
            expectFollower(f, 3, appState.stepIndex, Z);
        }
    }
    press('r');
    EXPECT_EQ(appState.stepDirection, -1);
    press('s');
    EXPECT_EQ(appState.stepIndex, N - 1);
    press('t');
    EXPECT_EQ(appState.stepDirection, 1);
    press('s');
    EXPECT_EQ(appState.stepIndex, N);
    press('t');
    EXPECT_EQ(appState.stepDirection, -1);
    appState.stepIndex = 1;
    press('s');
    Frame f = press('s');
    EXPECT_EQ(appState.stepIndex, 0);
    expectMotionCharts(f, 3, 0, Z, GREEN);
    press('r');
    EXPECT_EQ(appState.stepDirection, 1);
}

TEST_F(WindowTest, ZoomOutThenInRestoresTheScale)
{
    Frame before = draw();
    press('w');
    Frame back = press('W');
    EXPECT_NEAR(appState.drawScale, Z, 1e-17);
    EXPECT_EQ(differingPixels(before, back), 0);
    for (int i = 0; i < 10; i++)
        press('w');
    EXPECT_NEAR(appState.drawScale, Z * std::pow(0.9, 10), 1e-17);
    press('W');
    EXPECT_NEAR(appState.drawScale, Z * std::pow(0.9, 9), 1e-17);
}

TEST_F(WindowTest, COpensTheComparisonDialogueThenOneRedisplay)
{
    press('w');
    appState.stepIndex = 5;
    int before = framesDrawn;
    std::string printed = withConsole("246", [] { onKey('c', 0, 0); });
    EXPECT_EQ(printed, expected::KEY_HELP + expected::COMPARISON_PROMPT + expected::CURVE_LINES[2] +
                           expected::CURVE_LINES[4] + expected::CURVE_LINES[6]);
    EXPECT_EQ(framesDrawn, before) << "the dialogue key drew by itself";
    const int curves[3] = {2, 4, 6};
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(appState.compareCurves[i], curves[i]);
    EXPECT_EQ(appState.selectedCurve, 3);
    EXPECT_EQ(appState.drawScale, Z);
    EXPECT_EQ(appState.stepIndex, 0);
    pump(10);
    EXPECT_EQ(framesDrawn - before, 1) << "frames after the dialogue";
    expectComparison(shownFrame(), curves);
    // Any other key that draws brings back the single-curve view.
    expectMotionCharts(press('w'), 3, 0, Z * 0.9, GREEN);
}

TEST_F(WindowTest, SevenAsksForThePointsThenOneRedisplay)
{
    appState.stepIndex = 40;
    appState.drawScale = Z * 0.9;
    int before = framesDrawn;
    std::string printed = withConsole("0.3 0.2 0.7 0.8\n", [] { onKey('7', 0, 0); });
    EXPECT_EQ(printed, expected::KEY_HELP + expected::CURVE_LINES[7] + expected::POINTS_PROMPT);
    EXPECT_EQ(framesDrawn, before) << "the dialogue key drew by itself";
    EXPECT_EQ(appState.selectedCurve, 7);
    EXPECT_NEAR(sample(7, 0, 30), 0.2, 1e-9);
    EXPECT_NEAR(sample(7, 0, 70), 0.8, 1e-9);
    EXPECT_EQ(appState.drawScale, Z);
    EXPECT_EQ(appState.stepIndex, 0);
    pump(10);
    EXPECT_EQ(framesDrawn - before, 1) << "frames after the dialogue";
    Frame f = shownFrame();
    expectMotionCharts(f, 7, 0, Z, GREEN);
    expectCam(f, 7, 0, Z, RED);
}

TEST_F(WindowTest, OtherKeysChangeOnlyTheLastKeyAndDrawNothing)
{
    appState.stepIndex = 12;
    appState.stepDirection = -1;
    for (unsigned char key : {'C', '8', '9', 'T', 'R', 'S', 'x', ' '}) {
        int before = framesDrawn;
        onKey(key, 0, 0);
        pump(3);
        EXPECT_EQ(framesDrawn, before) << "key " << key;
        EXPECT_EQ(appState.lastKey, key);
        EXPECT_EQ(appState.selectedCurve, 3);
        EXPECT_EQ(appState.stepIndex, 12);
        EXPECT_EQ(appState.stepDirection, -1);
        EXPECT_EQ(appState.drawScale, Z);
    }
}

// The child runs this program again, which opens its own window and presses ESC in it: a fork alone would
// share this process's X connection, and the child's exit would break it.
TEST_F(WindowTest, EscapeEndsTheProcessWithStatusZeroInEitherView)
{
    for (const char* startKeys : {"3", "c246"}) {
        pid_t child = fork();
        if (child == 0) {
            execl("/proc/self/exe", programName, "--press-escape", startKeys, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(child, 0);
        int status = -1;
        for (int i = 0; i < 2000 && waitpid(child, &status, WNOHANG) == 0; i++)
            usleep(10000);
        if (!WIFEXITED(status) && !WIFSIGNALED(status)) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "start keys " << startKeys << ": " << status;
    }
    // The child's window lay over this one; let the uncovered window be drawn again.
    pump(10);
}

TEST_F(WindowTest, AWindowOf800By400ShowsThePictureSqueezedToHalfHeight)
{
    Frame full = draw();
    int before = framesDrawn;
    glutReshapeWindow(800, 400);
    ASSERT_TRUE(pumpUntil([&] { return framesDrawn > before && shownFrame().height == 400; }));
    Frame squeezed = shownFrame();
    expectChartFrames(squeezed, Z, 3, 0);
    EXPECT_TRUE(colourNear(squeezed, {Z * CAM_X, Z * R0}, RED, 1)) << "contact dot";
    const double bodyTop = Z * (R0 + HALF_W + 2 * HALF_L);
    Crossing body = crossing(squeezed, {Z * (CAM_X - HALF_W), bodyTop}, {Z * (CAM_X + HALF_W), bodyTop}, 0.25, RED);
    EXPECT_EQ(body.width, 2) << "follower body top";
    EXPECT_LE(std::fabs(body.centre), 0.5) << "follower body top";
    for (int i : {20, 50, 80})
        EXPECT_TRUE(colourNear(squeezed, chartPoint(3, 0, i, Z), GREEN, 1)) << "S sample " << i;
    // The lowest drawing, the "-6.0" label and the acceleration axis at y = -0.66, comes to half the height.
    auto lowestRow = [](const Frame& f) {
        int lowest = -1;
        for (int r = 0; r < f.height; r++)
            for (int c = 0; c < f.width; c++)
                if (f.at(c, r) != WHITE && f.at(c, r) != OFF_SCREEN)
                    lowest = r;
        return lowest;
    };
    EXPECT_NEAR(lowestRow(full), (1 + 0.66) * 400, 6);
    EXPECT_NEAR(lowestRow(squeezed), (1 + 0.66) * 200, 6);
    before = framesDrawn;
    glutReshapeWindow(800, 800);
    ASSERT_TRUE(pumpUntil([&] { return framesDrawn > before && shownFrame().height == 800; }));
    EXPECT_EQ(differingPixels(full, shownFrame()), 0);
}

TEST_F(WindowTest, TitleShowsTheJapaneseCharactersAsUtf8)
{
    const std::string title = "カム曲線\u3000" "1-7:カム曲線選択, c:3種カム, W,w:拡大縮小\uff0cr:正逆転\uff0cs:継続";
    std::string command = "LC_ALL=C.UTF-8 xprop -id " + std::to_string(windowId()) + " _NET_WM_NAME";
    std::string output;
    if (FILE* in = popen(command.c_str(), "r")) {
        for (int c; (c = fgetc(in)) != EOF;)
            output += char(c);
        pclose(in);
    }
    EXPECT_EQ(output, "_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"\n");
}

// Child of the escape test: start-up and the window as the program runs them, then ESC.
int pressEscape(const char* startKeys)
{
    if (!openFirstWindow(startKeys))
        return 4;
    onKey(27, 0, 0);
    return 3;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--press-escape") == 0)
        return pressEscape(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WindowEnvironment);
    return RUN_ALL_TESTS();
}
