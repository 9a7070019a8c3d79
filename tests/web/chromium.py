"""Test support: Debian's headless Chromium under Selenium, offline, with WebGL on SwiftShader; pages from disk."""
import contextlib
import json
import pathlib
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

CHROMIUM = '/usr/bin/chromium'
# Passed explicitly, so that Selenium never looks for a driver of its own on the network.
CHROMEDRIVER = '/usr/bin/chromedriver'


def start_chromium(*extra_args):
    """A headless Chromium (tests run as root: no sandbox); extra_args e.g. '--disable-3d-apis'."""
    options = Options()
    options.binary_location = CHROMIUM
    for arg in ('--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                '--window-size=1700,1000', '--force-device-scale-factor=1', '--no-first-run',
                '--disable-background-networking', *extra_args):
        options.add_argument(arg)
    # The performance log carries the network events: what the page asked for.
    options.set_capability('goog:loggingPrefs', {'performance': 'ALL'})
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


@contextlib.contextmanager
def chromium(*extra_args):
    browser = start_chromium(*extra_args)
    try:
        yield browser
    finally:
        browser.quit()


def requested_urls(browser):
    """Every address the browser has asked for since the last call."""
    events = (json.loads(entry['message'])['message'] for entry in browser.get_log('performance'))
    return [event['params']['request']['url'] for event in events if event['method'] == 'Network.requestWillBeSent']


def file_url(path):
    """The file:// address of a page on disk."""
    return pathlib.Path(path).resolve().as_uri()


def wait_until(condition, timeout=20.0, what='condition'):
    """Polls condition() until it gives a true value, which it returns; AssertionError after timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f'timed out after {timeout} s waiting for {what}')
        time.sleep(0.01)
