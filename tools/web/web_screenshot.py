"""The README's picture of the page (`make screenshots`): build-web/index.html in headless Chromium after the start
key 4 and fifty presses of "s", the terminal beside the window. Usage: web_screenshot.py BUILD_WEB_FOLDER OUT.png"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'web'))
from chromium import chromium, file_url  # noqa: E402
from page_session import PageSession  # noqa: E402


def main():
    folder, out = sys.argv[1], sys.argv[2]
    with chromium('--window-size=1560,1010') as browser:
        page = PageSession(browser, file_url(os.path.join(folder, 'index.html')))
        page.type_console('4')
        page.press_window('s' * 50)
        page.settle()
        if not browser.save_screenshot(out):
            sys.exit(f'could not write {out}')
    print(f'wrote {out}')


if __name__ == '__main__':
    main()
