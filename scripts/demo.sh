#!/usr/bin/env bash
# Installs what the project needs, builds it and synchronises the demo territory: a handheld
# with orders, cash, route work, a work protocol, payments, questionnaire answers and last week's
# reference data, and an exchange directory with the accounting system's new reference files and
# its answers database. Then a second agent's orders go out as dBase tables. Leaves everything
# under build/demo/ to look at.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZP_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"
bin=$PWD/build/release/bin

home=$PWD/build/demo/home
user="Агент 7"
rm -rf build/demo
mkdir -p "$home"
hotsync() { "$bin/hotsync" --home "$home" "$@"; }

hotsync register
hotsync users add "$user" --dir Agent7
exchange=$home/Agent7/Default
device=$home/Agent7/Device
mkdir -p "$exchange" "$device"
printf '[COMMON]\r\nEXCHANGEFILEFORMAT=TXT\r\n' >"$home/ZembraToPalm.ini"

# The demo's files are kept readable (UTF-8); the accounting system and the handheld tool
# speak Windows-1251.
for f in demo/exchange/*.txt; do
  iconv -f UTF-8 -t CP1251 "$f" >"$exchange/$(basename "$f")"
done
# Loads the demo's handheld databases whose names match $2 into the device directory $1.
load_handheld() {
  for f in demo/handheld/$2.txt; do
    db=$(basename "$f" .txt)
    iconv -f UTF-8 -t CP1251 "$f" >"build/demo/$db.txt"
    "$bin/handheld" load "$1" "$db" "build/demo/$db.txt"
  done
}
load_handheld "$device" '*'
sqlite3 "$exchange/answer.mdb" <demo/answers.sql

# A database as the handheld tool dumps it, in the terminal's encoding.
dump() {
  echo "-- $1"
  "$bin/handheld" dump "$device" "$1" | iconv -f CP1251 -t UTF-8 | tr -d '\r'
}
reference_databases=(Zembra_TypePaymentDB Zembra_CurrencyCursDB Zembra_Note1DB Zembra_CustomerDB
                     Zembra_ProductDB Zembra_CategoryDB Zembra_RouteDB Zembra_QuestDb Zembra_QuestItemDb)

echo "== the handheld before the synchronisation =="
"$bin/handheld" list "$device"
for db in Zembra_CustomerDB Zembra_CategoryDB Zembra_AnswerDb Zembra_QuestItemDb; do dump "$db"; done

echo "== synchronisation =="
hotsync sync --user "$user" --yes

echo "== HotSync log =="
hotsync log --user "$user"
echo "== exchange directory =="
ls -l "$exchange"
for f in Order.txt OrderItem.txt Cash.txt RouteOut.txt Protocol.txt PayByDoc.txt; do
  if [[ -f $exchange/$f ]]; then
    echo "-- $f"
    iconv -f CP1251 -t UTF-8 "$exchange/$f"
  fi
done
echo "== the handheld after the synchronisation =="
"$bin/handheld" list "$device"
for db in "${reference_databases[@]}"; do dump "$db"; done
echo "== the answers database after the synchronisation =="
sqlite3 -header "$exchange/answer.mdb" 'select * from Answer; select * from AnswerItem;'

echo "== a second agent whose orders go out as dBase tables (TXTINDBFOUT) =="
user2="Агент 8"
hotsync users add "$user2" --dir Agent8
exchange2=$home/Agent8/Default
device2=$home/Agent8/Device
mkdir -p "$exchange2" "$device2"
for f in demo/exchange/*.txt; do
  iconv -f UTF-8 -t CP1251 "$f" >"$exchange2/$(basename "$f")"
done
load_handheld "$device2" '*'
printf '[COMMON]\r\nEXCHANGEFILEFORMAT=TXTINDBFOUT\r\nODBCDRIVERNAME=Microsoft dBase Driver (*.dbf)\r\n' \
  >"$home/ZembraToPalm.ini"
hotsync sync --user "$user2" --yes
hotsync log --user "$user2"
ls -l "$exchange2"
for f in order.dbf orderitem.dbf orders.dbf; do
  echo "-- $f"
  /usr/bin/python3 - "$exchange2/$f" <<'PY'
import sys
from dbfread import DBF
table = DBF(sys.argv[1], encoding="cp1251")
print(";".join(table.field_names))
for row in table:
    print(";".join("" if v is None else str(v) for v in row.values()))
PY
done
