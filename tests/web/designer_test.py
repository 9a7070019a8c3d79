"""The cam designer page (build-web/designer.html) in headless Chromium against the camprofile command: for each
design, set through the form and through the address, the page's report JSON and every file it downloads equal what
`camprofile cam --design FILE` gives (numbers within 1e-12 relative, all else byte for byte); a refused field shows
the command's message and leaves the cam as it was; the time from a change to the redrawn views over 100 changes.
Usage: designer_test.py BUILD_WEB/designer.html CAMPROFILE"""
import base64
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

from chromium import chromium, file_url, wait_until

PAGE, CAMPROFILE = sys.argv[1], sys.argv[2]
TOLERANCE = 1e-12

# Three cams that reach every kind of follower field and view. The roller program's base circle is too small for
# its roller in the second rise (undercut: the page must refuse its DXF as the command does); the oscillating arm
# takes no dynamics (the command refuses them for it), so it has running fields only where the command allows.
DESIGNS = {
    'roller program with an undercut': {
        'segments': [
            {'kind': 'rise', 'angle_deg': 60, 'lift': 20, 'law': 4},
            {'kind': 'dwell', 'angle_deg': 30},
            {'kind': 'rise', 'angle_deg': 40, 'lift': 25, 'law': 2},
            {'kind': 'dwell', 'angle_deg': 50},
            {'kind': 'return', 'angle_deg': 90, 'lift': 45, 'law': 7, 'points': [0.25, 0.2, 0.75, 0.8]},
            {'kind': 'dwell', 'angle_deg': 90},
        ],
        'base_radius': 25, 'follower': 'roller', 'roller_radius': 24, 'offset': -4,
        'running': {'speed_rpm': 300, 'mass_kg': 0.8, 'spring_rate_N_mm': 2, 'preload_N': 40, 'cam_width_mm': 12},
    },
    'flat face': {
        'segments': [
            {'kind': 'rise', 'angle_deg': 100, 'lift': 15, 'law': 8},
            {'kind': 'dwell', 'angle_deg': 60},
            {'kind': 'return', 'angle_deg': 120, 'lift': 15, 'law': 9},
        ],
        'base_radius': 45, 'follower': 'flat', 'offset': 6, 'turn': 'ccw', 'max_pressure_angle_limit_deg': 25,
        'running': {'speed_rpm': 600, 'mass_kg': 0.3, 'spring_rate_N_mm': 5, 'preload_N': 80, 'load_N': -10,
                    'cam_width_mm': 8, 'youngs_modulus_GPa': 200, 'poisson': 0.29},
    },
    'oscillating roller': {
        'segments': [
            {'kind': 'rise', 'angle_deg': 90, 'lift': 15, 'law': 5},
            {'kind': 'dwell', 'angle_deg': 45},
            {'kind': 'return', 'angle_deg': 110, 'lift': 15, 'law': 3},
        ],
        'base_radius': 40, 'follower': 'oscillating-roller', 'roller_radius': 10, 'pivot_distance': 110,
        'arm_length': 85,
        'running': {},
    },
}


def run(*args, check=True):
    result = subprocess.run([CAMPROFILE, *args], capture_output=True)
    if check and result.returncode != 0:
        raise AssertionError(f'camprofile {" ".join(args)}: {result.stderr.decode()}')
    return result


def command_message(result):
    """The message the page shows for a refusal: the first line of standard error without the program's name."""
    return result.stderr.decode().strip().split('\n')[0].removeprefix('camprofile: ')


def design_object(design, running_keys):
    """The design as the command's --design reads it: the running inputs in its "running" object where this build
    has them."""
    obj = {k: v for k, v in design.items() if k != 'running'}
    if running_keys and design['running']:
        obj['running'] = design['running']
    return obj


# ---- comparing files: numbers within TOLERANCE of each other, the text between them byte for byte ----

NUMBER = re.compile(rb'-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?')


def differences(page, native):
    """Where two files differ beyond the rule, as a short text; '' when they agree."""
    a, b = NUMBER.split(page), NUMBER.split(native)
    na, nb = NUMBER.findall(page), NUMBER.findall(native)
    if a != b or len(na) != len(nb):
        for i, (x, y) in enumerate(zip(page, native)):
            if x != y:
                return f'text differs at byte {i}: {page[max(0, i - 40):i + 40]!r} / {native[max(0, i - 40):i + 40]!r}'
        return f'lengths differ: {len(page)} / {len(native)}'
    for x, y in zip(na, nb):
        fx, fy = float(x), float(y)
        # Relative, with numbers below 1 compared absolutely (a millimetre's 1e-12 is far below any tolerance).
        error = abs(fx - fy) / max(abs(fx), abs(fy), 1.0)
        if error > TOLERANCE:
            return f'number {x!r} / {y!r}: {error:.3g} relative'
    return ''


