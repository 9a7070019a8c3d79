"""Test support: the camcurves page in a browser, typed to as a user would (terminal, canvas) and read back."""
import base64
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from chromium import wait_until

# The canvas's pixels as RGBA, rows from the top, through a 2D canvas (the WebGL one keeps its drawing buffer).
READ_CANVAS = """
const source = document.getElementById('window');
const copy = document.createElement('canvas');
copy.width = source.width; copy.height = source.height;
const context = copy.getContext('2d');
context.drawImage(source, 0, 0);
const data = context.getImageData(0, 0, copy.width, copy.height).data;
let text = '';
for (let i = 0; i < data.length; i += 0x8000)
  text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
return btoa(text);
"""


class PageSession:
    def __init__(self, browser, url):
        self.browser = browser
        browser.get(url)

    def body(self, name):
        return self.browser.find_element(By.TAG_NAME, 'body').get_attribute(name)

    def wait_phase(self, phase, timeout=20.0):
        wait_until(lambda: self.body('data-phase') == phase, timeout, f'data-phase="{phase}"')

    def type_console(self, text):
        """Types into the terminal once the program waits on its console; '\\b' is the Backspace key."""
        self.wait_phase('console')
        keys = text.replace('\b', Keys.BACKSPACE).replace('\n', Keys.ENTER)
        self.browser.find_element(By.CSS_SELECTOR, '#console textarea').send_keys(keys)

    def press_window(self, keys, when_waited_for=True):
        """Presses keys in the canvas, once the program waits for window keys unless told otherwise."""
        if when_waited_for:
            self.wait_phase('window')
        self.browser.find_element(By.ID, 'window').send_keys(keys)

    def settle(self, quiet=0.4):
        """Waits for the window phase and no new frame for quiet seconds."""
        self.wait_phase('window')
        frames, since = self.body('data-frames'), time.monotonic()
        while time.monotonic() - since < quiet:
            time.sleep(0.05)
            now = self.body('data-frames')
            if now != frames:
                frames, since = now, time.monotonic()

    def output(self):
        return bytes(self.browser.execute_script('return window.camcurves.output()'))

    def key_times(self):
        return self.browser.execute_script('return window.camcurves.keyTimes()')

    def canvas_rgb(self):
        """The canvas as bytes of RGB, rows from the top."""
        rgba = base64.b64decode(self.browser.execute_script(READ_CANVAS))
        rgb = bytearray(len(rgba) // 4 * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = rgba[0::4], rgba[1::4], rgba[2::4]
        return bytes(rgb)

    def terminal_rows(self):
        """The rows the terminal shows, as text."""
        rows = self.browser.execute_script(
            "return [...document.querySelectorAll('#console .xterm-rows > div')].map(row => row.textContent)")
        return [row.replace('\u00a0', ' ').rstrip() for row in rows]
