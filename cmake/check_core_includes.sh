#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a file under the core folder includes a header of Qt's widget, painting, chart,
# printing or SVG modules, or names QWidget: the core library is the layer without widgets, and
# its folder says so. Usage: check_core_includes.sh CORE_FOLDER QT_MODULE_INCLUDE_FOLDER...
set -uo pipefail
core=$1
shift
# Every header those modules have, by its file name (QWidget, qpainter.h, ...).
declare -A forbidden
for folder in "$@"; do
    module=$(basename "$folder")
    forbidden[$module]=1
    for header in "$folder"/*; do
        forbidden[$(basename "$header")]=$module
    done
done
status=0
while IFS= read -r -d '' file; do
    while IFS=: read -r line include; do
        name=${include##*/}
        dir=${include%%/*}
        if [ -n "${forbidden[$name]:-}" ] || { [ "$dir" != "$include" ] && [ -n "${forbidden[$dir]:-}" ]; }; then
            echo "$file:$line: includes <$include>, a header with widgets or painting" >&2
            status=1
        fi
    done < <(grep -nE '^\s*#\s*include\s*<[^>]+>' "$file" | sed -E 's/^([0-9]+):\s*#\s*include\s*<([^>]+)>.*/\1:\2/')
    if named=$(grep -nw 'QWidget' "$file"); then
        echo "$file: names QWidget: $named" >&2
        status=1
    fi
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
[ $status -eq 0 ] && echo "no file under $core includes a widget or painting header"
exit $status