# Where an extremum lies (keys ending in _at_deg): the search stops where the last bits of the function's values
# decide, and at a smooth extremum f = f* - c (x - x*)^2 a last-bit change of f moves x* by about its square root.
LOCATION_TOLERANCE = 1e-7


def json_differences(page, native, where='report', tolerance=TOLERANCE):
    """The first place where two JSON values differ beyond the rule, as a short text; '' when they agree. Numbers
    within tolerance relative (LOCATION_TOLERANCE for an extremum's place), everything else equal."""
    if isinstance(native, dict):
        if not isinstance(page, dict) or list(page) != list(native):
            return f'{where}: keys {list(page) if isinstance(page, dict) else page} / {list(native)}'
        return next((d for k in native for d in [json_differences(
            page[k], native[k], f'{where}.{k}', LOCATION_TOLERANCE if k.endswith('_at_deg') else tolerance)] if d), '')
    if isinstance(native, list):
        if not isinstance(page, list) or len(page) != len(native):
            return f'{where}: {page} / {native}'
        return next((d for i, v in enumerate(native) for d in [json_differences(page[i], v, f'{where}[{i}]', tolerance)]
                     if d), '')
    if isinstance(native, float) or isinstance(page, float):
        ok = isinstance(page, (int, float)) and abs(page - native) <= tolerance * max(abs(page), abs(native), 1e-300)
        if ok and abs(page - native) > TOLERANCE * max(abs(page), abs(native), 1e-300):
            LOCATIONS_BEYOND.append(f'{where}: {abs(page - native) / abs(native):.1e}')
        return '' if ok else f'{where}: {page!r} / {native!r}'
    return '' if page == native and type(page) is type(native) else f'{where}: {page!r} / {native!r}'


LOCATIONS_BEYOND = []  # extremum places that differ by more than TOLERANCE (within LOCATION_TOLERANCE)


# ---- the page ----

class Designer:
    def __init__(self, browser, downloads):
        self.browser, self.downloads = browser, downloads

    def open(self, address=''):
        """A fresh load of the page (not a change of the address within it)."""
        self.browser.get('about:blank')
        self.browser.get(file_url(PAGE) + address)
        wait_until(lambda: self.state() in ('ready', 'refused'), 30, 'the designer to load')

    def state(self):
        return self.browser.find_element(By.TAG_NAME, 'body').get_attribute('data-state')

    def report_json(self):
        return self.browser.execute_script("return document.getElementById('report-json').textContent")

    def updates(self):
        return len(self.browser.execute_script('return window.designer.updateTimes()'))

    def changed(self, action):
        """Runs action (which changes one field) and waits until the page has taken the change up."""
        before = self.updates()
        action()
        wait_until(lambda: self.updates() > before, 10, 'the change to be taken up')

    def type_into(self, element, text):
        self.changed(lambda: (element.send_keys(Keys.CONTROL, 'a'), element.send_keys(text, Keys.TAB)))

    def field(self, key):
        return self.browser.find_element(By.CSS_SELECTOR, f'#design-form [data-key="{key}"]')

    def choose(self, element, value):
        if element.get_attribute('value') != value:
            self.changed(lambda: Select(element).select_by_value(value))

    def set_design(self, design, running_keys):
        """Types a design into the form as a user would: follower first, then the segments' rows, then the rest."""
        self.choose(self.field('follower'), design['follower'])
        rows = lambda: self.browser.find_elements(By.CSS_SELECTOR, '#segments tbody tr')
        while len(rows()) < len(design['segments']):
            self.changed(self.browser.find_element(By.ID, 'add-segment').click)
        while len(rows()) > len(design['segments']):
            self.changed(rows()[-1].find_element(By.CSS_SELECTOR, '[data-action="remove"]').click)
        for row, segment in zip(rows(), design['segments']):
            cell = lambda name: row.find_element(By.CSS_SELECTOR, f'[data-field="{name}"]')
            self.choose(cell('kind'), segment['kind'])
            self.type_into(cell('angle_deg'), str(segment['angle_deg']))
            if segment['kind'] != 'dwell':
                self.type_into(cell('lift'), str(segment['lift']))
                self.choose(cell('law'), str(segment['law']))
                for box, value in zip(row.find_elements(By.CSS_SELECTOR, '[data-field="points"]'),
                                      segment.get('points', [])):
                    self.type_into(box, str(value))
        for key in ('base_radius', 'roller_radius', 'offset', 'pivot_distance', 'arm_length',
                    'max_pressure_angle_limit_deg'):
            if key in design:
                self.type_into(self.field(key), str(design[key]))
        if 'turn' in design:
            self.choose(self.field('turn'), design['turn'])
        for key, value in (design['running'].items() if running_keys else ()):
            self.type_into(self.field(key), str(value))

    def download(self, what):
        """Clicks a download button: the file's bytes, or None and the page's message when it refuses."""
        for name in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, name))
        self.browser.find_element(By.CSS_SELECTOR, f'[data-download="{what}"]').click()
        message = self.browser.find_element(By.ID, 'files-message')
        end = time.monotonic() + 20
        while time.monotonic() < end:
            if message.get_attribute('hidden') is None:
                return None, message.text
            done = [n for n in os.listdir(self.downloads) if not n.endswith('.crdownload')]
            if done:
                with open(os.path.join(self.downloads, done[0]), 'rb') as f:
                    return f.read(), ''
            time.sleep(0.05)
        raise AssertionError(f'no download of {what}')


