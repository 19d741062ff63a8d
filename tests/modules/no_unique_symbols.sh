#!/usr/bin/env bash
# A module with a GNU unique symbol (gcc makes one of a static inside some inline library code,
# std::to_string's digit table for one) is never unloaded: a panel reload would keep its module-wide
# state. Every built module must be free of them.
set -euo pipefail
status=0
for module in "$1"/*.gau; do
  if unique=$(readelf -Ws --wide "$module" | grep -w UNIQUE); then
    echo "$(basename "$module") holds unique symbols and cannot be unloaded:"
    echo "$unique" | c++filt
    status=1
  fi
done
exit $status
