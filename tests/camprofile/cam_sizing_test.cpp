// The size search against the textbook's own formulas, written out here for a cycloid rise, dwell and return:
// the knife's pressure angle tan(phi) = s' / (r0 + s), a flat face's rho = r0 + s + s'', a roller's pitch curve
// bend from the polar form r = rp + s. Lengths in mm, angles in degrees, derivatives per radian.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "camdesign/cam_sizing.h"

static const double H = 60;

// The cycloid: S = T - sin(2 pi T) / (2 pi); rise over beta degrees, dwell 120°, the rise played back over beta,
// and the rest of the turn at zero lift.
struct Lift { double s, ds, dds; };
static Lift cycloid(double thetaDeg, double betaDeg = 120)
{
    thetaDeg = std::fmod(thetaDeg + 360, 360);
    const double beta = betaDeg * M_PI / 180, back = 2 * betaDeg + 120;
    if (thetaDeg > back || (thetaDeg > betaDeg && thetaDeg <= betaDeg + 120))
        return {thetaDeg > back ? 0 : H, 0, 0};
    const double u = thetaDeg <= betaDeg ? thetaDeg / betaDeg : (back - thetaDeg) / betaDeg;
    return {H * (u - std::sin(2 * M_PI * u) / (2 * M_PI)),
            (thetaDeg <= betaDeg ? 1 : -1) * H / beta * (1 - std::cos(2 * M_PI * u)),
            H / (beta * beta) * 2 * M_PI * std::sin(2 * M_PI * u)};
}

// The largest value of f over the turn: a scan at 0.01° and a golden section about its best sample.
static double largestOverTurn(const std::function<double(double)>& f)
{
    double best = -1e300, at = 0;
    for (int j = 0; j <= 36000; j++)
        if (f(j / 100.0) > best)
            best = f(j / 100.0), at = j / 100.0;
    double a = at - 0.01, b = at + 0.01;
    for (int i = 0; i < 60; i++) {
        const double x1 = b - 0.618 * (b - a), x2 = a + 0.618 * (b - a);
        (f(x1) > f(x2) ? b : a) = f(x1) > f(x2) ? x2 : x1;
    }
    return std::max(best, f((a + b) / 2));
}

static CamDesign cycloidCam(FollowerKind follower, double rollerRadius, double betaDeg = 120)
{
    CamDimensions shorthand;
    shorthand.law = 2, shorthand.riseDeg = shorthand.returnDeg = betaDeg;
    CamDesign cam = camDesignFor(shorthand);
    cam.follower = follower;
    cam.rollerRadius = rollerRadius;
    return cam;
}

TEST(CamSizing, SmallestRadiusMeetsTheTextbookLimitAndAThousandthLessDoesNot)
{
    const double tan30 = std::tan(30 * M_PI / 180);
    // How far each limit is exceeded at base radius r0 (> 0: it fails), by the formulas above.
    const auto pressure = [&](double r0) {
        return largestOverTurn([&](double t) {
            const Lift l = cycloid(t);
            return std::fabs(l.ds) / tan30 - (r0 + l.s);
        });
    };
    const auto cusp = [&](double r0) {
        return largestOverTurn([&](double t) { const Lift l = cycloid(t); return 0.001 - (r0 + l.s + l.dds); });
    };
    // A roller of 10 on a rise over 60°: its pitch curve r = r0 + 10 + s must nowhere bend tighter than twice the
    // roller's radius (1 / kappa >= 20); the rise's end binds, not the base circle.
    const auto bend = [&](double r0) {
        return largestOverTurn([&](double t) {
            const Lift l = cycloid(t, 60);
            const double r = r0 + 10 + l.s;
            const double kappa = (r * r + 2 * l.ds * l.ds - r * l.dds) / std::pow(r * r + l.ds * l.ds, 1.5);
            return kappa - 1 / 20.0;
        });
    };
    const struct {
        const char* name;
        CamDesign cam;
        SizingLimits limits;
        SizingLimit binding;
        std::function<double(double)> exceeds;
    } cases[] = {
        {"knife, 30°", cycloidCam(KNIFE_FOLLOWER, 0), {30, 1, 0.001}, PRESSURE_ANGLE_LIMIT, pressure},
        {"flat face, no cusp", cycloidCam(FLAT_FOLLOWER, 0), {30, 1, 0.001}, CUSP_LIMIT, cusp},
        {"roller 10, 30°", cycloidCam(ROLLER_FOLLOWER, 10), {30, 2, 0.001}, PRESSURE_ANGLE_LIMIT,
         [&](double r0) { return pressure(r0 + 10); }},
        {"roller 10 over 60°, 2 x rf, 80°", cycloidCam(ROLLER_FOLLOWER, 10, 60), {80, 2, 0.001}, CURVATURE_LIMIT,
         bend},
    };
    for (const auto& c : cases) {
        const std::optional<CamSize> size = sizeCam(c.cam, c.limits, false, 10);
        ASSERT_TRUE(size) << c.name;
        EXPECT_EQ(size->binding, c.binding) << c.name;
        EXPECT_LE(c.exceeds(size->baseRadius), 0) << c.name << " at " << size->baseRadius;
        EXPECT_GT(c.exceeds(size->baseRadius - 0.001), 0) << c.name << " at " << size->baseRadius << " - 0.001";
        EXPECT_EQ(size->baseRadius, std::round(size->baseRadius * 1000) / 1000) << c.name;
        std::printf("%-36s r0 = %.3f\n", c.name, size->baseRadius);
    }
    // The textbook case in closed form: r0 = max over theta of (|s'| / tan 30° - s).
    const double r0 = largestOverTurn([&](double t) {
        const Lift l = cycloid(t);
        return std::fabs(l.ds) / tan30 - l.s;
    });
    EXPECT_NEAR(sizeCam(cycloidCam(KNIFE_FOLLOWER, 0), {}, false, 10)->baseRadius, std::ceil(r0 * 1000) / 1000, 1e-12);
    std::printf("textbook r0 by the scan: %.9f\n", r0);
}

TEST(CamSizing, AnOffsetThatHelpsIsFoundAtTheSmallestRadius)
{
    // A quick rise and a slow return: moving the follower against the rise's thrust lowers the radius needed.
    CamDimensions shorthand;
    shorthand.law = 2, shorthand.riseDeg = 60, shorthand.dwellDeg = 60, shorthand.returnDeg = 200;
    const CamDesign cam = camDesignFor(shorthand);
    const CamSize centred = *sizeCam(cam, {}, false, 10), moved = *sizeCam(cam, {}, true, 10);
    EXPECT_LT(moved.baseRadius, centred.baseRadius - 1);
    EXPECT_LT(moved.offset, 0) << "the cam turns clockwise: the follower moves to the left of the centre";
    // The radius at the found offset is a minimum: a millimetre either way needs more.
    for (double step : {-1.0, 1.0}) {
        CamDesign beside = cam;
        beside.offset = moved.offset + step;
        EXPECT_GT(sizeCam(beside, {}, false, 10)->baseRadius, moved.baseRadius) << step;
    }
}
