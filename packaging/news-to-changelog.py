#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

"""Writes the release notes of NEWS.md as the gzipped Debian changelog that a
native package carries (changelog.gz): one entry per "## VERSION (YYYY-MM-DD)"
section, its paragraphs and "- " items as items. "Unreleased" is left out.

Usage: news-to-changelog.py NEWS.md MAINTAINER OUTPUT.gz
"""
import datetime
import gzip
import re
import sys
import textwrap

RELEASE = re.compile(r"^## (\S+) \((\d{4}-\d{2}-\d{2})\)$")


def releases(lines):
    """Yields (version, date, items) for each release section."""
    release = None
    after_blank = True
    for line in lines:
        if line.startswith("## "):
            if release:
                yield release
            match = RELEASE.match(line)
            release = (match.group(1), match.group(2), []) if match else None
        elif release is not None and line.strip():
            if line.startswith("- ") or after_blank:
                release[2].append(line.removeprefix("- ").strip())
            else:
                release[2][-1] += " " + line.strip()
        after_blank = not line.strip()
    if release:
        yield release


def entry(package, maintainer, version, date, items):
    day = datetime.datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc)
    text = [f"{package} ({version}) unstable; urgency=medium", ""]
    for item in items:
        text += textwrap.wrap(item.replace("`", ""), width=78,
                              initial_indent="  * ", subsequent_indent="    ")
    text += ["", f" -- {maintainer}  {day.strftime('%a, %d %b %Y %H:%M:%S +0000')}", ""]
    return "\n".join(text)


def main():
    news, maintainer, output = sys.argv[1:]
    with open(news, encoding="utf-8") as file:
        lines = file.read().splitlines()
    text = "\n".join(entry("nesdrix", maintainer, *release) for release in releases(lines))
    if not text:
        sys.exit(f"{news}: no release section (## VERSION (YYYY-MM-DD))")
    with open(output, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as file:
        file.write(text.encode("utf-8"))


main()
