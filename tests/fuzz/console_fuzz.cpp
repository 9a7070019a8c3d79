// libFuzzer target: any bytes as console input to start-up's dialogue and to the window's 'c' and '7' dialogues.
// Fails on a crash, an out-of-bounds read, a non-finite sample, or a table the dialogue must not change changed.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sys/mman.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "curves/motion_tables.h"

static void require(bool condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "fuzz check failed: %s\n", what);
        abort();
    }
}

// The dialogue's texts are not what is tested here.
extern "C" int LLVMFuzzerInitialize(int*, char***) { return freopen("/dev/null", "w", stdout) ? 0 : 1; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Standard input becomes a file holding the bytes: not a terminal, and ending where the bytes end.
    int input = memfd_create("console-input", 0);
    require(input >= 0 && write(input, data, size) == static_cast<ssize_t>(size), "input file written");
    lseek(input, 0, SEEK_SET);
    dup2(input, STDIN_FILENO);
    close(input);
    memset(&appState, 0, sizeof appState);
    memset(motionTables, 0, sizeof motionTables);
    forgetConsoleInput();
    runConsolePhase();
    // The window keys as onKey hands them to the dialogue: 'c' changes no table, '7' only slot 7.
    static MotionTables before;
    for (char key : {'c', '7'}) {
        memcpy(before, motionTables, sizeof before);
        appState.lastKey = static_cast<signed char>(key);
        appState.selectedCurve = key == '7' ? TWO_POINT_CURVE : appState.selectedCurve;
        runKeyDialogue();
        size_t kept = key == 'c' ? sizeof before : sizeof(double) * TWO_POINT_CURVE * CURVE_STRIDE;
        require(memcmp(motionTables, before, kept) == 0, "tables kept that the dialogue may not change");
        require(appState.drawScale == 0.004 && appState.stepIndex == 0 && appState.stepDirection == 1,
                "zoom and step reset");
        for (int curve : appState.compareCurves)
            require(curve >= 0 && curve <= 6, "compared curves 0..6");
        for (int row = 0; row < 3 * CURVE_COUNT; row++)
            for (int i = 0; i <= appState.riseSteps; i++)
                require(std::isfinite(motionTables[row * ROW_LENGTH + i]), "every sample finite");
    }
    return 0;
}
