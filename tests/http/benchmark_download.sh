#!/bin/sh
# Times a download of SIZE bytes (default 100 MB) over loopback through
# Hostkit's DownloadProgressDoModal (automatic start, the dialog shown and
# repainting, under Wine) against curl fetching the same file from the same
# server in the same run, RUNS times in turn (default 3); prints each run and
# the median ratio. Run by hand, not by ctest; needs curl.
#
#   tests/http/benchmark_download.sh [build/win64] [SIZE] [RUNS]
#
# KX_BENCH_RAW=1 also times bare WinInet loops in the same program (1024-byte
# reads, and reads of what has arrived), to tell WinInet's own cost.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
size=${2:-104857600}
runs=${3:-3}
command -v curl >/dev/null || { echo "benchmark_download: needs curl (apt-get install curl)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KX_BENCH_SIZE=$size KX_BENCH_WORK=$work KX_BENCH_RUNS=$runs
export KX_BENCH_EXE=$build/testbin/download_benchmark.exe KX_WINE_RUN=$root/scripts/wine-run
[ "${KX_BENCH_RAW:-0}" = 1 ] && export KX_BENCH_EXTRA=raw || export KX_BENCH_EXTRA=
python3 "$here/loopback_server.py" run -- sh -c '
  url=http://127.0.0.1:$KX_HTTP_PORT/data/$KX_BENCH_SIZE/bench.q3d
  folder="Z:$(echo "$KX_BENCH_WORK" | tr / \\\\)"
  i=0
  while [ $i -lt "$KX_BENCH_RUNS" ]; do
    echo "curl $(curl -s -o "$KX_BENCH_WORK/curl.q3d" -w "%{time_total} %{size_download}" "$url")"
    "$KX_WINE_RUN" "$KX_BENCH_EXE" "$url" "$folder" $KX_BENCH_EXTRA 2>/dev/null | tr -d "\r"
    rm -f "$KX_BENCH_WORK"/*.q3d
    i=$((i + 1))
  done
' | awk -v size="$size" '
  function mbs(s) { return size / s / 1048576 }
  $3 != size { printf "warning: %s stored %s bytes, not %s\n", $1, $3, size }
  $1 == "curl" { c = $2 }
  $1 == "raw" || $1 == "available" { printf "        %-9s %7.1f MB/s\n", $1, mbs($2) }
  $1 == "export" {
    n++; r[n] = c / $2
    printf "run %d  curl %7.1f MB/s  export %7.1f MB/s  ratio %.3f\n", n, mbs(c), mbs($2), r[n]
  }
  END {
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (r[j] < r[i]) { t = r[i]; r[i] = r[j]; r[j] = t }
    if (n) printf "median ratio (export / curl) %.3f over %d runs\n", r[int((n + 1) / 2)], n
  }'