# The page's downloads and the command line that writes the same file (None: the report itself).
FILES = {
    'design': None,
    'table': ['--table'],
    'profile-svg': ['--profile', '.svg'],
    'profile-dxf': ['--profile', '.dxf'],
    'plot': ['--plot', '.svg'],
    'pitch': ['--pitch', '.dxf'],
    'polar': ['--polar', '.csv'],
    'toolpath': ['--toolpath', '.nc', '--cutter-radius', '5', '--tolerance', '0.001', '--feed', '100'],
}


def command_file(design_path, file_args, work):
    """What the command writes for a download: (bytes, '') or (None, its message)."""
    if file_args is None:
        return run('cam', '--design', design_path, '--json').stdout, ''
    out = os.path.join(work, 'native' + (file_args[1] if len(file_args) > 1 and file_args[1].startswith('.') else '.csv'))
    if os.path.exists(out):
        os.remove(out)
    result = run('cam', '--design', design_path, '--per-degree', '10', file_args[0], out,
                 *[a for a in file_args[1:] if not a.startswith('.')], check=False)
    if result.returncode != 0:
        assert not os.path.exists(out), f'{file_args[0]}: a refused file was written'
        return None, command_message(result)
    with open(out, 'rb') as f:
        return f.read(), ''


def check_design(page, name, design, how, work, help_text, running_keys, failures):
    obj = design_object(design, running_keys)
    design_path = os.path.join(work, 'design.json')
    with open(design_path, 'w') as f:
        json.dump(obj, f)
    native = json.loads(run('cam', '--design', design_path, '--json').stdout)
    problem = json_differences(json.loads(page.report_json()), native)
    checked = 1
    if problem:
        failures.append(f'{name} ({how}): #report-json: {problem}')
    for what, file_args in FILES.items():
        if file_args and file_args[0] + ' ' not in help_text:
            continue
        expected, expected_message = command_file(design_path, file_args, work)
        got, message = page.download(what)
        checked += 1
        if expected is None or got is None:
            if (got is None) != (expected is None) or message != expected_message:
                failures.append(f'{name} ({how}): {what}: page {message or "wrote it"!r} / command '
                                f'{expected_message or "wrote it"!r}')
        elif what == 'design':
            problem = json_differences(json.loads(got), json.loads(expected), 'design download')
            if problem or got.count(b'\n') != expected.count(b'\n'):
                failures.append(f'{name} ({how}): {problem or "the JSON is laid out differently"}')
        elif differences(got, expected):
            failures.append(f'{name} ({how}): {what}: {differences(got, expected)}')
    print(f'{name}, {how}: {checked} equality checks (report and downloads)')


# Refused fields: (design, the field's key, what is typed, the design's value): the page shows the command's
# message beside the field and keeps the cam. The oscillating arm's dynamics are refused by the command itself.
REFUSALS = [
    ('roller program with an undercut', 'base_radius', '-5', -5),
    ('oscillating roller', 'running.speed_rpm', '300', 300),
]


