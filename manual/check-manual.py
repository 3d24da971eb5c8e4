#!/usr/bin/env python3
"""Checks the manual: every link and picture of every page leads to a file (and anchor)
that exists, every picture has a text, and the English manual names every command of the
main window (the captions given to MakeAction in gui/TFBrowser.cpp).

usage: check-manual.py MANUAL_FOLDER SOURCE_ROOT"""

import html.parser
import os
import re
import sys
import urllib.parse


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links = []    # (attribute, value)
        self.ids = set()
        self.images_without_text = 0
        self.text = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("href", "src"):
            if name in attrs:
                self.links.append(attrs[name])
        if tag == "img" and not attrs.get("alt"):
            self.images_without_text += 1

    def handle_data(self, data):
        self.text.append(data)


def read_page(path):
    page = Page()
    with open(path, encoding="utf-8") as file:
        page.feed(file.read())
    return page


def main():
    manual, root = sys.argv[1], sys.argv[2]
    faults = []
    pages = {}
    for folder, _, names in os.walk(manual):
        for name in names:
            if name.endswith(".html"):
                path = os.path.normpath(os.path.join(folder, name))
                pages[path] = read_page(path)
    if not pages:
        faults.append(f"{manual}: no pages")
    for path, page in sorted(pages.items()):
        if page.images_without_text:
            faults.append(f"{path}: {page.images_without_text} picture(s) without alt text")
        for link in page.links:
            parts = urllib.parse.urlsplit(link)
            if parts.scheme or link.startswith("//"):
                continue
            target = path if not parts.path else os.path.normpath(
                os.path.join(os.path.dirname(path), urllib.parse.unquote(parts.path)))
            if not os.path.exists(target):
                faults.append(f"{path}: {link}: no such file")
            elif parts.fragment:
                target_page = pages.get(target)
                if target_page is None or parts.fragment not in target_page.ids:
                    faults.append(f"{path}: {link}: no such anchor")

    english = " ".join(" ".join(p.text) for path, p in pages.items()
                       if os.path.dirname(os.path.abspath(path)) == os.path.abspath(manual))
    english = re.sub(r"\s+", " ", english)
    with open(os.path.join(root, "gui", "WindowParts.cpp"), encoding="utf-8") as file:
        captions = re.findall(r'MakeAction\(\s*owner,\s*N_\("([^"]+)"\)', file.read())
    if not captions:
        faults.append("no command captions found in gui/WindowParts.cpp")
    for caption in captions:
        if caption.rstrip(".") not in english:
            faults.append(f"the manual does not name the command \"{caption}\"")

    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
