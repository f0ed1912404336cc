#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when one of the given programs loads a Qt library for widgets, charts, printing or
# painting (see LogicLinkCheck.cmake).
set -euo pipefail
status=0
for program in "$@"; do
    found=$(ldd "$program" | grep -Eo 'libQt6(Widgets|Charts|PrintSupport|Svg|Gui)\.so[.0-9]*' || true)
    if [ -n "$found" ]; then
        echo "$program loads $(echo $found | tr '\n' ' ')" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "$# programs of the rules load no widgets, charts or painting"
exit $status
