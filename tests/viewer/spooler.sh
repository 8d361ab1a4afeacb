#!/usr/bin/env bash
# A private CUPS spooler for the printing tests, with one PDF queue as its default:
#
#   spooler.sh start DIR FIRST_JOB   starts cupsd on the socket DIR/cups.sock, with job
#                                    numbers from FIRST_JOB; prints the socket's path
#   spooler.sh stop DIR              stops it and removes DIR
#
# It needs cupsd and the cups-pdf backend (Debian: cups, printer-driver-cups-pdf), and
# root, as the backend runs as root. The queue writes its PDFs where cups-pdf.conf says
# ("Out", by default ~/PDF of the user who prints). Nothing outside DIR is changed.
set -euo pipefail

command=${1:?start or stop}
dir=${2:?the folder of the spooler}

case "$command" in
start)
  first=${3:-1}
  [ "$(id -u)" -eq 0 ] || { echo "the cups-pdf backend runs only for root" >&2; exit 1; }
  command -v cupsd >/dev/null || { echo "cupsd is not installed" >&2; exit 1; }
  command -v lpadmin >/dev/null || { echo "lpadmin is not installed" >&2; exit 1; }
  [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "the cups-pdf backend is not installed" >&2; exit 1; }
  ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n1)
  [ -n "$ppd" ] || { echo "the cups-pdf PPD is not installed" >&2; exit 1; }
  rm -rf "$dir"
  mkdir -p "$dir"/{spool,cache,state,log,ppd,tmp}
  # Filters run as the lp user: they must reach the spool and the temporary folder.
  chmod 755 "$dir"
  chmod 1777 "$dir/tmp"
  cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
CONF
  cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
  printf '# Job cache file for CUPS\nNextJobId %s\n' "$first" >"$dir/cache/job.cache"
  cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"
  export CUPS_SERVER="$dir/cups.sock"
  for _ in $(seq 1 100); do
    [ -S "$dir/cups.sock" ] && lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! lpstat -r >/dev/null 2>&1; then
    echo "cupsd did not start:" >&2
    tail -n 5 "$dir/log/cupsd.out" >&2 || true
    kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true
    exit 1
  fi
  lpadmin -p VultariaPDF -v cups-pdf:/ -P "$ppd" -E 2>/dev/null
  lpadmin -d VultariaPDF
  echo "$dir/cups.sock"
  ;;
stop)
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: spooler.sh start DIR FIRST_JOB | stop DIR" >&2
  exit 2
  ;;
esac
