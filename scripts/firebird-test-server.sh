#!/usr/bin/env bash
# A private Firebird server for tests, listening on 127.0.0.1 only.
#
#   firebird-test-server.sh start <folder> <sysdba-password>   prints the port it listens on
#   firebird-test-server.sh stop <folder>
#
# The folder gets a copy of the Firebird root (configuration, messages, plugins, a real copy of
# intl/libfbintl.so), a copy of the security database with the SYSDBA password set, its own
# lock folder and the server's log and PID. Nothing of the system's Firebird is changed, and
# the system's server (if any) keeps running on its own port.
set -euo pipefail

server_binary() {
  for candidate in /usr/sbin/firebird /opt/firebird/bin/firebird; do
    [[ -x $candidate ]] && { echo "$candidate"; return 0; }
  done
  return 1
}

system_root() {
  local lib
  lib=$(dirname "$(find /usr/lib /opt/firebird -name 'libEngine12.so' -print -quit 2>/dev/null)")
  dirname "$lib"
}

system_security_db() {
  for candidate in /var/lib/firebird/3.0/system/security3.fdb /opt/firebird/security3.fdb; do
    [[ -f $candidate ]] && { echo "$candidate"; return 0; }
  done
  return 1
}

port_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start() {
  local folder=$1 password=$2
  local binary root system secdb port
  binary=$(server_binary) || { echo "no Firebird server installed" >&2; exit 2; }
  system=$(system_root)
  secdb=$(system_security_db) || { echo "no security database found" >&2; exit 2; }
  mkdir -p "$folder"
  folder=$(cd "$folder" && pwd)
  root=$folder/root
  rm -rf "$root" "$folder/lock"
  mkdir -p "$root/intl" "$root/plugins" "$root/lib" "$folder/lock" "$folder/tmp"

  # Links in the system root point at /etc; the server must read our copies.
  cp -L "$system/firebird.msg" "$root/"
  cp -L "$system/plugins.conf" "$root/"
  cp -L "$system"/plugins/*.so "$root/plugins/"
  cp -L "$system"/lib/* "$root/lib/" 2>/dev/null || true
  cp -L "$system/intl/libfbintl.so" "$root/intl/libfbintl.so"
  cp -L "$system/intl/fbintl.conf" "$root/intl/fbintl.conf"
  cp -L "$secdb" "$root/security3.fdb"
  chmod 0600 "$root/security3.fdb"

  port=$(( 40000 + RANDOM % 20000 ))
  while ! port_free "$port"; do port=$(( 40000 + RANDOM % 20000 )); done

  cat > "$root/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $root/security3.fdb
ServerMode = Super
AuthServer = Srp
AuthClient = Srp, Legacy_Auth
UserManager = Srp
WireCrypt = Enabled
CONF
  cat > "$root/databases.conf" <<CONF
security.db = $root/security3.fdb
CONF

  export FIREBIRD=$root FIREBIRD_LOCK=$folder/lock FIREBIRD_TMP=$folder/tmp
  # The password of SYSDBA, set with the embedded engine before the server runs.
  isql-fb -q -user SYSDBA "$root/security3.fdb" >"$folder/isql.log" 2>&1 <<SQL
CREATE OR ALTER USER SYSDBA PASSWORD '$password' USING PLUGIN Srp;
COMMIT;
SQL

  "$binary" >"$folder/server.log" 2>&1 &
  echo $! >"$folder/server.pid"
  echo "$port" >"$folder/port"
  for _ in $(seq 1 100); do
    if ! port_free "$port"; then
      echo "$port"
      return 0
    fi
    if ! kill -0 "$(cat "$folder/server.pid")" 2>/dev/null; then
      echo "the server stopped at once:" >&2
      cat "$folder/server.log" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo "the server does not listen on port $port" >&2
  stop "$folder"
  exit 1
}

stop() {
  local folder=$1 pid
  [[ -f $folder/server.pid ]] || return 0
  pid=$(cat "$folder/server.pid")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
  fi
  rm -f "$folder/server.pid"
}

case ${1:-} in
  start) start "${2:?folder}" "${3:?password}" ;;
  stop) stop "${2:?folder}" ;;
  available) server_binary >/dev/null ;;
  *) echo "usage: $0 start <folder> <password> | stop <folder> | available" >&2; exit 64 ;;
esac
