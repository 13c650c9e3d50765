#!/bin/sh
# Refreshes resources/zh_cn.ts from the sources. Run it after adding or changing a
# user-visible text, then translate the new entries (Qt Linguist, or by hand).
set -eu
cd "$(dirname "$0")/.."
lupdate -target-language zh_CN -no-obsolete -locations none app dialogs protocol -ts resources/zh_cn.ts
