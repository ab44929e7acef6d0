#!/usr/bin/env bash
# Writes gnumeric-seller-sheet.xls with gnumeric's own XLS writer (apt-get install gnumeric):
#   tests/data/make_gnumeric_sheet.sh tests/data
set -euo pipefail
folder=${1:-.}
csv=$(mktemp --suffix=.csv)
trap 'rm -f "$csv"' EXIT
cat > "$csv" <<'CSV'
,Mária Šťastná,,,
,MS,!code!,,
,prinesie v sobotu ráno,!note!,,
,,,,
!number!,!name!,!price!,,
,,,,
1,Zimná bunda – veľkosť 140,12.5,,
2,Kočík,"45,90",,
3,Detské topánky č. 28,4,,
10,Crème de la crème,0.99,,
CSV
ssconvert -T Gnumeric_Excel:excel_biff8 "$csv" "$folder/gnumeric-seller-sheet.xls" 2>/dev/null
