#!/bin/sh
# The man page is clean man(7): groff, with every warning on, has nothing to say.
# Usage: man_page_test.sh PAGE. Exits 77 (skipped) without groff.
command -v groff >/dev/null || { echo "groff is not installed"; exit 77; }
complaints=$(groff -ww -z -man "$1" 2>&1) || { echo "$complaints"; exit 1; }
[ -z "$complaints" ] || { echo "$complaints"; exit 1; }
