// libFuzzer target: arbitrary bytes as console input to start-up's dialogue and the window's 'c' and '7' dialogues.
// Fails on a crash, an out-of-bounds read, a non-finite sample, or a table that is neither kept nor rebuilt.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "curves/motion_tables.h"

static MotionTables before;
static double rebuilt[CURVE_STRIDE];

static void require(bool condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "fuzz check failed: %s\n", what);
        abort();
    }
}

static void requireFiniteTables()
{
    for (int c = 0; c < CURVE_COUNT; c++)
        for (int row = 0; row < 3; row++)
            for (int i = 0; i <= appState.riseSteps; i++)
                require(std::isfinite(curveSlot(c)[row * ROW_LENGTH + i]), "every sample finite");
}

static bool sameSlot(int curve, const double* other)
{
    return memcmp(curveSlot(curve), other, sizeof(double) * CURVE_STRIDE) == 0;
}

// Slot 7 is unchanged, or exactly the curve of the points now in Ta..Sb, which must then be in range.
static void requireSlot7KeptOrRebuilt(const double* previous)
{
    if (sameSlot(TWO_POINT_CURVE, previous))
        return;
    require(0 < appState.Ta && appState.Ta < appState.Tb && appState.Tb < 1, "accepted points in 0<Ta<Tb<1");
    memset(rebuilt, 0, sizeof rebuilt);
    buildTwoPointCurve(appState.Ta, appState.Sa, appState.Tb, appState.Sb, rebuilt);
    require(sameSlot(TWO_POINT_CURVE, rebuilt), "slot 7 rebuilt from the accepted points");
}

static void requireStandardSlotsKept()
{
    require(memcmp(motionTables, before, sizeof(double) * TWO_POINT_CURVE * CURVE_STRIDE) == 0,
            "slots 0..6 unchanged by a window dialogue");
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The dialogue's texts are not what is tested here.
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Standard input becomes a file holding the bytes: not a terminal, and ends where the bytes end.
    int input = memfd_create("console-input", 0);
    require(input >= 0, "memfd_create");
    require(write(input, data, size) == static_cast<ssize_t>(size), "write input");
    lseek(input, 0, SEEK_SET);
    dup2(input, STDIN_FILENO);
    close(input);

    memset(&appState, 0, sizeof appState);
    memset(motionTables, 0, sizeof motionTables);
    memset(before, 0, sizeof before);
    forgetConsoleInput();

    runConsolePhase();
    requireFiniteTables();
    requireSlot7KeptOrRebuilt(before + TWO_POINT_CURVE * CURVE_STRIDE);

    // Window key 'c'.
    memcpy(before, motionTables, sizeof before);
    appState.lastKey = 'c';
    runKeyDialogue();
    require(memcmp(before, motionTables, sizeof before) == 0, "the comparison dialogue changes no table");
    for (int i = 0; i < 3; i++)
        require(appState.compareCurves[i] >= 0 && appState.compareCurves[i] <= 6, "compared curves 0..6");

    // Window key '7', as onKey sets it up.
    memcpy(before, motionTables, sizeof before);
    appState.lastKey = '7';
    appState.selectedCurve = TWO_POINT_CURVE;
    appState.stepIndex = 0;
    appState.stepDirection = 1;
    runKeyDialogue();
    requireFiniteTables();
    requireStandardSlotsKept();
    requireSlot7KeptOrRebuilt(before + TWO_POINT_CURVE * CURVE_STRIDE);
    require(appState.drawScale == 0.004 && appState.stepIndex == 0 && appState.stepDirection == 1,
            "the dialogue resets zoom and step");
    return 0;
}