def check_refusal(page, failures, work, running_keys):
    for name, key, typed, value in REFUSALS:
        if key.startswith('running.') and not running_keys:
            continue
        address = base64.urlsafe_b64encode(json.dumps(design_object(DESIGNS[name], running_keys)).encode())
        page.open('#design=' + address.decode())
        report_before = page.report_json()
        profile_before = page.browser.find_element(By.ID, 'profile').get_attribute('innerHTML')
        sub = key.split('.')
        field = page.browser.find_element(
            By.CSS_SELECTOR, f'#design-form [data-key="{sub[-1]}"]' + ('[data-running]' if len(sub) > 1 else ''))
        page.type_into(field, typed)
        design = json.loads(report_before)['design']
        if len(sub) > 1:
            design['running'] = dict(design.get('running') or {}, **{sub[-1]: value})
        else:
            design[sub[-1]] = value
        path = os.path.join(work, 'refused.json')
        with open(path, 'w') as f:
            json.dump(design, f)
        result = run('cam', '--design', path, '--json', check=False)
        message = field.find_element(By.XPATH, '..').find_element(By.CLASS_NAME, 'refusal').text
        expected = command_message(result)
        if result.returncode != 2 or message != expected:
            failures.append(f'refusal of {key}: page {message!r} / command {expected!r} (status {result.returncode})')
        if (page.state() != 'refused' or page.report_json() != report_before
                or page.browser.find_element(By.ID, 'profile').get_attribute('innerHTML') != profile_before):
            failures.append(f'refusal of {key}: the cam on screen changed')
        if field.get_attribute('aria-invalid') != 'true':
            failures.append(f'refusal of {key}: the field is not marked')
        print(f'refused {key} = {typed}: {message}')


def time_changes(page, how, running_keys):
    """Change → redrawn over 100 changes of the base radius of the six-segment program with its dynamics, at 10
    points a degree, on the page's own clock."""
    page.open('#design=' + base64.urlsafe_b64encode(json.dumps(
        design_object(DESIGNS['roller program with an undercut'], running_keys)).encode()).decode())
    before = page.updates()
    for k in range(100):
        page.browser.execute_script(
            "const f = document.getElementById('base_radius'); f.value = arguments[0];"
            "f.dispatchEvent(new Event('change', {bubbles: true}));", str(40 + k % 7))
    times = page.browser.execute_script('return window.designer.updateTimes()')[before:]
    assert len(times) == 100, len(times)
    times.sort()
    print(f'change -> redrawn over 100 changes, {how}: median {statistics.median(times):.1f} ms, '
          f'p99 {times[98]:.1f} ms')


def main():
    help_text = run('cam', '--help').stdout.decode()
    running_keys = '--speed ' in help_text
    failures = []
    with tempfile.TemporaryDirectory() as work, chromium() as browser:
        downloads = os.path.join(work, 'downloads')
        os.mkdir(downloads)
        browser.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': downloads})
        page = Designer(browser, downloads)
        for name, design in DESIGNS.items():
            page.open()
            page.set_design(design, running_keys)
            check_design(page, name, design, 'form', work, help_text, running_keys, failures)
            address = base64.urlsafe_b64encode(json.dumps(design_object(design, running_keys)).encode())
            page.open('#design=' + address.decode().rstrip('='))
            check_design(page, name, design, 'address', work, help_text, running_keys, failures)
        page.open('#design=' + base64.urlsafe_b64encode(b'{"base_radius": "0x32"}').decode())
        default = json.loads(run('cam', 'cycloid', '--json').stdout)
        if json.loads(page.report_json())['design'] != default['design']:
            failures.append('a bad address does not leave the default cam')
        if not browser.find_element(By.ID, 'form-message').text:
            failures.append('a bad address shows no message')
        check_refusal(page, failures, work, running_keys)
        time_changes(page, 'GL compositing in SwiftShader', running_keys)
    # A browser on a machine without a GPU composites in software; SwiftShader's GL, which the tests enable for
    # WebGL, runs at a raised priority and takes CPU from the page on two cores.
    with chromium('--disable-gpu') as browser:
        time_changes(Designer(browser, None), 'software compositing', running_keys)
    if LOCATIONS_BEYOND:
        print(f'{len(LOCATIONS_BEYOND)} extremum places beyond {TOLERANCE:g} (within {LOCATION_TOLERANCE:g}): '
              + ', '.join(LOCATIONS_BEYOND))
    for failure in failures:
        print('FAIL', failure)
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
