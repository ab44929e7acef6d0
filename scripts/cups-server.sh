# A throwaway CUPS scheduler with one PDF printer for the receipt printing tests, sourced by
# the test command:
#   source scripts/cups-server.sh
#   cups_server_start
#   trap cups_server_stop EXIT
# It runs as root (cupsd and the cups-pdf backend need it) from a folder of its own, listens
# only on a socket in that folder and exports CUPS_SERVER for the clients, so the machine's
# own CUPS and its printers stay untouched. The printer KRAMO_TEST_CUPS_PRINTER keeps every
# job as a PDF in KRAMO_TEST_CUPS_OUTPUT (cups-pdf writes to the submitting user's ~/PDF, as
# its one configuration file /etc/cups/cups-pdf.conf says); the tests remove what they print.

cups_dir=
cups_pid=

cups_server_start() {
  # The printing tests then fail and say why, as the full-disk tests do for another user.
  if [[ $(id -u) -ne 0 ]]; then
    echo "cups-server.sh: the CUPS test server needs root; not started" >&2
    return 0
  fi
  cups_dir=$(mktemp -d /tmp/kramo-cups.XXXXXX)
  chmod 755 "$cups_dir"
  mkdir -p "$cups_dir"/{spool/tmp,cache,state,log,ppd}
  chown -R lp:lp "$cups_dir/spool" "$cups_dir/cache"

  cat >"$cups_dir/cupsd.conf" <<EOF
Listen $cups_dir/cups.sock
WebInterface No
Browsing No
LogLevel warn
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$cups_dir/cups-files.conf" <<EOF
ServerRoot $cups_dir
RequestRoot $cups_dir/spool
TempDir $cups_dir/spool/tmp
CacheDir $cups_dir/cache
StateDir $cups_dir/state
AccessLog $cups_dir/log/access_log
ErrorLog $cups_dir/log/error_log
PageLog $cups_dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
EOF

  /usr/sbin/cupsd -f -c "$cups_dir/cupsd.conf" -s "$cups_dir/cups-files.conf" \
    >"$cups_dir/log/cupsd.out" 2>&1 &
  cups_pid=$!
  local tries=0
  until [[ -S $cups_dir/cups.sock ]]; do
    if ((++tries > 100)) || ! kill -0 "$cups_pid" 2>/dev/null; then
      echo "cups-server.sh: cupsd did not start:" >&2
      cat "$cups_dir/log/cupsd.out" "$cups_dir/log/error_log" >&2 2>/dev/null
      cups_server_stop
      return 1
    fi
    sleep 0.05
  done

  export CUPS_SERVER=$cups_dir/cups.sock
  export KRAMO_TEST_CUPS_PRINTER=KramoPDF
  export KRAMO_TEST_CUPS_OUTPUT
  KRAMO_TEST_CUPS_OUTPUT="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
  /usr/sbin/lpadmin -h "$CUPS_SERVER" -p "$KRAMO_TEST_CUPS_PRINTER" -E -v cups-pdf:/ \
    -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
}

cups_server_stop() {
  if [[ -n $cups_pid ]]; then
    kill "$cups_pid" 2>/dev/null || true
    wait "$cups_pid" 2>/dev/null || true
    cups_pid=
  fi
  if [[ -n $cups_dir ]]; then
    rm -rf "$cups_dir"
    cups_dir=
  fi
  unset CUPS_SERVER KRAMO_TEST_CUPS_PRINTER KRAMO_TEST_CUPS_OUTPUT
}
