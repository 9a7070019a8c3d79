// The page around camcurves.js: the console as an xterm.js terminal (with a terminal's line editing), the
// canvas as the window, and the keys between them. Shows its state as <body data-phase data-frames> and
// window.camcurves.output() / keyTimes() / outputTime(). Reads and writes no files or storage, fetches nothing.
(function () {
  'use strict';

  const body = document.body;
  const canvas = document.getElementById('window');
  const term = new Terminal({ cols: 80, rows: 44, convertEol: true, fontSize: 14, scrollback: 5000,
                              fontFamily: 'monospace', cursorBlink: false });
  term.open(document.getElementById('console'));
  const encoder = new TextEncoder();

  // Everything the program writes on standard output and error, in order; the terminal gets it in one
  // write per burst, at once (not a line at a time, or prompts without a line break would not show).
  const written = [];
  let unshown = [];
  function programByte(byte) {
    if (byte === null || byte === undefined)
      return;
    // The file system hands bytes over as signed values.
    byte &= 0xff;
    written.push(byte);
    unshown.push(byte);
    if (unshown.length === 1)
      queueMicrotask(showWritten);
  }
  let shownTime = 0;
  function showWritten() {
    if (unshown.length)
      term.write(new Uint8Array(unshown), () => { shownTime = performance.now(); });
    unshown = [];
  }

  let phase = 'loading';
  function setPhase(next) {
    if (next === phase)
      return;
    phase = next;
    body.dataset.phase = next;
    if (next === 'console')
      term.focus();
    else if (next === 'window')
      canvas.focus();
  }

  // The console: bytes the program may read, and the line being edited while it does not read single keys.
  const readable = [];
  let editedLine = [];      // characters typed since the last Enter, as echoed
  let singleKeyRead = false;
  let endOfInput = false;
  let consoleWaiter = null;

  function columns(ch) {
    const code = ch.codePointAt(0);
    return (code >= 0x1100 && code <= 0x115f) || (code >= 0x2e80 && code <= 0xa4cf) ||
           (code >= 0xac00 && code <= 0xd7a3) || (code >= 0xf900 && code <= 0xfaff) ||
           (code >= 0xfe30 && code <= 0xfe4f) || (code >= 0xff00 && code <= 0xff60) ||
           (code >= 0xffe0 && code <= 0xffe6) ? 2 : 1;
  }
  function pushBytes(text) { for (const b of encoder.encode(text)) readable.push(b); }

  // Canonical mode as a terminal has it: echo, Backspace erases a character, ^U the line, Enter hands the
  // line over, ^D on an empty line is the end of input; an escape sequence goes into the line as ^[...
  function editLine(data) {
    if (data.length > 1 && data[0] === '\x1b') {
      editedLine.push(data);
      term.write('^[' + data.slice(1));
      return;
    }
    for (const ch of data) {
      if (ch === '\r' || ch === '\n') {
        term.write('\r\n');
        pushBytes(editedLine.join('') + '\n');
        editedLine = [];
      } else if (ch === '\x7f' || ch === '\b') {
        const gone = editedLine.pop();
        if (gone !== undefined) {
          const width = gone[0] === '\x1b' ? gone.length + 1 : columns(gone);
          term.write('\b \b'.repeat(width));
        }
      } else if (ch === '\x15') {
        for (const gone of editedLine.splice(0))
          term.write('\b \b'.repeat(gone[0] === '\x1b' ? gone.length + 1 : columns(gone)));
      } else if (ch === '\x04') {
        if (editedLine.length === 0)
          endOfInput = true;
        pushBytes(editedLine.splice(0).join(''));
      } else if (ch >= ' ' || ch === '\t') {
        editedLine.push(ch);
        term.write(ch);
      }
    }
  }

  let ended = false;
  term.onData(data => {
    if (ended) {
      // A fresh run, as a reload gives it.
      if (data.includes('\r'))
        location.reload();
      return;
    }
    if (singleKeyRead)
      pushBytes(data);
    else
      editLine(data);
    wakeConsoleReader();
  });

  function wakeConsoleReader() {
    if (!consoleWaiter || (readable.length === 0 && !endOfInput))
      return;
    const { room, singleKey, resolve } = consoleWaiter;
    consoleWaiter = null;
    // A line at a time, as a terminal's read gives it; a key read takes what a key press sent.
    let count = Math.min(room, readable.length);
    if (!singleKey && readable.indexOf(10) >= 0)
      count = Math.min(count, readable.indexOf(10) + 1);
    if (count === 0)
      endOfInput = false;
    singleKeyRead = false;
    resolve(new Uint8Array(readable.splice(0, count)));
  }

  // The canvas: its keys as GLUT's keyboard callback receives them, queued in order with the event's time.
  const windowKeys = [];
  const keyTimes = [];
  let keyWaiter = null;
  let keyEventTime = 0;
  const NAMED_KEYS = { Escape: 27, Enter: 13, Backspace: 8, Delete: 127 };
  canvas.addEventListener('keydown', event => {
    if (ended || event.ctrlKey || event.metaKey || event.altKey)
      return;
    let code = NAMED_KEYS[event.key];
    if (code === undefined && event.key.length === 1 && event.key.charCodeAt(0) < 256)
      code = event.key.charCodeAt(0);
    if (code === undefined)
      return;
    event.preventDefault();
    windowKeys.push({ code, time: event.timeStamp });
    wakeKeyWaiter();
  });
  function wakeKeyWaiter() {
    if (!keyWaiter || windowKeys.length === 0)
      return;
    const key = windowKeys.shift();
    const resolve = keyWaiter;
    keyWaiter = null;
    keyEventTime = key.time;
    resolve(key.code);
  }

  let frames = 0;
  const page = {
    readConsole(room, singleKey) {
      setPhase('console');
      // Leaving canonical mode makes what was typed on the unfinished line readable at once.
      if (singleKey && editedLine.length)
        pushBytes(editedLine.splice(0).join(''));
      singleKeyRead = singleKey;
      return new Promise(resolve => {
        consoleWaiter = { room, singleKey, resolve };
        wakeConsoleReader();
      });
    },
    nextWindowKey() {
      setPhase('window');
      return new Promise(resolve => {
        keyWaiter = resolve;
        wakeKeyWaiter();
      });
    },
    windowKeysWaiting() { return windowKeys.length > 0; },
    keyHandled(drewFrame) {
      if (drewFrame)
        keyTimes.push(performance.now() - keyEventTime);
    },
    frameDrawn() {
      frames++;
      body.dataset.frames = String(frames);
    },
    hasWebGL() {
      try {
        return !!document.createElement('canvas').getContext('webgl');
      } catch (e) {
        return false;
      }
    },
  };

  function end(status) {
    if (ended)
      return;
    ended = true;
    showWritten();
    if (status === 0)
      term.write('\r\n\r\n[camcurves has ended: press Enter here to start it again]\r\n');
    setPhase('ended');
    term.focus();
  }

  window.camcurves = {
    output: () => written.slice(),
    keyTimes: () => keyTimes.slice(),
    // When the terminal had taken in the last byte written so far, in ms from the start of the page's loading.
    outputTime: () => shownTime,
  };

  createCamcurves({
    page,
    canvas,
    arguments: [],
    stdin: () => null,
    stdout: programByte,
    stderr: programByte,
    print: text => console.log(text),
    printErr: text => console.warn(text),
    onExit: end,
    onAbort: what => {
      term.write('\r\n[camcurves stopped: ' + what + ']\r\n');
      end(1);
    },
  }).catch(error => {
    if (!ended && !(error && error.name === 'ExitStatus')) {
      term.write('\r\n[camcurves could not start: ' + error + ']\r\n');
      end(1);
    }
  });
})();
