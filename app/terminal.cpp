// Console input on every platform: the single-key read, its escape sequences and the number read, over one
// byte buffer that the platform's console fills (terminal_x11.cpp, terminal_web.cpp).
#include "app/terminal.h"

#include <cmath>
#include <cstdlib>

#include "app/console_input.h"

constexpr int INPUT_BUFFER_SIZE = 4096;
constexpr int NUMBER_WORD_MAX = 64;

static unsigned char inputBuffer[INPUT_BUFFER_SIZE];
static int inputStart;
static int inputEnd;
static bool inputEnded;
// Second code of an arrow or function key, or -1.
static int pendingKeyCode = -1;

static int bufferedCount() { return inputEnd - inputStart; }

// Appends what the console gives (one key press with singleKey, else one read); false at end of input.
static bool readMore(bool singleKey = false)
{
    if (inputStart == inputEnd)
        inputStart = inputEnd = 0;
    if (inputEnd == INPUT_BUFFER_SIZE) {
        // Keep the unread bytes, drop the consumed ones.
        int count = bufferedCount();
        for (int i = 0; i < count; i++)
            inputBuffer[i] = inputBuffer[inputStart + i];
        inputStart = 0;
        inputEnd = count;
        if (inputEnd == INPUT_BUFFER_SIZE)
            return true;
    }
    int got = readConsoleBytes(inputBuffer + inputEnd, INPUT_BUFFER_SIZE - inputEnd, singleKey);
    if (got > 0) {
        inputEnd += got;
        return true;
    }
    inputEnded = true;
    return false;
}

// Next byte of input, or -1 at end of input.
static int takeByte()
{
    if (bufferedCount() == 0 && (inputEnded || !readMore()))
        return -1;
    return inputBuffer[inputStart++];
}

static int peekByte()
{
    return bufferedCount() > 0 ? inputBuffer[inputStart] : -1;
}

// The console runtime's codes of the keys a terminal sends as ESC [ <number> ~ ; 0 when unknown.
static int tildeKeyCode(int number, int* lead)
{
    *lead = KEY_LEAD_EXTENDED;
    switch (number) {
    case 1:  case 7:  return 71;   // Home
    case 2:                    return 82;   // Insert
    case 3:                    return 83;   // Delete
    case 4:  case 8:  return 79;   // End
    case 5:                    return 73;   // Page Up
    case 6:                    return 81;   // Page Down
    case 23:                   return 133;  // F11
    case 24:                   return 134;  // F12
    }
    *lead = KEY_LEAD_FUNCTION;
    switch (number) {
    case 11: return 59;  case 12: return 60;  case 13: return 61;  case 14: return 62;   // F1..F4
    case 15: return 63;  case 17: return 64;  case 18: return 65;  case 19: return 66;   // F5..F8
    case 20: return 67;  case 21: return 68;                                               // F9, F10
    }
    return 0;
}

// The console runtime's codes of the keys a terminal sends as ESC [ <letter> or ESC O <letter>.
static int letterKeyCode(int letter, int* lead)
{
    *lead = KEY_LEAD_EXTENDED;
    switch (letter) {
    case 'A': return 72;   // Up
    case 'B': return 80;   // Down
    case 'C': return 77;   // Right
    case 'D': return 75;   // Left
    case 'H': return 71;   // Home
    case 'F': return 79;   // End
    }
    *lead = KEY_LEAD_FUNCTION;
    switch (letter) {
    case 'P': return 59;  case 'Q': return 60;  case 'R': return 61;  case 'S': return 62;   // F1..F4
    }
    return 0;
}

// Consumes the escape sequence whose ESC has been taken; returns its lead code and queues the key code.
static int decodeEscapeSequence()
{
    int introducer = takeByte();
    int lead = KEY_LEAD_FUNCTION;
    int code = 0;
    if (introducer == 'O') {
        code = letterKeyCode(takeByte(), &lead);
    } else {
        // CSI: parameter bytes 0x30..0x3F, intermediate bytes 0x20..0x2F, one final byte 0x40..0x7E.
        int number = 0;
        bool firstParameter = true;
        int final = -1;
        while (peekByte() >= 0x20 && peekByte() <= 0x3f) {
            int c = takeByte();
            if (c == ';')
                firstParameter = false;
            else if (firstParameter && c >= '0' && c <= '9' && number < 1000)
                number = number * 10 + (c - '0');
        }
        if (peekByte() >= 0x40 && peekByte() <= 0x7e)
            final = takeByte();
        code = final == '~' ? tildeKeyCode(number, &lead) : letterKeyCode(final, &lead);
    }
    pendingKeyCode = code;
    return lead;
}

int readKey()
{
    if (pendingKeyCode >= 0) {
        int code = pendingKeyCode;
        pendingKeyCode = -1;
        return code;
    }
    if (!consoleIsTerminal()) {
        int byte = takeByte();
        return byte < 0 ? KEY_NONE : byte;
    }
    if (bufferedCount() == 0 && !inputEnded)
        readMore(true);
    int byte = takeByte();
    if (byte < 0)
        return KEY_NONE;
    if (byte == 0x1b && (peekByte() == '[' || peekByte() == 'O'))
        return decodeEscapeSequence();
    return byte;
}

static bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

NumberResult readNumber(double* value)
{
    int c = takeByte();
    while (c >= 0 && isSpace(c))
        c = takeByte();
    if (c < 0)
        return NUMBER_END;

    char word[NUMBER_WORD_MAX + 1];
    int length = 0;
    bool tooLong = false;
    for (;;) {
        if (length < NUMBER_WORD_MAX)
            word[length++] = static_cast<char>(c);
        else
            tooLong = true;
        // Leave the separator unread, so that a line break ends the line for discardInputLine.
        c = peekByte();
        if (c < 0 && !inputEnded && readMore())
            c = peekByte();
        if (c < 0 || isSpace(c))
            break;
        takeByte();
    }
    word[length] = '\0';

    char* end = nullptr;
    double number = strtod(word, &end);
    if (tooLong || end != word + length || !std::isfinite(number))
        return NUMBER_BAD;
    *value = number;
    return NUMBER_OK;
}

void discardInputLine()
{
    int c = takeByte();
    while (c >= 0 && c != '\n')
        c = takeByte();
}

void forgetConsoleInput()
{
    inputStart = inputEnd = 0;
    inputEnded = false;
    pendingKeyCode = -1;
}
