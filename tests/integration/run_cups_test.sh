#!/usr/bin/env bash
# Runs the CUPS integration test program ($1) against a private CUPS server: a D-Bus bus,
# an IPP printer and cupsd, each started here on free localhost ports, with two queues
# added by lpadmin (driverless, and from a PPD whose model is "TEVRA Proof 44"). Installs
# nothing. When a part cannot start, the program runs anyway and reports every test
# skipped with the reason. Every process started here is stopped by its pid.
set -u
program=$1
deadline=$((SECONDS + 90))
tmp=$(mktemp -d /tmp/vx-cups.XXXXXX) || exit 1
chmod 755 "$tmp"
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  [ -n "${VX_KEEP:-}" ] || rm -rf "$tmp"
}
trap cleanup EXIT

skip() {
  echo "cups_integration: skipped: $1"
  [ -f "$tmp/cups/log/error_log" ] && tail -n 20 "$tmp/cups/log/error_log"
  VX_CUPS_SKIP="$1" "$program"
  exit $?
}

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Sets the variable named $1 to a localhost port that nothing listens on.
pick_port() {
  local p
  for _ in $(seq 50); do
    p=$((20000 + RANDOM % 40000))
    if ! port_in_use "$p" && [[ " $taken " != *" $p "* ]]; then
      taken="$taken $p"
      printf -v "$1" '%s' "$p"
      return 0
    fi
  done
  return 1
}
taken=""

# Waits until the test succeeds, at most $1 seconds and never past the deadline.
wait_for() {
  local limit=$((SECONDS + $1)); shift
  while ! "$@"; do
    [ $SECONDS -ge $limit ] || [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# Waits until the process $1 listens on port $2; fails at once when it has ended.
wait_listening() {
  local pid=$1 port=$2
  wait_for 10 eval "! kill -0 $pid 2>/dev/null || port_in_use $port" && kill -0 "$pid" 2>/dev/null
}

for tool in cupsd lpadmin ippeveprinter dbus-daemon; do
  command -v "$tool" >/dev/null || PATH=$PATH:/usr/sbin:/sbin command -v "$tool" >/dev/null ||
    skip "$tool is not installed"
done
export PATH=$PATH:/usr/sbin:/sbin

pick_port cups_port && pick_port printer_port && pick_port closed_port || skip "no free localhost port"

# A private system bus: ippeveprinter ends with "Unable to initialize DNS-SD." without one.
dbus-daemon --session --address="unix:path=$tmp/bus" --nofork --nopidfile >"$tmp/dbus.log" 2>&1 &
pids+=($!)
wait_for 5 test -S "$tmp/bus" || skip "dbus-daemon did not start"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$tmp/bus"

mkdir -p "$tmp/printer"
ippeveprinter -M TEVRA -m "Proof 44" -r off -k -f application/pdf -d "$tmp/printer" \
  -p "$printer_port" "TEVRA Proof 44" >"$tmp/printer.log" 2>&1 &
pids+=($!)
wait_listening "${pids[-1]}" "$printer_port" || { cat "$tmp/printer.log"; skip "ippeveprinter did not start"; }
device_uri="ipp://127.0.0.1:$printer_port/ipp/print"

# cupsd run as root refuses "User root": it runs its helpers as lp, which must read here.
if [ "$(id -u)" -eq 0 ]; then user=lp; group=lp; else user=$(id -un); group=$(id -gn); fi
c=$tmp/cups
mkdir -p "$c/log" "$c/spool/tmp" "$c/cache" "$c/state" "$c/ppd"
cat >"$c/cups-files.conf" <<CONF
ServerRoot $c
RequestRoot $c/spool
TempDir $c/spool/tmp
CacheDir $c/cache
StateDir $c/state
AccessLog $c/log/access_log
ErrorLog $c/log/error_log
PageLog $c/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User $user
Group $group
CONF
cat >"$c/cupsd.conf" <<CONF
LogLevel warn
Listen 127.0.0.1:$cups_port
Browsing Off
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow from 127.0.0.1
  </Limit>
</Policy>
CONF
[ "$(id -u)" -eq 0 ] && chown -R root:"$group" "$c" 2>/dev/null
chmod -R go+rX "$c"
cupsd -f -c "$c/cupsd.conf" -s "$c/cups-files.conf" >"$tmp/cupsd.log" 2>&1 &
pids+=($!)
# The last test stops this cupsd itself, to send a job to a server that has gone.
cupsd_pid=$!
wait_listening "${pids[-1]}" "$cups_port" || { cat "$tmp/cupsd.log"; skip "cupsd did not start"; }
export CUPS_SERVER="127.0.0.1:$cups_port"

admin() { timeout 30 lpadmin "$@" >>"$tmp/lpadmin.log" 2>&1; }
admin -p vx_driverless -v "$device_uri" -m everywhere -E ||
  { cat "$tmp/lpadmin.log"; skip "lpadmin could not add the driverless queue"; }
# cupsd writes the generated PPD after lpadmin has returned.
wait_for 10 test -s "$c/ppd/vx_driverless.ppd"
sed -e 's/^\*ModelName:.*/*ModelName: "TEVRA Proof 44"/' \
    -e 's/^\*NickName:.*/*NickName: "TEVRA Proof 44"/' "$c/ppd/vx_driverless.ppd" >"$tmp/tevra.ppd" ||
  skip "the driverless queue has no PPD"
admin -p vx_ppd -v "$device_uri" -P "$tmp/tevra.ppd" -E && admin -d vx_ppd ||
  { cat "$tmp/lpadmin.log"; skip "lpadmin could not add the PPD queue"; }

unset LPDEST PRINTER
HOME=$tmp/home VX_CUPS_PPD_QUEUE=vx_ppd VX_CUPS_DRIVERLESS_QUEUE=vx_driverless \
  VX_CUPS_DEVICE_URI="$device_uri" VX_CUPS_CLOSED_PORT="$closed_port" \
  VX_CUPS_PRINTER_FOLDER="$tmp/printer" VX_CUPSD_PID="$cupsd_pid" \
  timeout $((deadline - SECONDS + 30)) "$program"
