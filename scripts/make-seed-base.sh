#!/usr/bin/env bash
# Makes a Firebird database file from the schema with the embedded engine (no server).
# usage: make-seed-base.sh <schema.sql> <out.fdb>
set -euo pipefail
schema=$1
out=$2
tmp="$out.tmp.fdb"
rm -f "$tmp"
mkdir -p "$(dirname "$out")"
{
  echo "SET SQL DIALECT 3;"
  echo "CREATE DATABASE '$tmp' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1251;"
  cat "$schema"
  echo "COMMIT;"
} | isql-fb -q -b -ch WIN1251 -user SYSDBA
# The program sweeps its bases itself, on a closed copy; the engine never does it unasked.
gfix -user SYSDBA -housekeeping 0 "$tmp"
chmod 0644 "$tmp"
mv -f "$tmp" "$out"
