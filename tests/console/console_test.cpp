// Console dialogue and terminal key read in a child on a real pseudo-terminal: start-up and the window keys
// "c" and "7" with the input typed or on a pipe; what the terminal shows is compared byte for byte.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "curves/motion_tables.h"
#include "tests/support/expected_console.h"
#include "tests/support/pty_session.h"

namespace {

using namespace expected;

// Child: start-up's console phase, then the dialogue of each window key in keys as onKey starts it, zoom and
// step moved first as earlier keys may leave them. Then one line of what the dialogues left: the curve, the
// compared curves, the points, slot 7's S at T = 0.3 and V at T = 0.5, the zoom, the step and its direction.
[[noreturn]] void playSession(const char* keys)
{
    runConsolePhase();
    for (; *keys; keys++) {
        appState.lastKey = static_cast<signed char>(*keys);
        appState.selectedCurve = *keys == '7' ? TWO_POINT_CURVE : appState.selectedCurve;
        appState.drawScale = 0.02;
        appState.stepIndex = 55;
        appState.stepDirection = -1;
        runKeyDialogue();
    }
    const AppState& s = appState;
    printf("\n[%d %d%d%d %g %g %g %g %g %g %g %d %d]", s.selectedCurve, s.compareCurves[0], s.compareCurves[1],
           s.compareCurves[2], s.Ta, s.Sa, s.Tb, s.Sb, curveSlot(7)[30], curveSlot(7)[V_ROW + 50], s.drawScale,
           s.stepIndex, s.stepDirection);
    exit(0);
}

// The child ends by the signal, or else with status 0, having shown nothing more than expected.
void expectEnd(PtySession& pty, int signalNumber)
{
    int status = pty.exitStatus();
    EXPECT_TRUE(signalNumber ? WIFSIGNALED(status) && WTERMSIG(status) == signalNumber
                             : WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "wait status " << status;
    EXPECT_EQ(pty.shown, pty.expected);
}

// The console texts of a transcript, a letter each: M menu, H key help, C comparison prompt, P points prompt,
// E points error, and a digit for that curve's line.
std::string transcript(const std::string& letters)
{
    std::string text;
    for (char c : letters)
        text += c == 'M' ? MENU : c == 'H' ? KEY_HELP : c == 'C' ? COMPARISON_PROMPT : c == 'P' ? POINTS_PROMPT
                : c == 'E' ? POINTS_ERROR : CURVE_LINES[c - '0'];
    return text;
}

TEST(ConsoleDialogue, TranscriptsWithTheInputOnAPipe)
{
    // The points the composite curves leave behind, and slot 7 still empty.
    const std::string untouched = " 0.0625 0.00724068 0.25 0.181185 0 0";
    struct Case {
        std::string input;
        const char *windowKeys, *printed;
        std::string left;
    };
    std::vector<Case> cases = {
        {"3", "", "M3H3", "3 000" + untouched},
        // "7" and a letter fill no comparison slot but each takes one of the three reads; at the end of input
        // the reads return at once.
        {"c17a", "", "MHC1", "0 100" + untouched},
        {"c", "", "MHC", "0 000" + untouched},
        {"", "", "MH", "0 000" + untouched},
        // The start key 7 asks twice; a set may run over two lines; the second set wins.
        {"70.1 0.1\n0.9 0.9\n0.3 0.2 0.7 0.8\n", "", "M7PH7P", "7 000 0.3 0.2 0.7 0.8 0.2 1.5"},
        // What follows the fourth number on its line, its line break included, is not taken as keys.
        {"10.3 0.2 0.7 0.8 0.9 x\n26517a", "7cc", "M1H1H7PHC265HC1", "7 165 0.3 0.2 0.7 0.8 0.2 1.5"},
        // End of input at the prompt: no error and no second prompt. Sa and Sb may be any finite numbers.
        {"0", "7", "M0H0H7P", "7 000" + untouched},
        {"00.3 -0.5 0.7 1.5\n", "7", "M0H0H7P", "7 000 0.3 -0.5 0.7 1.5 -0.5 5"}};
    // A refused set asks again; then a good set, or the end of input. Refused: a set outside 0 < Ta < Tb < 1, one
    // that makes samples overflow, a word that is no number or longer than 64 characters.
    for (std::string bad : {"-0.1 0.2 0.7 0.8", "0.7 0.2 0.3 0.8", "0.3 0.2 1 0.8", "0.3 1e308 0.7 -1e308",
                            "0.3,0.2,0.7,0.8", "nan 0.2 0.7 0.8", "0.3000000000000000000000000000000000000000000000000"
                            "00000000000000000000000 0 0.7 1"}) {
        cases.push_back({"0" + bad + "\n0.25 0.25 0.75 0.75\n", "7", "M0H0H7PEP", "7 000 0.25 0.25 0.75 0.75 0.3 1"});
        cases.push_back({"0" + bad + "\n", "7", "M0H0H7PEP", "7 000" + untouched});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE("input \"" + c.input + "\", window keys \"" + c.windowKeys + "\"");
        PtySession pty([&c] {
            int ends[2];
            if (pipe(ends) != 0 || write(ends[1], c.input.data(), c.input.size()) != ssize_t(c.input.size()))
                exit(3);
            close(ends[1]);
            dup2(ends[0], STDIN_FILENO);
            playSession(c.windowKeys);
        });
        EXPECT_EQ(pty.show(transcript(c.printed) + "\n[" + c.left + " 0.004 0 1]"), pty.expected);
        expectEnd(pty, 0);
    }
}

// One key a read, as the console runtime codes it: one code, or a lead code (0 or 224) and then the key's own.
// An ESC alone is a key of its own once the rest of a sequence has not followed it.
TEST(TerminalKeyRead, KeysAsTheConsoleRuntimeCodesThem)
{
    PtySession pty([] {
        installTerminalGuards();
        for (int key = 0; key != 'q'; fflush(stdout))
            printf("%d ", key = readKey());
        exit(0);
    });
    const char* const keys[][2] = {
        {"a", "97"},           {"\x1b[A", "224 72"},  {"\x1b[B", "224 80"},    {"\x1b[C", "224 77"},
        {"\x1b[D", "224 75"},  {"\x1b[H", "224 71"},  {"\x1b[F", "224 79"},    {"\x1bOP", "0 59"},
        {"\x1bOQ", "0 60"},    {"\x1bOR", "0 61"},    {"\x1bOS", "0 62"},      {"\x1b[1~", "224 71"},
        {"\x1b[2~", "224 82"}, {"\x1b[3~", "224 83"}, {"\x1b[4~", "224 79"},   {"\x1b[5~", "224 73"},
        {"\x1b[6~", "224 81"}, {"\x1b[7~", "224 71"}, {"\x1b[8~", "224 79"},   {"\x1b[11~", "0 59"},
        {"\x1b[12~", "0 60"},  {"\x1b[13~", "0 61"},  {"\x1b[14~", "0 62"},    {"\x1b[15~", "0 63"},
        {"\x1b[17~", "0 64"},  {"\x1b[18~", "0 65"},  {"\x1b[19~", "0 66"},    {"\x1b[20~", "0 67"},
        {"\x1b[21~", "0 68"},  {"\x1b[23~", "224 133"}, {"\x1b[24~", "224 134"}, {"\x1b[15;2~", "0 63"},
        {"\x1b[1;5C", "224 77"}, {"\x1b[99~", "0 0"}, {"\x1b[Z", "0 0"},       {"\x1b[1234567~", "0 0"},
        {"\x1b", "27"},        {"q", "113"}};
    for (const auto& key : keys) {
        pty.waitForKeyRead();
        pty.type(key[0]);
        ASSERT_EQ(pty.show(std::string(key[1]) + " "), pty.expected);
    }
    expectEnd(pty, 0);
}

// A signal during a key read ends the process by that signal, with the terminal's modes as they were.
TEST(TerminalKeyRead, ModesComeBackWhenASignalEndsTheProcess)
{
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        PtySession pty([] { playSession(""); });
        ASSERT_EQ(pty.show(MENU), pty.expected);
        ASSERT_EQ(pty.waitForKeyRead().c_lflag & ICANON, 0u);
        // ^C as typed on the terminal; the others as another process or a closing terminal sends them.
        if (signalNumber == SIGINT)
            pty.type("\x03");
        else
            kill(pty.pid, signalNumber);
        expectEnd(pty, signalNumber);
        EXPECT_TRUE(pty.modesAsBefore());
    }
}

}  // namespace
