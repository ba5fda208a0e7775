#!/bin/sh
# Lines over the network, on 127.0.0.1, run by hand after a build:
#   bench/network_bench.sh [BUILD]
# 1. one full read-out through a libmodbus Modbus TCP server, beside a
#    libmodbus master sending the same requests to the same server;
# 2. one read-out through rbx14-sim in each kind (--tcp, --mbtcp);
# 3. 60 simulated devices on six lines at once against the same 60 on one.
set -eu
build=${1:-build}
bin=$build/bin
work=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null; rm -rf "$work"' EXIT INT TERM

cc -O2 -o "$work/master" "$(dirname "$0")/libmodbus_master.c" $(pkg-config --cflags --libs libmodbus)

"$build/tests/libmodbus_server" > "$work/server" & pids="$pids $!"
sleep 0.5
port=$(awk '{print $2}' "$work/server")
"$bin/rbx14-cli" read --port "mbtcp://127.0.0.1:$port" --address 1 -o "$work/a.txt" --language en --trace \
  2> "$work/trace"
grep ' read in ' "$work/trace" | sed 's/^/rbx14-cli through mbtcp:\/\/ to libmodbus: /'
# The requests as the gateway gets them: address and PDU, without the CRC.
grep -- ' -> ' "$work/trace" | sed 's/.* -> //; s/  \[.*//; s/ //g; s/....$//' > "$work/requests"
"$work/master" 127.0.0.1 "$port" < "$work/requests"

for kind in tcp mbtcp; do
  "$bin/rbx14-sim" --$kind 0 --baud 57600 > "$work/$kind" & pids="$pids $!"
  sleep 0.5
  "$bin/rbx14-cli" read --port "$(cat "$work/$kind")" --address 1 -o "$work/$kind.txt" --language en 2>&1 |
    grep ' read in ' | sed "s/^/rbx14-sim --$kind (57600 baud behind it): /"
done

lines=""
for n in 1 2 3 4 5 6; do
  "$bin/rbx14-sim" --tcp 0 --baud 57600 --address 1-10 > "$work/line$n" & pids="$pids $!"
done
"$bin/rbx14-sim" --tcp 0 --baud 57600 --address 1-60 > "$work/one" & pids="$pids $!"
sleep 0.5
for n in 1 2 3 4 5 6; do lines="$lines --port $(cat "$work/line$n") --address 1-10"; done
start=$(date +%s%N)
# shellcheck disable=SC2086
"$bin/rbx14-cli" read $lines -q -o "$work/six{line}_{address}.txt" > /dev/null
six=$(( ($(date +%s%N) - start) / 1000000 ))
start=$(date +%s%N)
"$bin/rbx14-cli" read --port "$(cat "$work/one")" --address 1-60 -q -o "$work/one{address}.txt" > /dev/null
one=$(( ($(date +%s%N) - start) / 1000000 ))
echo "60 devices: six lines at once ${six} ms, one line ${one} ms"
