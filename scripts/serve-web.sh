#!/bin/sh
# Serves the web build (build-web/site, made by scripts/build-web.sh) on this machine:
# open http://localhost:8080/ (or the PORT given) in a browser. Any static server does as well.
set -eu
cd "$(dirname "$0")/.."
port="${1:-8080}"
if [ ! -f build-web/site/index.html ]; then
    echo "serve-web: build-web/site is not built yet: run scripts/build-web.sh" >&2
    exit 1
fi
echo "Lumcrest at http://localhost:$port/ (Ctrl+C ends the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
