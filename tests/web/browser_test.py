"""Browser test: the page from disk in headless Chromium against the desktop program on Xvfb, state by state.
Usage: browser_test.py BUILD_WEB/index.html NATIVE_REFERENCE_PROGRAM. Fails (never skips) without WebGL."""
import os
import subprocess
import sys
import tempfile
import unittest

from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import chromium, file_url, requested_urls, wait_until  # noqa: E402
from page_session import PageSession  # noqa: E402

PAGE, NATIVE = sys.argv[1], sys.argv[2]
SIZE = 800
WHITE = b'\xff\xff\xff'

TITLE = 'カム曲線　1-7:カム曲線選択, c:3種カム, W,w:拡大縮小，r:正逆転，s:継続'
# Each state: its name and its steps in order, typed in the terminal ('console') or the canvas ('window', or
# 'queued': at once, while a dialogue still waits); '\b' is Backspace. The desktop program gets the same keys,
# the console's as the edited lines read, the window's in the order typed.
STATES = [
    ('start key 3, 50 steps', [('console', '3'), ('window', 's' * 50)]),
    ('comparison 2 4 6', [('console', '3'), ('window', 'c'), ('console', '246')]),
    ('keys typed in the canvas during a dialogue, handled after it', [('console', '3'), ('window', 'c'),
                                                                      ('queued', 'ssW'), ('console', '246')]),
    ('curve 7 through 0.3 0.2 0.7 0.8', [('console', '7'), ('console', '0.3 0.5\b2 0.7 0.9\b\b\b0.9\b8\n'),
                                         ('console', '0.3 0.2 0.7 0.8\n'), ('window', 's' * 30)]),
    ('zoomed in, labels leaving the window', [('console', '4'), ('window', 's' * 20 + 'WWWWW')]),
    ('zoomed out, reversed', [('console', '5'), ('window', 's' * 60 + 'r' + 's' * 10 + 'www')]),
]


def edited(text):
    """What a line-editing terminal hands over for text typed with Backspaces."""
    out = []
    for ch in text:
        if ch == '\b':
            out = out[:-1]
        else:
            out.append(ch)
    return ''.join(out)


def colour_points(rgb):
    """Every coloured (not white) pixel, by colour: {colour bytes: {(x, y), ...}}."""
    points = {}
    for i in range(0, len(rgb), 3):
        colour = rgb[i:i + 3]
        if colour != WHITE:
            points.setdefault(colour, set()).add(((i // 3) % SIZE, (i // 3) // SIZE))
    return points


def farthest(points, others, limit=8):
    """The largest distance (in pixels, horizontally or vertically) from a coloured pixel of points to one of the
    same colour in others, limit + 1 if none is within limit; and how many pixels were compared."""
    worst, count = 0, 0
    for colour, where in points.items():
        there = others.get(colour, set())
        for x, y in where:
            count += 1
            distance = next((d for d in range(limit + 1)
                             if any((x + dx, y + dy) in there for dx in range(-d, d + 1) for dy in range(-d, d + 1))),
                            limit + 1)
            worst = max(worst, distance)
    return worst, count


def native_state(steps, folder):
    """The desktop program's picture and console bytes after the same keys."""
    console = ''.join(edited(text) for where, text in steps if where == 'console')
    keys = ''.join(text for where, text in steps if where != 'console')
    prefix = os.path.join(folder, 'native')
    subprocess.run([NATIVE, prefix, console, keys], check=True, timeout=120)
    with open(prefix + '.rgb', 'rb') as picture, open(prefix + '.out', 'rb') as output:
        return picture.read(), output.read()


class BrowserTest(unittest.TestCase):
    def test_every_state_looks_and_reads_as_the_desktop_program(self):
        with chromium() as browser, tempfile.TemporaryDirectory() as folder:
            self.assertTrue(browser.execute_script("return !!document.createElement('canvas').getContext('webgl')"),
                            'this Chromium offers no WebGL: the page cannot be tested here')
            for name, steps in STATES:
                with self.subTest(state=name):
                    page = PageSession(browser, file_url(PAGE))
                    for where, text in steps:
                        page.type_console(text) if where == 'console' else page.press_window(text, where == 'window')
                    page.settle()
                    self.assertEqual(browser.title, TITLE)
                    native_picture, native_output = native_state(steps, folder)
                    self.assertEqual(page.output().decode(), native_output.decode())
                    web, native = colour_points(page.canvas_rgb()), colour_points(native_picture)
                    (there, compared), (back, compared_back) = farthest(web, native), farthest(native, web)
                    print(f'{name}: {compared} coloured pixels in the page, {compared_back} in the window; '
                          f'largest distance {there} and {back} pixels', flush=True)
                    self.assertGreater(compared, 10000)
                    self.assertLessEqual(max(there, back), 1)

    def test_curve7_line_reads_as_typed_after_backspacing(self):
        with chromium() as browser:
            page = PageSession(browser, file_url(PAGE))
            page.type_console('7')
            page.type_console('0.3 0.5\b2 0.7 0.9\b\b\b0.9\b8\n')
            page.wait_phase('console')
            wait_until(lambda: sum('Ta Sa Tb Sb=' in row for row in page.terminal_rows()) == 2, what='second prompt')
            lines = [row for row in page.terminal_rows() if row.startswith('Ta Sa Tb Sb=')]
            self.assertEqual(lines, ['Ta Sa Tb Sb=0.3 0.2 0.7 0.8', 'Ta Sa Tb Sb='])
            # A refused line: the same message as on a desktop terminal, and the prompt again.
            page.type_console('0.8 0.2 0.7 0.8\n')
            wait_until(lambda: '入力エラー' in page.output().decode(), what='the refusal')
            self.assertTrue(page.output().decode().endswith(
                '\n入力エラー：0<Ta<Tb<1 を満たす4つの数を入力してください'
                '\n中間点入力(0<Ta<Tb<1), (0<Sa,Sb<1) A(Ta,Sa), B(Tb,Sb)（コンマなしで）\nTa Sa Tb Sb='))

    def test_escape_ends_the_run_and_enter_starts_a_fresh_one(self):
        with chromium() as browser:
            page = PageSession(browser, file_url(PAGE))
            page.type_console('2')
            page.press_window('ss' + Keys.ESCAPE)
            page.wait_phase('ended')
            self.assertEqual(page.body('data-frames'), '3')
            wait_until(lambda: any('has ended' in row for row in page.terminal_rows()), what='the line saying so')
            # The last picture stays.
            self.assertGreater(sum(map(len, colour_points(page.canvas_rgb()).values())), 10000)
            browser.find_element('css selector', '#console textarea').send_keys(Keys.ENTER)
            page.wait_phase('console')
            self.assertTrue(page.output().decode().endswith('どのカム曲線？　番号='))
            self.assertEqual(page.body('data-frames'), '0')
            # Nothing was asked for but the page's own files, over both runs.
            folder = os.path.dirname(file_url(PAGE))
            asked = requested_urls(browser)
            self.assertIn(folder + '/camcurves.js', asked)
            # The program's WebAssembly comes out of camcurves.js itself, as a data: address.
            self.assertEqual([url[:80] for url in asked if not url.startswith((folder + '/', 'data:'))], [])

    def test_without_webgl_one_sentence_and_the_end(self):
        with chromium('--disable-3d-apis') as browser:
            page = PageSession(browser, file_url(PAGE))
            page.wait_phase('ended')
            text = page.output().decode()
            self.assertTrue(text.startswith('camcurves: cannot open a window: this browser offers no WebGL'), text)
            self.assertEqual(text.count('\n'), 1)
            self.assertTrue(text.endswith('.\n'))


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
