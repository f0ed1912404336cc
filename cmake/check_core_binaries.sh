#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when one of the given programs loads a Qt library for widgets, charts, printing or
# painting (see CoreLinkCheck.cmake), or cannot be examined.
set -uo pipefail
status=0
for program in "$@"; do
    if ! libraries=$(ldd "$program" 2>&1); then
        echo "$program: $libraries" >&2
        status=1
        continue
    fi
    found=$(grep -Eo 'libQt6(Widgets|Charts|PrintSupport|Svg|Gui)\.so[.0-9]*' <<<"$libraries" | sort -u)
    if [ -n "$found" ]; then
        echo "$program loads" $found >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "$# programs of the rules load no widgets, charts or painting"
exit $status
