#!/bin/sh
# Times a download of SIZE bytes (default 100 MB) over loopback through
# Hostkit's DownloadProgressDoModal (dialog shown, under Wine) against curl
# fetching the same file from the same server in the same run.
#
#   tests/http/benchmark_download.sh [build/win64] [SIZE]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
size=${2:-104857600}
command -v curl >/dev/null || { echo "benchmark_download: needs curl (apt-get install curl)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KX_BENCH_SIZE=$size KX_BENCH_WORK=$work KX_BENCH_EXE=$build/testbin/download_benchmark.exe
export KX_WINE_RUN=$root/scripts/wine-run
python3 "$here/loopback_server.py" run -- sh -c '
  url=http://127.0.0.1:$KX_HTTP_PORT/data/$KX_BENCH_SIZE/bench.q3d
  curl_out=$(curl -s -o "$KX_BENCH_WORK/curl.q3d" -w "%{time_total} %{size_download}" "$url")
  echo "curl $curl_out"
  "$KX_WINE_RUN" "$KX_BENCH_EXE" "$url" "Z:$(echo "$KX_BENCH_WORK" | tr / \\\\)" raw 2>/dev/null | tr -d "\r"
' | awk -v size="$size" '
  { seconds[$1] = $2; bytes[$1] = $3; print }
  END {
    for (k in seconds) if (bytes[k] != size) printf "warning: %s stored %s bytes, not %s\n", k, bytes[k], size
    c = size / seconds["curl"] / 1048576; e = size / seconds["export"] / 1048576
    printf "curl   %8.1f MB/s\nexport %8.1f MB/s\nratio  %8.3f (export / curl)\n", c, e, e / c
    if ("raw" in seconds) printf "raw WinInet loop %8.1f MB/s\n", size / seconds["raw"] / 1048576
  }'
