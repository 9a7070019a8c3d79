"""Benchmark of the page (`make bench`): the folder's size, the first menu's time and key -> frame latency in
headless Chromium (SwiftShader), beside the desktop program's key -> frame on llvmpipe from the same run.
Usage: web_bench.py BUILD_WEB_FOLDER [CAMCURVES_BENCH]"""
import json
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'web'))
from chromium import chromium, file_url, wait_until  # noqa: E402
from page_session import PageSession  # noqa: E402

LOADS = 10
PRESSES = 200
MENU_END = 'どのカム曲線？　番号='


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[round(fraction * (len(ordered) - 1))]


def first_menu_times(browser, page_url):
    """ms from navigation start until the terminal has taken in the menu's last byte, once per fresh load."""
    times = []
    for _ in range(LOADS):
        page = PageSession(browser, page_url)
        page.wait_phase('console')
        wait_until(lambda: page.output().decode().endswith(MENU_END) and
                   browser.execute_script('return window.camcurves.outputTime()') > 0, what='the menu shown')
        times.append(browser.execute_script('return window.camcurves.outputTime()'))
    return times


def key_times(browser, page_url):
    """keyTimes() after PRESSES presses of 's' (start key 3), each sent once the previous one's frame is done."""
    page = PageSession(browser, page_url)
    page.type_console('3')
    page.wait_phase('window')
    canvas = browser.find_element('id', 'window')
    for i in range(PRESSES):
        frames = int(page.body('data-frames'))
        canvas.send_keys('s')
        wait_until(lambda: int(page.body('data-frames')) > frames, what='the frame of a key')
    return page.key_times()


def native_key_to_frame(bench):
    """Median and p99 (ms) of the desktop benchmark's key -> frame, run now on the same machine."""
    run = subprocess.run([bench, '--benchmark_filter=keyToFrame', '--benchmark_format=json'],
                         capture_output=True, text=True, check=True)
    report = json.loads(run.stdout[run.stdout.index('{'):])
    found = {entry['aggregate_name']: entry['real_time'] for entry in report['benchmarks']
             if entry.get('aggregate_name') in ('median', 'p99')}
    return found['median'], found['p99']


def main():
    folder = sys.argv[1]
    size = sum(os.path.getsize(os.path.join(folder, name)) for name in os.listdir(folder))
    print(f'{folder}/: {size} bytes in {len(os.listdir(folder))} files (goal <= 2,000,000)')
    page_url = file_url(os.path.join(folder, 'index.html'))
    with chromium() as browser:
        menus = first_menu_times(browser, page_url)
        print(f'first menu, navigation start -> last byte shown, {LOADS} loads: median {statistics.median(menus):.0f} ms,'
              f' slowest {max(menus):.0f} ms (goal <= 1000 ms)')
        keys = key_times(browser, page_url)
    print(f'page key "s" -> frame finished, {len(keys)} presses: median {statistics.median(keys):.1f} ms, '
          f'p99 {percentile(keys, 0.99):.1f} ms (aim p99 <= 16.7 ms)')
    if len(sys.argv) > 2:
        median, p99 = native_key_to_frame(sys.argv[2])
        print(f'desktop key "s" -> frame finished, same run: median {median:.1f} ms, p99 {p99:.1f} ms')


if __name__ == '__main__':
    main()
