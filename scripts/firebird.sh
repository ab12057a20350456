#!/usr/bin/env bash
# The Firebird 3 server the tests talk to, on 127.0.0.1 only. Installs the Debian packages when
# missing, configures the server, sets the SYSDBA password, and starts the server in the
# background with its PID file under the build folder. Safe to run again: a running server is
# left alone.
#   scripts/firebird.sh          install, configure and start
#   scripts/firebird.sh stop     stop the server this script started
# Environment: VEMBRA_BUILD_DIR (default build/), VEMBRA_FIREBIRD_PORT (default 3053),
# VEMBRA_SYSTEM_PASSWORD (default the build's default, masterke).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEMBRA_BUILD_DIR:-$here/build}"
port="${VEMBRA_FIREBIRD_PORT:-3053}"
password="${VEMBRA_SYSTEM_PASSWORD:-masterke}"
state="$build/firebird"
pidfile="$state/firebird.pid"
conf=/etc/firebird/3.0/firebird.conf
security=/var/lib/firebird/3.0/system/security3.fdb

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

# The server of the PID file is alive (a process on its way out counts as gone).
running() {
    [[ -f "$pidfile" ]] || return 1
    local pid state
    pid="$(cat "$pidfile")"
    [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" == firebird ]] || return 1
    state="$(awk '/^State:/ {print $2}' "/proc/$pid/status" 2>/dev/null)"
    [[ -n "$state" && "$state" != Z && "$state" != X ]]
}

stop_server() {
    if running; then
        local pid
        pid="$(cat "$pidfile")"
        "${sudo_cmd[@]}" kill "$pid"
        for _ in $(seq 1 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            "${sudo_cmd[@]}" kill -9 "$pid"
        fi
    fi
    rm -f "$pidfile"
}

if [[ "${1:-}" == "stop" ]]; then
    stop_server
    exit 0
fi

packages=(firebird3.0-server firebird3.0-utils firebird-dev)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    echo "firebird3.0-server shared/firebird/sysdba_password/first_install password $password" |
        "${sudo_cmd[@]}" debconf-set-selections
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        "${missing[@]}" >/dev/null
fi

if running; then
    exit 0
fi

# The server listens on the loopback address only, on our own port.
set_conf() {
    local key="$1" value="$2"
    if grep -qE "^[[:space:]]*$key[[:space:]]*=" "$conf"; then
        "${sudo_cmd[@]}" sed -i -E "s|^[[:space:]]*$key[[:space:]]*=.*|$key = $value|" "$conf"
    else
        echo "$key = $value" | "${sudo_cmd[@]}" tee -a "$conf" >/dev/null
    fi
}
set_conf RemoteBindAddress 127.0.0.1
set_conf RemoteServicePort "$port"

# The SYSDBA password goes in through the embedded engine, as the server's own user, while no
# server holds the security database.
printf "create or alter user SYSDBA password '%s' using plugin Srp;\ncommit;\n" "$password" |
    "${sudo_cmd[@]}" setpriv --reuid firebird --regid firebird --init-groups \
        /usr/bin/isql-fb -q -user SYSDBA "$security" >/dev/null

mkdir -p "$state"
# Test databases go here; the server's user must reach them.
mkdir -p "$state/data"
chmod 0777 "$state/data"
"${sudo_cmd[@]}" setsid setpriv --reuid firebird --regid firebird --init-groups \
    /usr/sbin/firebird </dev/null >"$state/server.log" 2>&1 &
pid=$!
# Through sudo the server is sudo's child; its own PID is the one to stop.
if ((${#sudo_cmd[@]})); then
    for _ in $(seq 1 50); do
        child="$(pgrep -P "$pid" -x firebird || true)"
        if [[ -n "$child" ]]; then
            pid="$child"
            break
        fi
        sleep 0.1
    done
fi
echo "$pid" >"$pidfile"

for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "Firebird listening on 127.0.0.1:$port (PID $(cat "$pidfile"))"
        exit 0
    fi
    if ! running; then
        break
    fi
    sleep 0.1
done
echo "Firebird did not start; see $state/server.log" >&2
stop_server
exit 1
