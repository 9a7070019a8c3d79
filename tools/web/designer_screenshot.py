"""The README's pictures of the cam designer (`make screenshots`): build-web/designer.html in headless Chromium with
a roller cam of four segments and its running inputs, the cam turned to 75°, on a 1280 x 800 laptop and a
1920 x 1080 projector. Usage: designer_screenshot.py BUILD_WEB_FOLDER OUT_PREFIX (writes OUT_PREFIX-1280.png, ...)"""
import base64
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'web'))
from chromium import chromium, file_url, wait_until  # noqa: E402

DESIGN = {
    'segments': [
        {'kind': 'rise', 'angle_deg': 90, 'lift': 30, 'law': 4},
        {'kind': 'dwell', 'angle_deg': 60},
        {'kind': 'return', 'angle_deg': 120, 'lift': 30, 'law': 8},
        {'kind': 'dwell', 'angle_deg': 90},
    ],
    'base_radius': 45, 'follower': 'roller', 'roller_radius': 12, 'offset': -6,
}
RUNNING = {'speed_rpm': 400, 'mass_kg': 0.6, 'spring_rate_N_mm': 3, 'preload_N': 60, 'cam_width_mm': 10}


def main():
    folder, prefix = sys.argv[1], sys.argv[2]
    page = os.path.join(folder, 'designer.html')
    with chromium() as browser:
        # The running inputs where this camprofile takes them in a design.
        browser.get(file_url(page))
        wait_until(lambda: browser.find_element('tag name', 'body').get_attribute('data-state') == 'ready', 30)
        has_running = browser.execute_script("return !document.getElementById('running').hidden")
        design = dict(DESIGN, **({'running': RUNNING} if has_running else {}))
        address = base64.urlsafe_b64encode(json.dumps(design).encode()).decode().rstrip('=')
        for width, height in ((1280, 800), (1920, 1080)):
            # The page's viewport at the size named (the window's frame is not part of it).
            browser.set_window_size(width, height)
            inner = browser.execute_script('return [window.innerWidth, window.innerHeight]')
            browser.set_window_size(2 * width - inner[0], 2 * height - inner[1])
            browser.get(file_url(page) + '#design=' + address)
            wait_until(lambda: browser.find_element('tag name', 'body').get_attribute('data-state') == 'ready', 30)
            browser.execute_script("const a = document.getElementById('angle'); a.value = '75';"
                                   "a.dispatchEvent(new Event('input'));")
            out = f'{prefix}-{width}.png'
            if not browser.save_screenshot(out):
                sys.exit(f'could not write {out}')
            print(f'wrote {out}')


if __name__ == '__main__':
    main()
